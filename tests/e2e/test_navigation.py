#!/usr/bin/python3
"""gui_tessel's screens and navigation under headless sway: the setup screen
and Back, the reboot question and No, navigation clicks during a screen load
(dropped), the device-tree roller and the headphone slider.

The board tools the handlers run through the shell are stand-ins put first in
the application's PATH: amixer and reboot only record their arguments (a stray
tap on "Yes" must not restart this machine), dmesg reports a default board so
the device-tree label starts as "qb-vexo.dtb", and cp records its arguments and
then runs the real cp (the boot partition does not exist here, so it fails on
stderr and changes nothing).

A screen load makes the target the active screen, taking input, once its
delay has passed, but the display keeps showing the old screen until the load
has ended (delay + 200 ms). Seeing a new screen therefore means its load is
over and the next navigation click counts. Timing checks use lower bounds that
hold either way."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import test_app  # noqa: E402
from harness import fraction, near, now, region_mean, rgb, sleep_until  # noqa: E402

TITLE = test_app.TITLE

SETUP_DELAY = 0.2    # gear and Back: screen-load delay
REBOOT_DELAY = 0.1   # Reboot and No
LOAD_TIME = 0.2      # the load's time after its delay; clicks are dropped until it ends
SWITCH_LIMIT = 2.0   # a new screen must show within this of the click


def rgb565(value):
    """What the compositor shows for an RGB565 colour (channels widened by bit replication)."""
    r, g, b = value >> 11, (value >> 5) & 0x3F, value & 0x1F
    return (r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2)


# Tap points (screen coordinates = the widget's parent position + its own, at its centre)
GEAR = (670 + 457 + 47, 228 + 10 + 44)     # setup button in the upper right panel
REBOOT = (694 + 401 + 57, 93 + 61 + 19)    # "Reboot" in the device-tree panel
BACK = (110 + 40 + 65, 89 + 450 + 27)      # "Back" on the setup screen
# Inside "No" (x 547..706, y 453..513), left of its caption; on the test screen
# this point lies in the gap between the panels, where nothing takes a click.
NO = (640, 490)
# "Yes" (x 301..460, y 451..511) is never tapped; the reboot stand-in records it anyway.

# Device-tree panel: the roller (100 x 100, three rows, the selected one in the
# middle) and the file-name label right of it.
ROLLER = (694 + 10 + 50, 93 + 8 + 50)
ROLLER_ROW = 31                              # row pitch, measured on screenshots
DT_LABEL = (694 + 124, 93 + 61, 694 + 124 + 266, 93 + 61 + 35)
# right part of the label: empty with "qb-vexo.dtb", covered by the longer
# "qb-vexo-uart7.dtb"
DT_LABEL_TAIL = (975, 154, 1030, 189)
SELECTED = rgb565(0xF804)                    # selection colour of the label text

# Headphone slider: range 0..127 over 520 px at panel + (165, 125), 15 px high.
HP_X0, HP_W, HP_Y = 110 + 165, 520, 89 + 125 + 7
LO_Y = 89 + 320 + 7                          # line-out slider row (range 0..31)
SLIDER_BLUE = rgb565(0x24BE)                 # indicator and knob; the track is translucent
KNOB_REACH = 14                              # knob edge beyond the value's x, measured


def hp_x(value):
    return HP_X0 + HP_W * value / 127


def blue_edge(img, y):
    """Rightmost x of the slider blue on row y (the knob's right edge), or None."""
    xs = [x for x in range(HP_X0 - 20, HP_X0 + HP_W + 30) if near(rgb(img, x, y), SLIDER_BLUE, 30)]
    return xs[-1] if xs else None


# Screen looks: (box, mean colour) pairs in areas without text. Blended areas
# (pictures under translucent backgrounds) are measured values.
SETUP_LOOK = [
    ((10, 300, 100, 500), (140, 138, 140)),    # screen grey over the faint picture
    ((600, 280, 900, 380), (214, 211, 214)),   # panel between the two slider rows
    ((766, 545, 796, 592), SLIDER_BLUE),       # "Init", left of its caption
    ((156, 545, 180, 592), rgb565(0x4208)),    # "Back", left of its caption
]
REBOOT_LOOK = [
    ((10, 300, 150, 500), (66, 69, 66)),       # screen grey over the picture
    ((190, 460, 290, 540), (41, 44, 41)),      # dark panel, left of "Yes"
    ((240, 330, 780, 410), (123, 142, 156)),   # question's background below its text
    ((555, 460, 600, 510), (148, 20, 16)),     # "No" (red at opacity 131), left of its caption
    ((308, 458, 350, 510), (66, 121, 165)),    # "Yes" (blue at opacity 149), left of its caption
]
LOOK_TOL = 20


def looks(img, checks):
    return all(near(region_mean(img, box), colour, LOOK_TOL) for box, colour in checks)


def setup_screen_drawn(img):
    return looks(img, SETUP_LOOK)


def reboot_screen_drawn(img):
    return looks(img, REBOOT_LOOK)


def test_screen_drawn(img):
    return test_app.test_screen_drawn(img)


def screen_name(img):
    for name, drawn in (("test", test_screen_drawn), ("setup", setup_screen_drawn),
                        ("reboot", reboot_screen_drawn), ("start", test_app.start_screen_drawn)):
        if drawn(img):
            return name
    return None


def is_red(p):
    return p[0] >= 200 and p[1] <= 60 and p[2] <= 90


def is_dark(p):
    return max(p[:3]) <= 60


# Stand-ins for the board tools (see the module comment).
FAKE_TOOLS = {
    "amixer": "",
    "reboot": "",
    "dmesg": "echo '[    0.000000] Machine model: QB-VEXO Default'",
    "cp": 'exec /bin/cp "$@"',
}


class Navigation(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.app = test_app.app_path()
        if not os.access(cls.app, os.X_OK):
            raise unittest.SkipTest("application not built yet: %s" % cls.app)
        missing = harness.missing_tools()
        if missing:
            raise unittest.SkipTest("not installed: " + ", ".join(missing))

    # -- helpers

    def open_test_screen(self, s):
        """Start the app with the stand-in tools and tap through to the test screen."""
        p = s.start_app(self.app, env=s.fake_tools(FAKE_TOOLS), name="gui_tessel")
        s.wait_window(TITLE, timeout=5.0)
        s.wait_for(test_app.start_screen_drawn, timeout=5.0, what="start picture")
        if os.environ.get("TESSEL_LVGL") == "system":
            # lv_drivers 8.3 drops a refresh that comes while the compositor
            # still holds its one buffer; during the intro's frames a screen
            # loaded then can stay partly undrawn (README): tap after it
            time.sleep(1.0)
        s.tap(*test_app.START_TAP)
        s.wait_for(test_screen_drawn, timeout=3.0, what="test screen")
        return p

    def go(self, s, point, delay, drawn, what):
        """Tap point; the screen `drawn` recognises must show, not before `delay` after
        the release. Returns the seconds from the release to the first capture showing it."""
        t_release = s.tap(*point)
        img = s.wait_for(drawn, timeout=SWITCH_LIMIT + 1.0, what=what)
        seen = now() - t_release
        s.save(img, what.replace(" ", "-"))
        sys.stderr.write("%s: shown %.0f ms after the release\n" % (what, seen * 1000))
        self.assertGreaterEqual(seen, delay, "%s before its delay" % what)
        self.assertLess(seen, SWITCH_LIMIT, "%s too late" % what)
        return seen

    def settle(self, s, timeout=5.0):
        """Wait until the screen stays the same (a known one) for a whole load; returns its name."""
        deadline = now() + timeout
        while now() < deadline:
            name = screen_name(s.screenshot())
            if name is None:
                time.sleep(0.02)
                continue
            try:
                s.hold(lambda im: screen_name(im) == name, REBOOT_DELAY + LOAD_TIME + 0.3,
                       what="%s screen" % name)
                return name
            except AssertionError:
                continue
        raise AssertionError("screen did not settle within %.1f s" % timeout)

    def second_click(self, s, second, press_at, release_at, slack):
        """Tap Reboot, then press at `second` press_at s and release release_at s after
        Reboot's release. Retries (from the test screen) when the process was not
        scheduled in time to keep that schedule within `slack`; returns the offsets sent."""
        for attempt in range(3):
            t_r = s.tap(*REBOOT, park=False)
            sleep_until(t_r + press_at)
            s.press(*second)
            t_p = now() - t_r
            sleep_until(t_r + release_at)
            s.release()
            t_u = now() - t_r
            time.sleep(harness.SETTLE)
            s.park()
            if t_p <= press_at + slack and t_u <= release_at + slack:
                sys.stderr.write("second click: attempt %d, press +%.0f ms, release +%.0f ms\n"
                                 % (attempt + 1, t_p * 1000, t_u * 1000))
                return attempt, t_p, t_u
            # Late: the second click may have counted after the load. Get back to
            # the test screen and try again.
            if self.settle(s) == "reboot":
                s.tap(*NO)
            s.wait_for(test_screen_drawn, timeout=3.0, what="test screen")
            if self.settle(s) != "test":
                self.fail("not back on the test screen after a late attempt")
        self.fail("could not send the two clicks on schedule in 3 attempts (machine too busy)")

    def assert_stays_on_reboot_screen(self, s, p):
        s.wait_for(reboot_screen_drawn, timeout=SWITCH_LIMIT, what="reboot screen")
        # Any second navigation would show within delay + time of its click.
        captures = s.hold(reboot_screen_drawn, 1.0, what="reboot screen")
        self.assertGreater(captures, 5)
        self.assertEqual(s.tool_calls("reboot"), [])
        # The load has ended: No works again.
        self.go(s, NO, REBOOT_DELAY, test_screen_drawn, "test screen after No")
        self.close_ok(s, p)

    def close_ok(self, s, p):
        self.assertIsNone(p.poll(), "app ended early:\n" + p.output()[-2000:])
        s.close_window(TITLE)
        self.assertEqual(p.wait(1.0), 0, p.output()[-2000:])

    # -- window and navigation

    def test_setup_screen_and_back(self):
        with harness.Session() as s:
            p = self.open_test_screen(s)
            for visit in (1, 2):
                self.go(s, GEAR, SETUP_DELAY, setup_screen_drawn, "setup screen %d" % visit)
                img = s.screenshot()
                self.assertFalse(test_screen_drawn(img))
                # every visit builds the screen anew: sliders at their start values
                self.assertLessEqual(abs(blue_edge(img, HP_Y) - (hp_x(23) + KNOB_REACH)), 8)
                self.assertLessEqual(abs(blue_edge(img, LO_Y) - (HP_X0 + KNOB_REACH)), 8)
                self.go(s, BACK, SETUP_DELAY, test_screen_drawn, "test screen %d" % visit)
                self.assertFalse(setup_screen_drawn(s.screenshot()))
            self.assertEqual(s.tool_calls("amixer"), [])  # building the screen sets no mixer
            self.close_ok(s, p)

    def test_reboot_screen_and_no(self):
        with harness.Session() as s:
            p = self.open_test_screen(s)
            for visit in (1, 2):
                self.go(s, REBOOT, REBOOT_DELAY, reboot_screen_drawn, "reboot screen %d" % visit)
                self.assertFalse(test_screen_drawn(s.screenshot()))
                self.go(s, NO, REBOOT_DELAY, test_screen_drawn, "test screen %d" % visit)
            self.assertEqual(s.tool_calls("reboot"), [])
            self.close_ok(s, p)

    def test_no_clicked_during_reboot_load_is_dropped(self):
        # "No" takes input once the reboot screen is active (Reboot's click + 100 ms,
        # on a 30 ms tick, one input read after the release: by +160 ms) and the load
        # ends 200 ms later (not before +300 ms). Press at +170, release at +215: a
        # click on No inside the load, which must be dropped. Sent too early, it would
        # hit the test screen's background (harmless); too late, it would count, so the
        # schedule errs early and is enforced.
        with harness.Session() as s:
            p = self.open_test_screen(s)
            self.second_click(s, NO, press_at=0.170, release_at=0.215, slack=0.02)
            self.assert_stays_on_reboot_screen(s, p)

    def test_gear_clicked_during_reboot_delay_is_dropped(self):
        # The gear click falls inside Reboot's 100 ms delay, while the test screen is
        # still active: press at +45 ms (after the input read that saw Reboot's
        # release, reads being 30 ms apart), release at +88 ms (read before +100 ms
        # after Reboot's click was read).
        with harness.Session() as s:
            p = self.open_test_screen(s)
            self.second_click(s, GEAR, press_at=0.045, release_at=0.088, slack=0.007)
            self.assert_stays_on_reboot_screen(s, p)
            self.assertEqual(s.tool_calls("amixer"), [])

    # -- screens

    def test_roller_selects_device_tree(self):
        with harness.Session() as s:
            p = self.open_test_screen(s)
            img = s.screenshot()
            # "qb-vexo.dtb" from the stand-in dmesg, in black
            self.assertGreater(fraction(img, DT_LABEL, is_dark), 0.01)
            self.assertEqual(fraction(img, DT_LABEL, is_red), 0.0)
            self.assertEqual(fraction(img, DT_LABEL_TAIL, is_dark), 0.0)

            # one row up: the next option, "Uart", comes into the middle
            s.drag(ROLLER[0], ROLLER[1], ROLLER[0], ROLLER[1] - ROLLER_ROW - 1, steps=8, step_time=0.04)
            img = s.wait_for(lambda im: fraction(im, DT_LABEL, is_red) > 0.01, timeout=3.0,
                             what="device-tree label in the selection colour")
            s.save(img, "roller-uart")
            self.assertLess(fraction(img, DT_LABEL, is_dark), 0.002, "black text left in the label")
            self.assertGreater(fraction(img, DT_LABEL_TAIL, is_red), 0.01,
                               "label text not the longer 'qb-vexo-uart7.dtb'")
            self.assertTrue(test_screen_drawn(img))

            # the selection copies the UART7 tree from the boot partition (which does
            # not exist here: cp fails, nothing changes)
            sources = [c.split()[1] for c in s.tool_calls("cp") if "qb-vexo" in c]
            self.assertEqual(sources, ["/run/media/boot-mmcblk1p1/qb-vexo-lpuart7.dtb"])
            self.assertFalse(os.path.exists("/run/media/boot-mmcblk1p1"))
            self.close_ok(s, p)

    def test_headphone_slider_runs_amixer(self):
        with harness.Session() as s:
            p = self.open_test_screen(s)
            self.go(s, GEAR, SETUP_DELAY, setup_screen_drawn, "setup screen")
            edge0 = blue_edge(s.screenshot(), HP_Y)
            self.assertLessEqual(abs(edge0 - (hp_x(23) + KNOB_REACH)), 8)

            x0 = round(hp_x(23))
            s.drag(x0, HP_Y, x0 + 200, HP_Y, steps=10, step_time=0.04)
            img = s.wait_for(lambda im: (blue_edge(im, HP_Y) or 0) >= edge0 + 150, timeout=3.0,
                             what="headphone knob moved right")
            s.save(img, "slider-moved")

            calls = s.tool_calls("amixer")
            self.assertTrue(calls, "no amixer call:\n" + p.output()[-2000:])
            # pairs: switch on, then the volume; no other control, never off
            self.assertEqual(len(calls) % 2, 0, calls)
            volumes = []
            for on, vol in zip(calls[0::2], calls[1::2]):
                self.assertEqual(on, "amixer -c 1 set Headphone Playback Switch on")
                head, _, number = vol.rpartition(" ")
                self.assertEqual(head, "amixer -c 1 set Headphone Playback Volume")
                volumes.append(int(number))
            self.assertGreater(volumes[-1], 23 + 30, volumes)
            self.assertEqual(max(volumes), volumes[-1], "dragged right, yet the volume fell: %s" % volumes)
            # the knob stands at the value last sent
            self.assertLessEqual(abs(blue_edge(s.screenshot(), HP_Y) - (hp_x(volumes[-1]) + KNOB_REACH)), 8)
            self.assertLessEqual(abs(blue_edge(img, LO_Y) - (HP_X0 + KNOB_REACH)), 8)

            # a new visit shows the start value again and sends nothing
            self.go(s, BACK, SETUP_DELAY, test_screen_drawn, "test screen")
            self.go(s, GEAR, SETUP_DELAY, setup_screen_drawn, "setup screen again")
            self.assertLessEqual(abs(blue_edge(s.screenshot(), HP_Y) - (hp_x(23) + KNOB_REACH)), 8)
            self.assertEqual(s.tool_calls("amixer"), calls)
            self.close_ok(s, p)


if __name__ == "__main__":
    harness.main()
