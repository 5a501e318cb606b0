#!/usr/bin/python3
"""weston, the board's compositor, as a second real compositor: headless
backend, pixman renderer, run as nobody, with our fixture module
(tests/e2e/weston) for touch, pointer and screenshots.

Fixture: touch points, several ids, cancel, the pointer and the PNG
writer, checked against the backend's stand-in client (it reports every
press and release with its position and paints a mark there).

The whole screen: gui_tessel fills the 1280x800 output under desktop-shell
(its panel hidden) and under kiosk-shell; its screens are the headless
goldens pixel for pixel over the whole output (desktop-shell's panel would
push the window 32 px down and its bottom rows off the screen), and taps by
touch land where they should."""

import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import harness  # noqa: E402
from harness import hexrgb, mismatch, rgb  # noqa: E402

TITLE = "GUI Tessel"
GOLDEN = os.path.join(os.path.dirname(HERE), "app", "reference")
START_TAP = (640, 400)
GEAR_TAP = (1178, 287)
BACK_TAP = (217, 567)        # the setup screen's Back button
DEVICE_TREE_LABEL = (810, 150, 1090, 180)
# result labels: a second visit shows the status file's verdicts there
RESULT_LABELS = [(250, 250, 620, 730), (880, 250, 1110, 690)]
PROBE_TITLE = "Backend Probe"


def app_path():
    return os.environ.get("TESSEL_APP") or os.path.join(os.path.dirname(os.path.dirname(HERE)),
                                                        "build", "gui_tessel")


def widened(value):
    r, g, b = hexrgb(value)
    return ((r >> 3 << 3) | (r >> 5), (g >> 2 << 2) | (g >> 6), (b >> 3 << 3) | (b >> 5))


PROBE_BG = widened(0x2060C0)
PROBE_PRESSED = widened(0xC03020)
PROBE_RELEASED = widened(0x20A040)


def need_weston(test):
    missing = harness.missing_tools("weston")
    if missing:
        test.skipTest("not installed: " + ", ".join(missing))


class Fixture(unittest.TestCase):
    """The fixture module itself, against the backend's stand-in client."""

    def setUp(self):
        need_weston(self)
        self.client = os.environ.get("LV_DRIVERS_FAKE_CLIENT")
        if not self.client or not os.access(self.client, os.X_OK):
            self.skipTest("LV_DRIVERS_FAKE_CLIENT not built")

    def reported(self, p, lines, timeout=2.0):
        harness.wait_until(lambda: all(l in p.stdout().splitlines() for l in lines), timeout,
                           what="%s reported" % lines)
        return [l for l in p.stdout().splitlines() if l.startswith(("touch-", "press", "release"))]

    def test_touch_pointer_and_screenshots(self):
        with harness.Session(compositor="weston", shell="kiosk") as s:
            p = s.start_app(self.client, name="probe")
            win = s.wait_window(PROBE_TITLE)
            self.assertEqual(win["rect"], {"x": 0, "y": 0, "width": 1280, "height": 800})
            img = s.wait_for(lambda im: rgb(im, 0, 0) == PROBE_BG and rgb(im, 1279, 799) == PROBE_BG,
                             timeout=3.0, what="probe picture")
            self.assertEqual(img.size, (1280, 800))
            self.assertEqual(img.getcolors(4), [(1280 * 800, PROBE_BG)])

            # a finger: down, slide, up, each its own frame
            s.touch_down(300, 200)
            s.wait_for(lambda im: rgb(im, 300, 200) == PROBE_PRESSED and rgb(im, 300 - 21, 200) == PROBE_BG,
                       timeout=2.0, what="pressed mark under the finger")
            s.touch_motion(310, 215)
            s.touch_up()
            self.assertEqual(self.reported(p, ["touch-release 310 215"]),
                             ["touch-press 300 200", "touch-release 310 215"])
            s.wait_for(lambda im: rgb(im, 310, 215) == PROBE_RELEASED, timeout=2.0, what="released mark")

            # a second finger while the first is down is not a second press,
            # and down + up within one frame still counts
            s.touch_down(500, 500, touch_id=1)
            s.touch_down(900, 100, touch_id=2)
            s.touch_up(touch_id=2)
            s.touch_up(touch_id=1)
            s.touch_down(700, 600, touch_id=3, frame=False)
            s.touch_up(touch_id=3, frame=False)
            s.touch_frame()
            self.assertEqual(self.reported(p, ["touch-release 700 600"])[2:],
                             ["touch-press 500 500", "touch-release 500 500",
                              "touch-press 700 600", "touch-release 700 600"])

            # cancel: the finger is taken away; the backend releases where it
            # was and has the core forget the press (no click), only then
            self.assertNotIn("indev-reset", p.stdout().splitlines())
            s.touch_down(100, 700)
            s.touch_cancel()
            out = self.reported(p, ["touch-release 100 700", "indev-reset"])
            self.assertEqual(out[-2:], ["touch-press 100 700", "touch-release 100 700"])
            self.assertEqual(p.stdout().splitlines().count("indev-reset"), 1)
            # a new touch after the cancel is an ordinary one
            s.touch_tap(150, 650)
            self.assertEqual(self.reported(p, ["touch-release 150 650"])[-2:],
                             ["touch-press 150 650", "touch-release 150 650"])

            # the pointer goes through the same seat
            s.tap(1000, 300)
            self.assertEqual(self.reported(p, ["release 1000 300"])[-2:], ["press 1000 300", "release 1000 300"])

            # PNG and region
            path = os.path.join(s.dir, "probe.png")
            png = s.screenshot(path)
            self.assertTrue(os.path.getsize(path) > 0)
            self.assertEqual(rgb(harness.load_png(path), 1000, 300), PROBE_RELEASED)
            self.assertEqual(rgb(png, 640, 400), PROBE_BG)
            part = s.screenshot(region=(990, 290, 20, 20))
            self.assertEqual(part.size, (20, 20))
            self.assertEqual(part.getcolors(2), [(400, PROBE_RELEASED)])

            s.close_window(PROBE_TITLE)
            self.assertEqual(p.wait(2.0), 0, p.output())

    def test_touch_without_weston_skips(self):
        with harness.Session(compositor="sway") as s:
            with self.assertRaises(unittest.SkipTest):
                s.touch_down(10, 10)


class WholeScreen(unittest.TestCase):
    """gui_tessel on a 1280x800 weston output: the whole UI, whatever the shell."""

    @classmethod
    def setUpClass(cls):
        cls.app = app_path()
        if not os.access(cls.app, os.X_OK):
            raise unittest.SkipTest("application not built yet: %s" % cls.app)
        cls.golden = {n: harness.load_png(os.path.join(GOLDEN, n + ".png"))
                      for n in ("start", "test_progrem", "setup_screen")}

    def setUp(self):
        need_weston(self)

    def screen(self, s, name, ignore=()):
        ref = self.golden[name]
        img = s.wait_for(lambda im: mismatch(im, ref, (0, 0), ignore) is None, timeout=5.0,
                         interval=0.05, what="%s screen over the whole output" % name)
        s.save(img, name)
        return img

    def run_shell(self, shell):
        with harness.Session(compositor="weston", shell=shell) as s:
            env = s.fake_tools({"amixer": "", "aplay": "", "reboot": ""})
            p = s.start_app(self.app, env=env, name="gui_tessel")
            win = s.wait_window(TITLE, timeout=5.0)
            self.assertEqual(win["rect"], {"x": 0, "y": 0, "width": 1280, "height": 800})
            time.sleep(1.0)  # the intro
            self.screen(s, "start")
            s.touch_tap(*START_TAP)
            self.screen(s, "test_progrem", ignore=[DEVICE_TREE_LABEL])
            s.touch_tap(*GEAR_TAP)
            self.screen(s, "setup_screen")
            s.touch_tap(*BACK_TAP)
            self.screen(s, "test_progrem", ignore=[DEVICE_TREE_LABEL] + RESULT_LABELS)
            self.assertEqual(len(s.find_windows(TITLE)), 1)
            s.close_window(TITLE)
            self.assertEqual(p.wait(2.0), 0, p.output())

    def test_desktop_shell(self):
        # weston's default shell: the window asks for fullscreen on the
        # 1280x800 output, which puts it above the shell's 32 px panel
        self.run_shell("desktop")

    def test_kiosk_shell(self):
        self.run_shell("kiosk")


if __name__ == "__main__":
    harness.main()
