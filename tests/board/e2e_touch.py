#!/usr/bin/python3
"""Touch, the board's input, end to end: the real gui_tessel under headless
weston (the board's compositor, kiosk-shell) on the healthy simulated board,
driven by a touch screen (the weston fixture module of tests/e2e).

Cases: a tap opens the test screen; a tap on a test button runs exactly that
test; a touch that slides off a button still clicks it on release (as in
LVGL 8.3: buttons are press-locked, and nothing there scrolls); a drag on the roller
installs the next device tree (one copy) and shows its name; a drag on the
headphone slider runs amixer with the dragged values; a second finger is
ignored (no second click, no jump); a touch cancel leaves nothing pressed;
Run all by touch ends with every verdict shown.

What the board did is read from the simulated board's call log and timing
log (its state directory is made inside the session's directory), from the
status file, and from the board's boot partition (through the application's
/proc/PID/root). Verdicts on the screen are compared with board_render's
drawing for the same status file, as e2e_runall.py does. Environment (CTest
sets it): TESSEL_APP, BOARD_RENDER, SIMBOARD_RUN, TESSEL_E2E_DIR,
TESSEL_E2E_WESTON_FIXTURE. Exit status 77 when something is missing."""

import glob
import os
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.environ.get("TESSEL_E2E_DIR") or os.path.join(REPO, "tests", "e2e"))
sys.path.insert(0, HERE)
try:
    import harness  # noqa: E402
    from harness import mismatch, near, rgb  # noqa: E402
    import e2e_runall  # noqa: E402
except ImportError as e:  # pragma: no cover
    print("skipped: %s" % e)
    sys.exit(77)

TITLE = "GUI Tessel"
SIMBOARD_RUN = e2e_runall.SIMBOARD_RUN
GOLDEN = os.path.join(REPO, "tests", "app", "reference")
START_TAP = (640, 400)
I2C_BUTTON = (163, 275)
GPIO_BUTTON = (163, 345)
GAP = (640, 490)                 # between the panels: nothing there takes a click
GEAR = (1174, 282)
ROLLER = (754, 151)
ROLLER_ROW = 31
ROLLER_BOX = (700, 95, 810, 205)
DT_LABEL = (818, 154, 1084, 189)
HP_X0, HP_W, HP_Y = 275, 520, 221
BUTTON_BOX = (95, 253, 235, 300)  # the I2C button with its shadow
# the program runs on a real lv_drivers 8.3 (system mode), not the bundled backend
LV_DRIVERS_83 = os.environ.get("TESSEL_LVGL") == "system"
DEVICE_TREE_LABEL = (810, 150, 1090, 180)
NOT_YET = "not yet"
BOOT_DTB = "run/media/boot-mmcblk1p1/qb-vexo.dtb"


def hp_x(value):
    return HP_X0 + HP_W * value / 127


def is_red(p):
    return p[0] > 180 and p[1] < 90 and p[2] < 90


class TouchOnBoard(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = harness.missing_tools("weston")
        if missing:
            raise unittest.SkipTest("not installed: " + ", ".join(missing))
        for var in ("TESSEL_APP", "BOARD_RENDER"):
            if not os.access(os.environ.get(var, ""), os.X_OK):
                raise unittest.SkipTest("%s not built" % var)
        cls.app = os.environ["TESSEL_APP"]
        cls.golden_test = harness.load_png(os.path.join(GOLDEN, "test_progrem.png"))

    # -- the board

    def open_board(self, s, scenarios="healthy"):
        """gui_tessel on the simulated board, its test screen opened by a tap."""
        p = s.start_app(SIMBOARD_RUN,
                        ["-s", scenarios, "-b", s.dir, "--", "bash", "-c",
                         '/.simboard/lib/sb-scenario workdir . && exec "$0"', self.app],
                        env={"SIMBOARD_STATE_PARENT": s.dir}, name="gui_tessel")
        s.wait_window(TITLE, timeout=10.0)
        self.status = os.path.join(s.work, "zorazu_zove")
        self.data = harness.wait_until(lambda: (glob.glob(os.path.join(s.dir, "simboard.*", "data")) or [None])[0],
                                       5.0, what="the board's state directory")
        time.sleep(1.2)  # the intro
        s.touch_tap(*START_TAP)
        s.wait_for(lambda im: mismatch(im, self.golden_test, ignore=[DEVICE_TREE_LABEL]) is None,
                   timeout=5.0, interval=0.05, what="test screen")
        harness.wait_until(lambda: self.status_lines() == [NOT_YET] * 15 or None, 5.0, what="fresh status file")
        return p

    def status_lines(self):
        try:
            with open(self.status) as f:
                return f.read().splitlines()
        except OSError:
            return None

    def calls(self, log="calls.log"):
        try:
            with open(os.path.join(self.data, log)) as f:
                return f.read().splitlines()
        except OSError:
            return []

    def board_file(self, p, path):
        """A file as the application sees it on the board (through its /proc root)."""
        for pid in self.descendants(p.pid):
            try:
                if os.path.basename(os.readlink("/proc/%d/exe" % pid)) == "gui_tessel":
                    with open("/proc/%d/root/%s" % (pid, path), "rb") as f:
                        return f.read()
            except OSError:
                continue
        raise AssertionError("gui_tessel not found under the runner %d" % p.pid)

    @staticmethod
    def descendants(root):
        children = {}
        for d in glob.glob("/proc/[0-9]*/stat"):
            try:
                with open(d) as f:
                    fields = f.read().rsplit(")", 1)[1].split()
                children.setdefault(int(fields[1]), []).append(int(d.split("/")[2]))
            except (OSError, IndexError, ValueError):
                continue
        out, todo = [], [root]
        while todo:
            pid = todo.pop()
            out.append(pid)
            todo.extend(children.get(pid, []))
        return out

    def verdict_shown(self, s, lines, line_numbers, timeout):
        """Poll the screen until the labels of line_numbers show `lines`' verdicts."""
        ref, labels, _ = e2e_runall.render(lines, os.path.join(s.shots, "reference-%d.png" % len(lines)))
        boxes = [labels[n] for n in line_numbers]
        return s.wait_for(lambda im: all(e2e_runall.region_matches(im, ref, b) for b in boxes),
                          timeout=timeout, interval=0.2, what="verdicts of lines %s" % line_numbers)

    def close(self, s, p):
        self.assertIsNone(p.poll(), p.output()[-2000:])
        s.close_window(TITLE)
        self.assertEqual(p.wait(5.0), 0, p.output()[-2000:])

    # -- cases

    def test_tap_opens_test_screen_and_a_tap_runs_exactly_that_test(self):
        with harness.Session(compositor="weston", shell="kiosk") as s:
            p = self.open_board(s)
            before = len(self.calls())
            s.touch_tap(*I2C_BUTTON)
            harness.wait_until(lambda: self.status_lines()[0] != NOT_YET, 20.0, what="I2C verdict")
            self.assertEqual(self.status_lines(), ["I2C Test ok"] + [NOT_YET] * 14)
            tools = {c.split("\t")[0] for c in self.calls()[before:]}
            self.assertEqual(tools, {"i2cdetect", "i2cdump"})
            img = self.verdict_shown(s, ["I2C Test ok"] + [NOT_YET] * 14, [1], 10.0)
            s.save(img, "i2c-ok")
            time.sleep(1.0)
            self.assertEqual(self.status_lines(), ["I2C Test ok"] + [NOT_YET] * 14, "another test ran")
            self.close(s, p)

    def test_a_touch_sliding_off_a_button_still_clicks_it(self):
        with harness.Session(compositor="weston", shell="kiosk") as s:
            p = self.open_board(s)
            s.touch_drag(*I2C_BUTTON, *GAP, steps=12, step_time=0.03)
            harness.wait_until(lambda: self.status_lines()[0] != NOT_YET, 20.0, what="I2C verdict")
            self.assertEqual(self.status_lines(), ["I2C Test ok"] + [NOT_YET] * 14)
            # and the button is not left pressed
            self.verdict_shown(s, ["I2C Test ok"] + [NOT_YET] * 14, [1], 10.0)
            self.assertIsNone(mismatch(s.screenshot(), self.golden_test.crop(BUTTON_BOX), BUTTON_BOX[:2]))
            self.close(s, p)

    def test_roller_drag_installs_the_next_device_tree(self):
        with harness.Session(compositor="weston", shell="kiosk") as s:
            p = self.open_board(s, "healthy,timing")
            self.assertEqual(self.board_file(p, BOOT_DTB).split(b"\n")[0], b"simulated device tree qb-vexo-boot")
            copies_before = [l for l in self.calls("timing.log") if l.startswith("cp ")]
            s.touch_drag(ROLLER[0], ROLLER[1], ROLLER[0], ROLLER[1] - ROLLER_ROW - 1, steps=8, step_time=0.04)
            harness.wait_until(lambda: self.board_file(p, BOOT_DTB).startswith(
                b"simulated device tree qb-vexo-lpuart7\n"), 10.0, what="UART7 tree on the boot partition")
            time.sleep(1.0)
            copies = [l for l in self.calls("timing.log") if l.startswith("cp ")][len(copies_before):]
            self.assertEqual(len(copies), 1, copies)
            # the handler names the selected tree in the selection colour
            img = s.wait_for(lambda im: harness.fraction(im, DT_LABEL, is_red) > 0.01
                             and mismatch(im, self.golden_test, ignore=[(810, 150, 1090, 195), ROLLER_BOX]) is None,
                             timeout=3.0, what="red device-tree label, the rest unchanged")
            s.save(img, "roller-uart7")
            # "qb-vexo-uart7.dtb" reaches further right than "qb-vexo.dtb"
            self.assertGreater(harness.fraction(img, (975, 154, 1030, 189), is_red), 0.01)
            self.close(s, p)

    def test_headphone_slider_drag_and_a_second_finger(self):
        with harness.Session(compositor="weston", shell="kiosk") as s:
            p = self.open_board(s)
            s.touch_tap(*GEAR)
            x0 = round(hp_x(23))
            harness.wait_until(lambda: near(rgb(s.screenshot(), x0, HP_Y), (33, 150, 243), 40), 5.0,
                               what="setup screen with the knob at 23")
            before = len(self.calls())
            # finger 0 holds the knob; a second finger far right must not move it
            s.touch_down(x0, HP_Y, touch_id=0)
            time.sleep(0.15)
            if not LV_DRIVERS_83:
                s.touch_down(x0 + 400, HP_Y, touch_id=1)
                time.sleep(0.3)
                s.touch_up(touch_id=1)
                time.sleep(0.2)
            jumped = [c for c in self.calls()[before:] if "Volume" in c and int(c.split()[-1]) > 40]
            self.assertEqual(jumped, [], "the second finger moved the slider")
            # finger 0 drags 200 px right
            for i in range(1, 11):
                s.touch_motion(x0 + 20 * i, HP_Y, touch_id=0)
                time.sleep(0.04)
            time.sleep(0.15)
            s.touch_up(touch_id=0)
            harness.wait_until(lambda: any("Volume" in c for c in self.calls()[before:]), 5.0, what="amixer")
            time.sleep(0.5)
            calls = [c.split("\t", 1) for c in self.calls()[before:]]
            self.assertEqual({c[0] for c in calls}, {"amixer"}, calls)
            volumes = [int(c[1].split()[-1]) for c in calls if c[1].startswith("-c 1 set Headphone Playback Volume")]
            self.assertTrue(volumes, calls)
            self.assertEqual(max(volumes), volumes[-1], volumes)
            expected = round(127 * (x0 + 200 - HP_X0) / HP_W)
            self.assertLessEqual(abs(volumes[-1] - expected), 4, (volumes, expected))
            for c in calls:
                self.assertIn(c[1], ["-c 1 set Headphone Playback Switch on"] +
                              ["-c 1 set Headphone Playback Volume %d" % v for v in volumes])
            self.close(s, p)
        if LV_DRIVERS_83:
            self.skipTest("the second finger not checked: lv_drivers 8.3 keeps one touch point and moves it "
                          "to a second finger's touch, so that finger drags the pressed slider")

    def test_a_second_finger_on_another_button_is_ignored(self):
        with harness.Session(compositor="weston", shell="kiosk") as s:
            p = self.open_board(s)
            s.touch_down(*I2C_BUTTON, touch_id=0)
            time.sleep(0.15)
            s.touch_down(*GPIO_BUTTON, touch_id=1)
            time.sleep(0.15)
            s.touch_up(touch_id=1)
            time.sleep(0.1)
            s.touch_up(touch_id=0)
            harness.wait_until(lambda: self.status_lines()[0] != NOT_YET, 20.0, what="I2C verdict")
            time.sleep(1.5)
            self.assertEqual(self.status_lines(), ["I2C Test ok"] + [NOT_YET] * 14)
            self.close(s, p)

    def test_a_touch_cancel_leaves_no_button_pressed(self):
        if LV_DRIVERS_83:
            self.skipTest("lv_drivers 8.3 keeps the touch pressed after wl_touch.cancel: the button stays "
                          "drawn pressed until the next touch")
        with harness.Session(compositor="weston", shell="kiosk") as s:
            p = self.open_board(s)
            ref = self.golden_test.crop(BUTTON_BOX)
            s.touch_down(*I2C_BUTTON)
            s.wait_for(lambda im: mismatch(im, ref, BUTTON_BOX[:2]) is not None, timeout=2.0,
                       what="I2C button drawn pressed")
            s.touch_cancel()
            s.wait_for(lambda im: mismatch(im, ref, BUTTON_BOX[:2]) is None, timeout=2.0,
                       what="I2C button drawn released")
            time.sleep(1.5)
            self.assertEqual(self.status_lines(), [NOT_YET] * 15, "the cancelled touch clicked")
            # the next tap is an ordinary click
            s.touch_tap(*I2C_BUTTON)
            harness.wait_until(lambda: self.status_lines()[0] == "I2C Test ok", 20.0, what="I2C verdict")
            self.close(s, p)

    def test_run_all_by_touch_shows_every_verdict(self):
        with harness.Session(compositor="weston", shell="kiosk") as s:
            p = self.open_board(s)
            ref, labels, button = e2e_runall.render(e2e_runall.OK_VERDICTS, os.path.join(s.shots, "ok.png"))
            t0 = time.monotonic()
            s.touch_tap(*button)
            img = s.wait_for(lambda im: all(e2e_runall.region_matches(im, ref, b) for b in labels.values()),
                             timeout=90.0, interval=0.25, what="every result label ok")
            s.save(img, "run-all")
            with open(self.status) as f:
                self.assertEqual(f.read().splitlines(), e2e_runall.OK_VERDICTS)
            print("Run all by touch: every verdict shown %.1f s after the tap" % (time.monotonic() - t0))
            self.close(s, p)


if __name__ == "__main__":
    harness.main()
