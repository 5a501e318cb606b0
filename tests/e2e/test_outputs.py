#!/usr/bin/python3
"""gui_tessel on outputs that are not 1280x800, under headless sway.

The window keeps its 1280x800 picture on any output: sway floats it (the
window tells its fixed size as min = max), so it sits centred with sway's
plain background around it; on a scaled output every picture pixel is one
output pixel, and taps land on the same picture pixel. Each case compares
the window's pixels with the reference pictures (tests/app/reference), taps
through to the test screen and the audio setup screen, and checks the
background around the window. Board tools the screens call are recording
stand-ins."""

import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import harness  # noqa: E402
from harness import mismatch  # noqa: E402

TITLE = "GUI Tessel"
GOLDEN = os.path.join(os.path.dirname(HERE), "app", "reference")
START_TAP = (640, 400)
GEAR_TAP = (1178, 287)            # the test screen's setup button, right of any 960 px
DEVICE_TREE_LABEL = (810, 150, 1090, 180)  # names the machine's device tree: differs from the golden


def app_path():
    return os.environ.get("TESSEL_APP") or os.path.join(os.path.dirname(os.path.dirname(HERE)),
                                                        "build", "gui_tessel")


def uniform_outside(img, rect):
    """Colours of the output outside the window rectangle (x, y, w, h), sampled."""
    x0, y0, w, h = rect
    colours = set()
    for y in range(0, img.height, 7):
        for x in range(0, img.width, 7):
            parked_cursor = x >= img.width - 4 and y >= img.height - 4
            if not (x0 <= x < x0 + w and y0 <= y < y0 + h) and not parked_cursor:
                colours.add(img.getpixel((x, y)))
    return colours


class Outputs(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.app = app_path()
        if not os.access(cls.app, os.X_OK):
            raise unittest.SkipTest("application not built yet: %s" % cls.app)
        if os.environ.get("TESSEL_LVGL") == "system":
            raise unittest.SkipTest(
                "these outputs need sway, and lv_drivers 8.3 draws only into its one buffer once the "
                "compositor has released it: sway's pixman renderer keeps the buffer it shows, so the "
                "window keeps its first frame")
        missing = harness.missing_tools()
        if missing:
            raise unittest.SkipTest("not installed: " + ", ".join(missing))
        cls.golden = {n: harness.load_png(os.path.join(GOLDEN, n + ".png"))
                      for n in ("start", "test_progrem", "setup_screen")}

    def screen_at(self, s, origin, name, ignore=(), timeout=5.0):
        ref = self.golden[name]
        img = s.wait_for(lambda im: mismatch(im, ref, origin, ignore) is None, timeout=timeout,
                         what="%s screen at %s" % (name, origin))
        s.save(img, name)
        return img

    def run_on(self, width, height, scale=1):
        with harness.Session(width, height, scale=scale) as s:
            env = s.fake_tools({"amixer": "", "aplay": "", "reboot": ""})
            p = s.start_app(self.app, env=env, name="gui_tessel")
            node = s.wait_window(TITLE, timeout=5.0)
            self.assertEqual(node["type"], "floating_con", "sway tiled the fixed-size window")
            rect = (node["rect"]["x"], node["rect"]["y"], node["rect"]["width"], node["rect"]["height"])
            self.assertEqual(rect, ((width - 1280) // 2, (height - 800) // 2, 1280, 800))
            ox, oy = rect[:2]

            time.sleep(1.0)  # the intro
            img = self.screen_at(s, (ox, oy), "start")
            around = uniform_outside(img, rect)
            self.assertEqual(len(around), 1, "stray pixels around the window: %s" % sorted(around)[:8])

            s.tap(ox + START_TAP[0], oy + START_TAP[1])
            self.screen_at(s, (ox, oy), "test_progrem", ignore=[DEVICE_TREE_LABEL])
            s.tap(ox + GEAR_TAP[0], oy + GEAR_TAP[1])
            img = self.screen_at(s, (ox, oy), "setup_screen")
            self.assertEqual(uniform_outside(img, rect), around, "the background changed around the window")

            s.close_window(TITLE)
            self.assertEqual(p.wait(2.0), 0, p.output())

    def test_1920x1080(self):
        self.run_on(1920, 1080)

    def test_1920x1080_at_scale_2(self):
        # 960x540 units: the picture goes out at buffer scale 2, 1:1 in output pixels
        self.run_on(1920, 1080, scale=2)

    def test_smaller_output_keeps_the_picture_and_the_program(self):
        # 1024x600: the window keeps 1280x800; sway shows what fits, and the
        # program goes on drawing and taking taps on the visible part.
        with harness.Session(1024, 600) as s:
            p = s.start_app(self.app, name="gui_tessel")
            node = s.wait_window(TITLE, timeout=5.0)
            self.assertEqual((node["rect"]["width"], node["rect"]["height"]), (1280, 800))
            ox, oy = node["rect"]["x"], node["rect"]["y"]
            time.sleep(1.0)
            # the part of the start screen on the output is the golden's
            vis = (max(0, -ox), max(0, -oy), min(1280, 1024 - ox), min(800, 600 - oy))
            ref = self.golden["start"].crop(vis)
            at = (ox + vis[0], oy + vis[1])
            s.wait_for(lambda im: mismatch(im, ref, at) is None, timeout=5.0, what="visible start screen")
            s.tap(ox + START_TAP[0], oy + START_TAP[1])
            ref = self.golden["test_progrem"].crop(vis)
            ignore = [(DEVICE_TREE_LABEL[0] - vis[0], DEVICE_TREE_LABEL[1] - vis[1],
                       DEVICE_TREE_LABEL[2] - vis[0], DEVICE_TREE_LABEL[3] - vis[1])]
            s.wait_for(lambda im: mismatch(im, ref, at, ignore) is None, timeout=5.0,
                       what="visible test screen")
            self.assertIsNone(p.poll(), p.output())
            s.close_window(TITLE)
            self.assertEqual(p.wait(2.0), 0, p.output())


if __name__ == "__main__":
    harness.main()
