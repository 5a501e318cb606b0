#!/usr/bin/python3
"""The board's arm64 gui_tessel end to end: run under qemu-aarch64-static as
a client of the native headless weston (Wayland is a Unix socket, and the
shared-memory buffers work across the emulator), on the simulated board
whose scripts stay native.

It maps; its start screen is pixel-identical to the native build's under the
same compositor; a tap opens the test screen; Run all by touch shows every
verdict. Environment (CTest sets it): TESSEL_ARM64_APP (the arm64 binary,
skipped while it is not built), TESSEL_APP (the native one), BOARD_RENDER,
SIMBOARD_RUN, TESSEL_E2E_WESTON_FIXTURE."""

import os
import shutil
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(REPO, "tests", "board"))
import harness  # noqa: E402
from harness import mismatch  # noqa: E402
import e2e_runall  # noqa: E402

TITLE = "GUI Tessel"
GOLDEN = os.path.join(REPO, "tests", "app", "reference")
START_TAP = (640, 400)
DEVICE_TREE_LABEL = (810, 150, 1090, 180)


def steady_start_screen(s, golden, timeout):
    """The start screen once the intro has ended: the golden's, twice in a row."""
    last = [None]

    def steady(im):
        if mismatch(im, golden) is not None:
            last[0] = None
            return False
        same = last[0] is not None and mismatch(im, last[0], tol=0) is None
        last[0] = im
        if not same:
            time.sleep(0.3)
        return same
    return s.wait_for(steady, timeout=timeout, interval=0.05, what="the start screen after the intro")


class Arm64(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.arm64 = os.environ.get("TESSEL_ARM64_APP", "")
        if not os.path.isfile(cls.arm64):
            raise unittest.SkipTest("arm64 build not found: %r (tools/test.sh arm64 makes it)" % cls.arm64)
        cls.qemu = shutil.which("qemu-aarch64-static")
        if not cls.qemu:
            raise unittest.SkipTest("qemu-aarch64-static not installed")
        missing = harness.missing_tools("weston")
        if missing:
            raise unittest.SkipTest("not installed: " + ", ".join(missing))
        cls.native = os.environ.get("TESSEL_APP", "")
        for path in (cls.native, os.environ.get("BOARD_RENDER", "")):
            if not os.access(path, os.X_OK):
                raise unittest.SkipTest("%r not built" % path)
        cls.golden_start = harness.load_png(os.path.join(GOLDEN, "start.png"))
        cls.golden_test = harness.load_png(os.path.join(GOLDEN, "test_progrem.png"))

    def test_arm64_build_under_the_emulator(self):
        with harness.Session(compositor="weston", shell="kiosk") as s:
            # the native build's start screen, for comparison
            native = s.start_app(self.native, name="native")
            s.wait_window(TITLE)
            native_start = steady_start_screen(s, self.golden_start, 10.0)
            s.save(native_start, "native-start")
            s.close_window(TITLE)
            self.assertEqual(native.wait(5.0), 0, native.output())

            t0 = time.monotonic()
            p = s.start_app(e2e_runall.SIMBOARD_RUN,
                            ["-s", "healthy", "-b", s.dir, "--", "bash", "-c",
                             '/.simboard/lib/sb-scenario workdir . && exec "$0" "$1"', self.qemu, self.arm64],
                            env={"TESSEL_WAYLAND_STATS": "1"}, name="arm64")
            win = s.wait_window(TITLE, timeout=30.0)
            mapped = time.monotonic() - t0
            self.assertEqual(win["rect"], {"x": 0, "y": 0, "width": 1280, "height": 800})
            img = steady_start_screen(s, self.golden_start, 30.0)
            s.save(img, "arm64-start")
            self.assertIsNone(mismatch(img, native_start, tol=0), "arm64 start screen differs from the native one")

            s.touch_tap(*START_TAP)
            s.wait_for(lambda im: mismatch(im, self.golden_test, ignore=[DEVICE_TREE_LABEL]) is None,
                       timeout=10.0, interval=0.1, what="test screen")

            ref, labels, button = e2e_runall.render(e2e_runall.OK_VERDICTS, os.path.join(s.shots, "ok.png"))
            t1 = time.monotonic()
            s.touch_tap(*button)
            img = s.wait_for(lambda im: all(e2e_runall.region_matches(im, ref, b) for b in labels.values()),
                             timeout=150.0, interval=0.5, what="every result label ok")
            s.save(img, "arm64-run-all")
            with open(os.path.join(s.work, "zorazu_zove")) as f:
                self.assertEqual(f.read().splitlines(), e2e_runall.OK_VERDICTS)
            print("arm64 under qemu: window mapped %.1f s after the start, Run all shown %.1f s after the tap"
                  % (mapped, time.monotonic() - t1))
            s.close_window(TITLE)
            self.assertEqual(p.wait(10.0), 0, p.output()[-2000:])


if __name__ == "__main__":
    harness.main()
