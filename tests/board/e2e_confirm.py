#!/usr/bin/python3
"""The confirmation mode end to end: gui_tessel with TESSEL_CONFIRM=1 under
headless weston (kiosk-shell) on the healthy simulated board, by touch: one
Run all whose dialogs get the right blink and tone counts, "None", a wrong
count and no answer at all; and a blink cut by SIGKILL, undone by the
restarted program. The counts come from the board's call log (the player's
file, the backlight's writes); the buttons' places from board_render
--confirm. Environment as for e2e_touch.py; exit status 77 when something
is missing."""

import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.environ.get("TESSEL_E2E_DIR") or os.path.join(REPO, "tests", "e2e"))
sys.path.insert(0, HERE)
try:
    import harness  # noqa: E402
    from harness import near, rgb  # noqa: E402
    import e2e_runall  # noqa: E402
    import e2e_touch  # noqa: E402
except ImportError as e:  # pragma: no cover
    print("skipped: %s" % e)
    sys.exit(77)

TITLE = "GUI Tessel"
SIMBOARD_RUN = e2e_runall.SIMBOARD_RUN
CAMERA_JPEG = os.path.join(REPO, "tests", "simboard", "fakes", "camera.jpg")
BLUE = (33, 150, 243)  # an answer button that takes taps
LIMIT_S = 60


def dialog_buttons(line, png):
    """Where the dialog of a status line puts its buttons: {caption: (x, y)}."""
    work = tempfile.mkdtemp(prefix="board-confirm-")
    try:
        shutil.copy(CAMERA_JPEG, os.path.join(work, "test.jpg"))
        r = subprocess.run([SIMBOARD_RUN, "-b", os.path.dirname(png), "--", "bash", "-c",
                            '/.simboard/lib/sb-scenario workdir . && exec "$0" "$@"',
                            os.environ["BOARD_RENDER"], "--confirm", str(line), png],
                           cwd=work, capture_output=True, text=True, timeout=60)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if r.returncode != 0:
        raise RuntimeError("board_render --confirm %d failed: %s" % (line, r.stderr))
    return {w[1]: (int(w[2]), int(w[3])) for w in (l.split() for l in r.stdout.splitlines()) if w[:1] == ["answer"]}


class ConfirmOnBoard(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = harness.missing_tools("weston")
        if missing:
            raise unittest.SkipTest("not installed: " + ", ".join(missing))
        for var in ("TESSEL_APP", "BOARD_RENDER"):
            if not os.access(os.environ.get(var, ""), os.X_OK):
                raise unittest.SkipTest("%s not built" % var)
        cls.app = os.environ["TESSEL_APP"]

    def start(self, s, command, mode={"TESSEL_CONFIRM": "1"}):
        """gui_tessel with the mode on, on the simulated board; `command` runs it."""
        p = s.start_app(SIMBOARD_RUN, ["-s", "healthy", "-b", s.dir, "--", "bash", "-c",
                                       "/.simboard/lib/sb-scenario workdir . && " + command, self.app],
                        env=dict(mode, SIMBOARD_STATE_PARENT=s.dir), name="gui_tessel")
        s.wait_window(TITLE, timeout=10.0)
        self.status = os.path.join(s.work, "zorazu_zove")
        self.data = harness.wait_until(
            lambda: ([os.path.join(s.dir, d, "data") for d in os.listdir(s.dir) if d.startswith("simboard.")]
                     or [None])[0], 5.0, what="the board's state directory")
        return p

    def open_test_screen(self, s):
        time.sleep(1.2)  # the intro
        s.touch_tap(*e2e_touch.START_TAP)
        harness.wait_until(lambda: self.line(1) is not None, 5.0, what="the status file")
        time.sleep(0.5)

    def line(self, n):
        try:
            with open(self.status) as f:
                return f.read().splitlines()[n - 1]
        except (OSError, IndexError):
            return None

    def calls(self, tool):
        try:
            with open(os.path.join(self.data, "calls.log")) as f:
                return [l.split("\t", 1)[1] for l in f.read().splitlines() if l.startswith(tool + "\t")]
        except OSError:
            return []

    def zero_writes(self, backlight):
        return sum(1 for c in self.calls("brightness") if c == backlight + " 0")

    def challenge(self, n):
        """The n-th tone challenge played: (its output, its count), or None."""
        played = [c for c in self.calls("aplay") if "Confirm_" in c]
        return (played[n].split()[1], int(played[n].split("Confirm_")[1][0])) if len(played) > n else None

    def answer(self, s, first, line, started, choose):
        """Once the line's challenge has begun (`started`: the last dialog may
        have looked the same) and its dialog takes answers (`first` turns
        blue), taps the button `choose()` gives."""
        harness.wait_until(started, 30.0, interval=0.05, what="the challenge of line %d" % line)
        s.wait_for(lambda im: near(rgb(im, first[0] - 35, first[1]), BLUE, 40), timeout=30.0, interval=0.1,
                   what="the dialog of line %d taking answers" % line)
        time.sleep(0.3)  # the fake backlight notes the last write
        s.touch_tap(*choose())
        harness.wait_until(lambda: self.line(line) != "not yet", 10.0, what="line %d's verdict" % line)

    def test_run_all_answered_by_touch(self):
        if os.environ.get("TESSEL_LVGL") == "system":
            self.skipTest("lv_drivers 8.3 drops a refresh that comes while the compositor still holds its one "
                          "buffer: the camera's dialog, opened just after the tones dialog's last frame, "
                          "stays undrawn while it waits for its answer")
        with harness.Session(compositor="weston", shell="kiosk") as s:
            blinks = dialog_buttons(10, os.path.join(s.shots, "dialog-backlight.png"))
            tones = dialog_buttons(12, os.path.join(s.shots, "dialog-tones.png"))
            picture = dialog_buttons(14, os.path.join(s.shots, "dialog-camera.png"))
            self.assertEqual([sorted(b) for b in (blinks, tones, picture)],
                             [["1", "2", "3", "None"], ["1", "2", "3", "4", "None"], ["No", "Yes"]])
            expected = list(e2e_runall.OK_VERDICTS)
            expected[10] = "LVDS Test Failed (not seen)"
            expected[12] = "Audio MQS Failed (not heard)"
            expected[13] = "CSI Test failed (no answer)"
            ref, labels, all_button = e2e_runall.render(expected, os.path.join(s.shots, "reference.png"))

            p = self.start(s, 'exec "$0"')
            self.open_test_screen(s)
            s.touch_tap(*all_button)

            # the blinks the backlight saw, "None", the tones played, a wrong count
            self.answer(s, blinks["1"], 10, lambda: self.zero_writes("dsi_backlight"),
                        lambda: blinks[str(self.zero_writes("dsi_backlight"))])
            seen = self.zero_writes("dsi_backlight")
            self.answer(s, blinks["1"], 11, lambda: self.zero_writes("lvds_backlight"), lambda: blinks["None"])
            self.answer(s, tones["1"], 12, lambda: self.challenge(0), lambda: tones[str(self.challenge(0)[1])])
            self.answer(s, tones["1"], 13, lambda: self.challenge(1),
                        lambda: tones[str(self.challenge(1)[1] % 4 + 1)])
            self.assertEqual([self.challenge(0)[0], self.challenge(1)[0]], ["plughw:1,0", "plughw:0,0"])
            heard, wrong = self.challenge(0)[1], self.challenge(1)[1] % 4 + 1
            for backlight in ("dsi_backlight", "lvds_backlight"):  # each back to its value
                self.assertEqual([c for c in self.calls("brightness") if c.startswith(backlight)][-1],
                                 backlight + " 100")
            # the camera: nobody answers
            harness.wait_until(lambda: self.calls("gst-launch-1.0"), 30.0, what="the capture")
            s.wait_for(lambda im: near(rgb(im, picture["Yes"][0] - 35, picture["Yes"][1]), BLUE, 40),
                       timeout=30.0, interval=0.1, what="the camera's dialog")
            asked = time.monotonic()
            harness.wait_until(lambda: self.line(14) != "not yet", LIMIT_S + 15, interval=0.2,
                               what="the camera's limit")
            waited = time.monotonic() - asked
            self.assertEqual(self.line(14), expected[13])
            self.assertGreater(waited, LIMIT_S - 2)

            img = s.wait_for(lambda im: all(e2e_runall.region_matches(im, ref, b) for b in labels.values()),
                             timeout=20.0, interval=0.25, what="the verdicts on screen")
            s.save(img, "run-all-confirmed")
            with open(self.status) as f:
                self.assertEqual(f.read().splitlines(), expected)
            record = os.path.join(s.work, "Log", "record")
            r = subprocess.run(["/usr/bin/python3", os.path.join(REPO, "tests", "record", "check_record.py"),
                                os.path.join(REPO, "docs", "record.schema.json"), record + ".json", record + ".xml"],
                               capture_output=True, text=True, timeout=60)
            self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
            with open(record + ".json") as f:
                tests = {t["line"]: t for t in json.load(f)["tests"]}
            answers = {n: (tests[n]["confirmation"]["answer"], tests[n]["confirmation"]["outcome"])
                       for n in range(10, 15)}
            self.assertEqual(answers, {10: (str(seen), "passed"), 11: ("None", "failed"),
                                       12: (str(heard), "passed"), 13: (str(wrong), "failed"),
                                       14: (None, "failed")})
            self.assertEqual(tests[10]["confirmation"]["challenge"], "%d blink%s" % (seen, "s"[:seen - 1]))
            self.assertGreaterEqual(tests[14]["confirmation"]["seconds"], LIMIT_S)
            self.assertEqual(tests[14]["outcome"], "failed")
            self.assertNotIn("confirmation", tests[1])
            s.close_window(TITLE)
            self.assertEqual(p.wait(5.0), 0, p.output()[-2000:])

    def test_a_blink_cut_by_sigkill_is_undone_at_the_next_start(self):
        with harness.Session(compositor="weston", shell="kiosk") as s:
            _, _, centres = e2e_runall.render_layout(["not yet"] * 15, os.path.join(s.shots, "layout.png"))
            # a restart as the service has it: the program again when it ends;
            # the mode set by the configuration file this time
            config = os.path.join(s.dir, "gui-tessel.conf")
            with open(config, "w") as f:
                f.write("# the operator confirms\nconfirm = on\n")
            p = self.start(s, '"$0"; exec "$0"', {"TESSEL_CONFIG": config})
            self.open_test_screen(s)
            s.touch_tap(*centres["dsi"])
            harness.wait_until(lambda: self.zero_writes("dsi_backlight") >= 1, 20.0, what="the backlight off")
            app = [pid for pid in e2e_touch.TouchOnBoard.descendants(p.pid)
                   if os.path.basename(os.readlink("/proc/%d/exe" % pid)) == "gui_tessel"]
            self.assertEqual(len(app), 1)
            os.kill(app[0], signal.SIGKILL)
            writes = len(self.calls("brightness"))
            self.assertEqual(self.calls("brightness")[-1], "dsi_backlight 0")
            note = os.path.join(s.work, "backlight.restore")
            self.assertTrue(os.path.exists(note))
            harness.wait_until(lambda: not os.path.exists(note), 20.0, what="the restarted program's restore")
            harness.wait_until(lambda: len(self.calls("brightness")) > writes, 5.0, what="the restoring write")
            self.assertEqual(self.calls("brightness")[writes:], ["dsi_backlight 100"])
            # the unconfirmed "ok" did not outlive the kill
            self.assertEqual(self.line(10), "not yet")
            s.wait_window(TITLE, timeout=10.0)
            s.close_window(TITLE)
            self.assertEqual(p.wait(5.0), 0, p.output()[-2000:])


if __name__ == "__main__":
    harness.main()
