#!/usr/bin/python3
"""The station under a real compositor on the simulated board, while tests
run: a finger on the glass, taps that must not count, a capture that never
returns, closing in the middle, a full working directory.

Environment as for e2e_runall.py (CTest sets it). Exit status 77 when
something is missing."""

import os
import signal
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import e2e_runall as board  # noqa: E402
from e2e_runall import harness  # noqa: E402

TITLE = "GUI Tessel"
CSI_LIMIT = 30.0  # the camera test's time limit
HEALTHY = board.OK_VERDICTS

# The banner (or first line) each test prints when it starts.
BANNERS = {
    "i2c": "I2C Test ===", "gpio": "GPIO Key Test ===", "uart": "UART7 Test ===",
    "spi": "SPI3 Master Test ===", "adc": "ADC Slave Test ===", "usb1": "USB1 Test ===",
    "usb2": "USB2 Test ===", "pl2303": "PL2303 Test ===", "dsi": "MIPI-DSI Test ===",
    "lvds": "LVDS Test ===", "audio": "Audio Default Sgtl5000 Test ===", "mqs": "Audio MQS Test ===",
    "csi": "test.jpg", "rtc": "RTC Test ok",
}


def start(s, scenarios, prefix="", run_after="", status_seen=True):
    """The app on the simulated board in s.work; `prefix` runs first inside
    the board, `run_after` once the app has ended (its output lands in the
    app's console). status_seen: the status file is visible from here."""
    script = ('/.simboard/lib/sb-scenario workdir . && %s "$0"; rc=$?; %s exit $rc'
              % (prefix, run_after))
    p = s.start_app(board.SIMBOARD_RUN,
                    ["-s", ",".join(scenarios), "-b", s.dir, "--", "bash", "-c", script,
                     os.environ["TESSEL_APP"]], name="gui_tessel")
    s.wait_window(TITLE, timeout=10.0)
    time.sleep(1.5)  # the intro animation
    s.tap(*board.START_TAP)
    status = os.path.join(s.work, "zorazu_zove")
    if status_seen:
        harness.wait_until(lambda: os.path.exists(status), 5.0, what="zorazu_zove")
    time.sleep(0.8 if status_seen else 1.5)  # the screen load ends
    return p


def status_lines(s):
    with open(os.path.join(s.work, "zorazu_zove")) as f:
        return f.read().splitlines()


def write_status(s, lines):
    with open(os.path.join(s.work, "zorazu_zove"), "w") as f:
        f.write("".join(l + "\n" for l in lines))


def descendant_named(root_pid, name):
    """The PID of a process called `name` below root_pid (ours only)."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                stat = f.read()
        except OSError:
            continue
        comm = stat[stat.index("(") + 1:stat.rindex(")")]
        ppid = int(stat[stat.rindex(")") + 2:].split()[1])
        children.setdefault(ppid, []).append((int(entry), comm))
    todo = [root_pid]
    while todo:
        for pid, comm in children.get(todo.pop(), []):
            if comm == name:
                return pid
            todo.append(pid)
    return None


def banners_run(output):
    return {name: output.count(text) for name, text in BANNERS.items()}


class StationWhileTestsRun(unittest.TestCase):
    def setUp(self):
        board.skip_unless_ready(self)

    def layout(self, s, lines, name):
        return board.render_layout(lines, os.path.join(s.shots, name + ".png"))

    def shows(self, img, ref, box):
        return board.region_matches(img, ref, box)

    def test_finger_and_taps_while_the_camera_hangs(self):
        """3,000 moves of a finger and taps on other buttons while the capture
        hangs: the app stays, and nothing tapped runs, then or later."""
        with harness.Session() as s:
            ref, labels, at = self.layout(s, HEALTHY, "ok")
            prefix = "/.simboard/lib/sb-scenario set camera_hang_s 12 &&"
            write_status(s, HEALTHY)
            p = start(s, ["healthy", "camera_hang"], prefix)
            s.tap(*at["csi"])
            harness.wait_until(lambda: status_lines(s)[13] == "not yet", 5.0, what="CSI pending")
            s.press(20, 20)
            for i in range(3000):
                s.move(20 + (i * 37) % 1240, 20 + (i * 13) % 760)
            s.release()
            for name in ("i2c", "spi", "audio", "csi", "all", "init", "usb", "rtc", "setup", "reboot"):
                s.tap(*at[name])
            rx, ry = at["roller"]
            s.drag(rx, ry + 40, rx, ry - 40, steps=8)
            self.assertIsNone(p.poll(), "the app ended: " + p.output())
            harness.wait_until(lambda: status_lines(s)[13] == "CSI Test failed", 20.0,
                               interval=0.2, what="the capture ended")
            time.sleep(1.0)  # anything queued would start now
            self.assertIsNone(p.poll(), "the app ended: " + p.output())
            expected = list(HEALTHY)
            expected[13] = "CSI Test failed"
            self.assertEqual(status_lines(s), expected)
            runs = banners_run(p.stdout())
            self.assertEqual(runs.pop("csi"), 1)
            self.assertEqual({k: v for k, v in runs.items() if v}, {}, "a tapped test ran")
            img = s.screenshot()
            s.save(img, "after")
            self.assertTrue(self.shows(img, ref, labels[1]), "still the test screen with its verdicts")
            # Still answering: a tap now runs its test.
            s.tap(*at["i2c"])
            harness.wait_until(lambda: BANNERS["i2c"] in p.stdout(), 5.0, what="I2C ran")
            s.close_window(TITLE)
            self.assertEqual(p.wait(5.0), 0, p.output())

    def test_stuck_camera_times_out_and_closing_ends_it(self):
        """The capture never returns: the window keeps drawing, the CSI line
        gets its time-out verdict within the limit, and a close request in
        the middle of a second capture ends the app and the capture."""
        with harness.Session() as s:
            lines = list(HEALTHY)
            lines[13] = "CSI Test failed (timed out)"
            ref_timeout, labels, at = self.layout(s, lines, "timed-out")
            p = start(s, ["healthy", "camera_hang"])
            t0 = s.tap(*at["csi"])

            # The window redraws meanwhile: a pressed button shows it.
            bx, by = at["i2c"]
            box = (bx - 40, by - 15, bx + 40, by + 15)
            before = s.screenshot(region=box)
            s.press(bx, by)
            pressed = s.wait_for(lambda im: not board.region_matches(im, before, (0, 0, 79, 29)), 2.0,
                                 region=box, what="the pressed look")
            s.save(pressed, "pressed-during-test")
            s.move(bx + 300, by)  # off the button: no click
            s.release()
            s.park()

            img = s.wait_for(lambda im: self.shows(im, ref_timeout, labels[14]), CSI_LIMIT + 5.0,
                             interval=0.25, what="the time-out verdict on screen")
            elapsed = harness.now() - t0
            s.save(img, "timed-out")
            self.assertLess(elapsed, CSI_LIMIT + 5.0)
            self.assertGreater(elapsed, CSI_LIMIT - 1.0)
            self.assertEqual(status_lines(s)[13], "CSI Test failed (timed out)")
            self.assertNotIn(BANNERS["i2c"], p.stdout())

            # Again, and close the window in the middle of it.
            for name in ("camera.term", "camera.pid"):
                if os.path.exists(os.path.join(s.work, name)):
                    os.unlink(os.path.join(s.work, name))
            s.tap(*at["csi"])
            harness.wait_until(lambda: os.path.exists(os.path.join(s.work, "camera.pid")), 5.0,
                               what="the second capture")
            t1 = harness.now()
            s.close_window(TITLE)
            self.assertEqual(p.wait(5.0), 0, p.output())
            self.assertLess(harness.now() - t1, 1.0)
            # The capture was ended by the app (its TERM trap ran), not
            # merely swept away with the board.
            self.assertTrue(os.path.exists(os.path.join(s.work, "camera.term")), p.output())

    def test_signal_or_lost_compositor_end_the_running_test(self):
        """TERM to the app, or the compositor going away, in the middle of a
        hung capture: the app ends the capture's group before it leaves."""
        for how in ("TERM", "HUP", "compositor"):
            with self.subTest(how=how), harness.Session() as s:
                _, _, at = self.layout(s, HEALTHY, "ok")
                p = start(s, ["healthy", "camera_hang"])
                s.tap(*at["csi"])
                pid_file = os.path.join(s.work, "camera.pid")
                harness.wait_until(lambda: os.path.exists(pid_file), 5.0, what="the capture")
                app = descendant_named(p.pid, "gui_tessel")
                self.assertIsNotNone(app)
                t0 = harness.now()
                if how == "compositor":
                    s.server.stop()
                else:
                    os.kill(app, getattr(signal, "SIG" + how))
                self.assertIsNotNone(p.wait(5.0), "the app did not end")
                self.assertLess(harness.now() - t0, 2.5)
                self.assertTrue(os.path.exists(os.path.join(s.work, "camera.term")), p.output())

    def test_run_all_with_taps_spread_over_the_pass(self):
        """20 taps during Run all on a healthy board: every verdict shown, no
        test run more often than Run all runs it."""
        with harness.Session() as s:
            ref, labels, at = self.layout(s, HEALTHY, "ok")
            p = start(s, ["healthy"])
            t0 = s.tap(*at["all"], park=False)
            names = ["i2c", "csi", "audio", "all", "init", "usb", "spi", "mqs", "rtc", "gpio"]
            taps = 0
            # Quick taps, all while the pass is still on its way to the last line.
            while taps < 20 and status_lines(s)[14] != "RTC Test ok":
                s.tap(*at[names[taps % len(names)]], hold=0.05, park=False)
                taps += 1
                time.sleep(0.08)
            s.park()
            self.assertEqual(taps, 20, "the pass ended before 20 taps")
            img = s.wait_for(lambda im: all(self.shows(im, ref, b) for b in labels.values()), 90.0,
                             interval=0.25, what="every verdict on screen")
            s.save(img, "after-run-all")
            print("Run all with 20 taps: verdicts shown %.1f s after the tap" % (harness.now() - t0))
            time.sleep(1.0)
            self.assertEqual(status_lines(s), HEALTHY)
            runs = banners_run(p.stdout())
            self.assertEqual(runs, {name: 1 for name in BANNERS}, p.stdout()[-3000:])
            s.close_window(TITLE)
            self.assertEqual(p.wait(5.0), 0, p.output())

    def test_full_working_directory(self):
        """The working directory is full: a failing test never leaves the
        earlier "ok" on screen, and the status file stays whole."""
        with harness.Session() as s:
            lines = list(HEALTHY)
            lines[8] = "Not recorded: disk full"
            ref_full, labels, at = self.layout(s, lines, "not-recorded")
            ref_ok, _, _ = self.layout(s, HEALTHY, "ok")
            status = "".join(l + "\\n" for l in HEALTHY)
            prefix = ('mount -t tmpfs -o size=128k full "$PWD" && cd "$PWD" && printf "%%b" "%s" > zorazu_zove'
                      ' && mkdir Log && { dd if=/dev/zero of=fill bs=4k 2>/dev/null; true; } &&' % status)
            after = 'echo "status file: $(wc -l < zorazu_zove) lines"; cat zorazu_zove;'
            p = start(s, ["healthy", "pl2303_missing"], prefix, after, status_seen=False)
            s.tap(*at["pl2303"])
            img = s.wait_for(lambda im: self.shows(im, ref_full, labels[9]), 5.0, interval=0.1,
                             what="the label saying the result cannot be recorded")
            s.save(img, "full")
            self.assertFalse(self.shows(img, ref_ok, labels[9]))
            s.close_window(TITLE)
            self.assertEqual(p.wait(5.0), 0, p.output())
            out = p.stdout()
            self.assertIn("status file: 15 lines", out)
            self.assertNotIn("PL2303 Test ===", out)
            self.assertEqual(out.split("status file: 15 lines\n", 1)[1].splitlines(), HEALTHY)


if __name__ == "__main__":
    result = unittest.main(exit=False, verbosity=2).result
    if result.skipped and not result.failures and not result.errors and result.testsRun == len(result.skipped):
        sys.exit(77)
    sys.exit(0 if result.wasSuccessful() else 1)
