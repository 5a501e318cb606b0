#!/usr/bin/python3
"""End to end on the healthy simulated board: the real gui_tessel under a
headless sway, its scripts on the simulated board; a tap on "All_TEST" turns
every result label to its "ok" verdict.

The labels are compared with a headless drawing of the test screen for the
same status file (board_render, same fonts and library), so the check is
"this text is drawn there" without OCR. Environment (CTest sets it):
TESSEL_APP, TESSEL_E2E_VPOINTER, BOARD_RENDER, SIMBOARD_RUN, TESSEL_E2E_DIR
(tests/e2e, for harness.py). Exit status 77 when something is missing."""

import os
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.environ.get("TESSEL_E2E_DIR") or os.path.join(REPO, "tests", "e2e"))
try:
    import harness  # noqa: E402
    from PIL import Image  # noqa: E402
except ImportError as e:  # pragma: no cover
    print("skipped: %s" % e)
    sys.exit(77)

TITLE = "GUI Tessel"
START_TAP = (640, 400)
SIMBOARD_RUN = os.environ.get("SIMBOARD_RUN") or os.path.join(REPO, "tests", "simboard", "simboard-run")
OK_VERDICTS = ["I2C Test ok", "GPIO Key Test ok", "UART7 Test ok", "SPI3 Master Test ok",
               "SPI3 Slave Test ok", "ADC Test ok", "USB1 Test ok", "USB2 Test ok", "PL2303 Test ok",
               "MIPI-DSI Test ok", "LVDS Test ok", "Audio Default Sgtl5000 ok", "Audio MQS ok",
               "CSI Test ok", "RTC Test ok"]
TOL = 12  # RGB565 widened to 8 bits by two different routes


def render(status_lines, png):
    """Headless drawing of the test screen for these status lines."""
    work = tempfile.mkdtemp(prefix="board-render-")
    with open(os.path.join(work, "zorazu_zove"), "w") as f:
        f.write("".join(l + "\n" for l in status_lines))
    r = subprocess.run([SIMBOARD_RUN, "-b", os.path.dirname(png), "--", os.environ["BOARD_RENDER"], png],
                       cwd=work, capture_output=True, text=True, timeout=60)
    subprocess.run(["rm", "-rf", work])
    if r.returncode != 0:
        raise RuntimeError("board_render failed: %s" % r.stderr)
    with open(png + ".txt", "w") as f:
        f.write(r.stdout)
    labels, button = {}, None
    for line in r.stdout.splitlines():
        w = line.split()
        if w[:1] == ["label"]:
            labels[int(w[1])] = tuple(int(v) for v in w[2:6])
        elif w[:2] == ["button", "all"]:
            button = (int(w[2]), int(w[3]))
    with Image.open(png) as im:
        return im.convert("RGB"), labels, button


def render_layout(status_lines, png):
    """As render, and the centres of every button and of the roller."""
    img, labels, _ = render(status_lines, png)
    return img, labels, widget_centres(png + ".txt")


def widget_centres(path):
    centres = {}
    with open(path) as f:
        for line in f:
            w = line.split()
            if w[:1] == ["button"]:
                centres[w[1]] = (int(w[2]), int(w[3]))
            elif w[:1] == ["roller"]:
                centres["roller"] = (int(w[1]), int(w[2]))
    return centres


def region_matches(shot, ref, box):
    x1, y1, x2, y2 = box
    for y in range(y1, y2 + 1):
        for x in range(x1, x2 + 1):
            a, b = shot.getpixel((x, y)), ref.getpixel((x, y))
            if max(abs(a[i] - b[i]) for i in range(3)) > TOL:
                return False
    return True


def skip_unless_ready(case):
    """Skips the case when a tool or a built binary it needs is missing."""
    missing = harness.missing_tools()
    if missing:
        case.skipTest("not installed: " + ", ".join(missing))
    for var in ("TESSEL_APP", "BOARD_RENDER"):
        if not os.access(os.environ.get(var, ""), os.X_OK):
            case.skipTest("%s not built" % var)


class RunAllOnHealthyBoard(unittest.TestCase):
    def setUp(self):
        skip_unless_ready(self)

    def test_all_test_turns_every_label_ok(self):
        app = os.environ["TESSEL_APP"]
        with harness.Session() as s:
            ref_ok, labels, button = render(OK_VERDICTS, os.path.join(s.shots, "reference-ok.png"))
            self.assertEqual(len(labels), 15)
            self.assertIsNotNone(button)

            p = s.start_app(SIMBOARD_RUN,
                            ["-s", "healthy", "-b", s.dir, "--", "bash", "-c",
                             '/.simboard/lib/sb-scenario workdir . && exec "$0"', app],
                            name="gui_tessel")
            s.wait_window(TITLE, timeout=10.0)
            time.sleep(1.5)  # the intro animation
            s.tap(*START_TAP)
            status = os.path.join(s.work, "zorazu_zove")
            harness.wait_until(lambda: os.path.exists(status), 5.0, what="zorazu_zove")

            # A first visit: the labels keep the screen's own texts.
            time.sleep(1.0)
            before = s.screenshot()
            s.save(before, "before")
            for line, box in labels.items():
                self.assertFalse(region_matches(before, ref_ok, box), "label %d already ok" % line)

            t0 = time.monotonic()
            s.tap(*button)
            img = s.wait_for(lambda im: all(region_matches(im, ref_ok, b) for b in labels.values()),
                             timeout=90.0, interval=0.25, what="every result label ok")
            s.save(img, "after-run-all")
            elapsed = time.monotonic() - t0
            with open(status) as f:
                self.assertEqual(f.read().splitlines(), OK_VERDICTS)
            print("Run all on the healthy simulated board: labels ok %.1f s after the tap" % elapsed)

            s.close_window(TITLE)
            self.assertEqual(p.wait(5.0), 0, p.output())


if __name__ == "__main__":
    result = unittest.main(exit=False, verbosity=2).result
    if result.skipped and not result.failures and not result.errors and result.testsRun == len(result.skipped):
        sys.exit(77)
    sys.exit(0 if result.wasSuccessful() else 1)
