#!/usr/bin/python3
"""gui_tessel itself under headless sway: the window, the start screen, the
tap that opens the test screen (after its 200 ms delay, not before), closing,
and starting without a compositor.

The binary comes from TESSEL_APP (CTest sets it); the cases skip while it has
not been built. Colour checks use tolerances: the compositor expands the
app's RGB565 pixels to 8 bits per channel."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import fraction, hexrgb, is_white, near, region_mean, rgb  # noqa: E402

TITLE = "GUI Tessel"
START_TAP = (640, 400)            # middle of the start picture (its button covers 140..1139 x 59..739)
PICTURE = (140, 50, 1140, 750)    # the start animation's area
MARGIN = (0, 300, 130, 700)       # left of the picture: display background on the start screen
STRIP = (0, 300, 40, 400)         # grim region (x, y, w, h) left of the test screen's panels
DELAY = 0.2                       # the start button's screen-load delay

# test screen: horizontal background gradient, panel borders
BG_LEFT, BG_RIGHT = hexrgb(0x90F0F8), hexrgb(0x88CCE8)
LEFT_PANEL_BORDER = ((47, 620), hexrgb(0xA8CCE8))
RIGHT_PANEL_BORDER = ((671, 420), hexrgb(0xC8C8F8))
# the background picture lies over the gradient at 30/255, so allow for it
BG_TOL = 40
BORDER_TOL = 24


def app_path():
    return os.environ.get("TESSEL_APP") or os.path.join(
        os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))), "build", "gui_tessel")


def start_screen_drawn(img):
    """The start picture has content and the margin beside it is plain white."""
    return (fraction(img, PICTURE, lambda p: not is_white(p), step=4) > 0.02
            and fraction(img, MARGIN, is_white, step=4) > 0.98)


def strip_is_test_background(img):
    """On a grim capture of STRIP: light blue, not the start screen's white."""
    r, g, b = region_mean(img, (0, 0, img.width, img.height))
    return near((r, g, b), BG_LEFT, BG_TOL) and b - r > 40


def test_screen_drawn(img):
    left = region_mean(img, (2, 300, 40, 700))
    right = region_mean(img, (1256, 300, 1276, 600))
    return (near(left, BG_LEFT, BG_TOL) and near(right, BG_RIGHT, BG_TOL)
            and left[1] >= right[1]  # green falls from left to right
            and near(rgb(img, *LEFT_PANEL_BORDER[0]), LEFT_PANEL_BORDER[1], BORDER_TOL)
            and near(rgb(img, *RIGHT_PANEL_BORDER[0]), RIGHT_PANEL_BORDER[1], BORDER_TOL))


class App(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.app = app_path()
        if not os.access(cls.app, os.X_OK):
            raise unittest.SkipTest("application not built yet: %s" % cls.app)

    def need_sway(self):
        missing = harness.missing_tools()
        if missing:
            self.skipTest("not installed: " + ", ".join(missing))

    def launch(self, s, args=()):
        p = s.start_app(self.app, args, name="gui_tessel")
        node = s.wait_window(TITLE, timeout=5.0)
        return p, node

    def test_window_and_start_screen(self):
        self.need_sway()
        with harness.Session() as s:
            p, node = self.launch(s)
            self.assertEqual(node["rect"], {"x": 0, "y": 0, "width": 1280, "height": 800})
            self.assertEqual(len(s.find_windows(TITLE)), 1)
            shown = time.monotonic()
            img = s.wait_for(start_screen_drawn, timeout=5.0, what="start picture")
            # the intro runs 660 ms; afterwards the last frame stays
            time.sleep(max(0.0, shown + 1.0 - time.monotonic()))
            img = s.screenshot(os.path.join(s.dir, "start.png"))
            self.assertTrue(start_screen_drawn(img), "start picture gone after the intro")
            self.assertFalse(test_screen_drawn(img))
            self.assertIsNone(p.poll(), p.output())

    def test_arguments_are_ignored(self):
        self.need_sway()
        with harness.Session() as s:
            p, node = self.launch(s, ["--help", "-x", "whatever"])
            s.wait_for(start_screen_drawn, timeout=5.0, what="start picture")
            s.close_window(TITLE)
            self.assertEqual(p.wait(1.0), 0, p.output())

    def test_tap_opens_test_screen_after_delay(self):
        self.need_sway()
        with harness.Session() as s:
            p, _ = self.launch(s)
            s.wait_for(start_screen_drawn, timeout=5.0, what="start picture")
            time.sleep(1.0)  # let the intro finish

            t_release = s.tap(*START_TAP, park=False)
            # The click counts on release; the switch cannot come earlier than
            # DELAY after it. Captures finished before then must show the start
            # screen (a small margin covers clock reading around the grab).
            early = []
            while time.monotonic() < t_release + DELAY - 0.03:
                img = s.screenshot(region=STRIP)
                done = time.monotonic() - t_release
                if done < DELAY - 0.01:
                    early.append((round(done, 3), strip_is_test_background(img)))
            self.assertTrue(early, "no capture within %.0f ms of the release" % (DELAY * 1000))
            self.assertEqual([e for e in early if e[1]], [],
                             "test screen before its delay: %s" % early)

            s.park()
            img = s.wait_for(test_screen_drawn, timeout=3.0, what="test screen")
            seen = time.monotonic() - t_release
            s.save(img, "test-screen")
            self.assertGreaterEqual(seen, DELAY)
            self.assertLess(seen, 2.0)

            # the loaded test screen sets up its status file and log directory
            status = os.path.join(s.work, "zorazu_zove")
            harness.wait_until(lambda: os.path.exists(status), 3.0, what="zorazu_zove")
            harness.wait_until(lambda: os.path.isdir(os.path.join(s.work, "Log")), 3.0, what="Log/")
            harness.wait_until(lambda: len(open(status).read().splitlines()) == 15, 2.0,
                               what="15 status lines")
            for line in open(status).read().splitlines():
                self.assertTrue(line.endswith("not yet"), line)

            # closing works on the test screen as well
            s.close_window(TITLE)
            self.assertEqual(p.wait(1.0), 0, p.output())

    def test_close_ends_process_with_status_0(self):
        self.need_sway()
        with harness.Session() as s:
            p, _ = self.launch(s)
            s.wait_for(start_screen_drawn, timeout=5.0, what="start picture")
            t0 = time.monotonic()
            s.close_window(TITLE)
            rc = p.wait(1.0)
            self.assertIsNotNone(rc, "still running 1 s after close")
            self.assertEqual(rc, 0, p.output())
            self.assertLess(p.ended - t0, 1.0)
            self.assertEqual(s.find_windows(TITLE), [])

    def test_no_compositor_exits_non_zero(self):
        rc, out, elapsed = harness.run_without_compositor(self.app, timeout=5.0)
        self.assertIsNotNone(rc, "still running after 5 s without a compositor")
        self.assertNotEqual(rc, 0, out)
        self.assertLess(elapsed, 1.0)
        self.assertIn("WAYLAND_DISPLAY", out)


if __name__ == "__main__":
    harness.main()
