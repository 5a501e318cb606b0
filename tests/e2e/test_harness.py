#!/usr/bin/python3
"""Checks the e2e harness itself against probe_client under headless sway:
window mapping, screenshots, pointer injection (taps, drags), close and
teardown. If these fail, the application cases cannot be trusted."""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
from harness import hexrgb, rgb  # noqa: E402

TITLE = "GUI Tessel Probe"
# probe_client's colour cycle, advanced on every press
COLOURS = [hexrgb(c) for c in (0x2060C0, 0xC03020, 0x20A040, 0xE0C020)]

# spread over the window, away from the parked cursor
GRID = [(x, y) for x in (0, 5, 320, 640, 960, 1270) for y in (0, 5, 200, 400, 600, 790)]


def filled_with(colour):
    return lambda img: all(rgb(img, x, y) == colour for x, y in GRID)


def press_lines(out, kind="press"):
    return [tuple(int(v) for v in line.split()[1:3])
            for line in out.splitlines() if line.startswith(kind + " ")]


def reported(p, releases, timeout=2.0):
    """probe output once it holds `releases` release lines: input reaches the
    client after vpointer has replied, so the client's stdout lags a little."""
    def enough():
        out = p.stdout()
        return out if len(press_lines(out, "release")) >= releases else None
    return harness.wait_until(enough, timeout, what="%d releases reported" % releases)


class ProbeSession(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = harness.missing_tools()
        if missing:
            raise unittest.SkipTest("not installed: " + ", ".join(missing))
        cls.probe = harness._find_helper("TESSEL_E2E_PROBE", "probe_client")

    def start_probe(self, s):
        p = s.start_app(self.probe, name="probe")
        node = s.wait_window(TITLE, timeout=5.0)
        return p, node

    def test_window_screenshot_tap_and_close(self):
        with harness.Session() as s:
            p, node = self.start_probe(s)
            self.assertEqual(node["rect"], {"x": 0, "y": 0, "width": 1280, "height": 800})

            img = s.wait_for(filled_with(COLOURS[0]), timeout=3.0, what="first colour")
            self.assertEqual(img.size, (1280, 800))
            # the only foreign pixels are the parked cursor's few in the corner
            bad = [(x, y) for x in range(0, 1280, 16) for y in range(0, 800, 16)
                   if rgb(img, x, y) != COLOURS[0]]
            self.assertEqual(bad, [])
            full = img.crop((0, 0, 1280, 800)).getcolors(1 << 16)
            self.assertEqual(max(full)[1], COLOURS[0])
            corner_free = img.copy()
            corner_free.paste(COLOURS[0], harness.PARK_BOX)
            self.assertEqual(corner_free.getcolors(4), [(1280 * 800, COLOURS[0])])

            # a saved PNG is the same picture
            path = os.path.join(s.dir, "check.png")
            png = s.screenshot(path)
            self.assertTrue(os.path.getsize(path) > 0)
            self.assertEqual(rgb(png, 640, 400), COLOURS[0])

            # regions map to output coordinates
            part = s.screenshot(region=(600, 380, 80, 40))
            self.assertEqual(part.size, (80, 40))
            self.assertEqual(rgb(part, 40, 20), COLOURS[0])

            s.tap(640, 400)
            s.wait_for(filled_with(COLOURS[1]), timeout=2.0, what="colour after tap")
            out = reported(p, 1)
            self.assertEqual(press_lines(out), [(640, 400)])
            self.assertEqual(press_lines(out, "release"), [(640, 400)])

            t0 = time.monotonic()
            s.close_window(TITLE)
            rc = p.wait(1.0)
            self.assertEqual(rc, 0, p.output())
            self.assertLess(p.ended - t0, 1.0)
            self.assertIn("closed", p.stdout().splitlines())

    def test_every_tap_arrives_at_its_point(self):
        points = [(640, 400), (1, 1), (1278, 1), (1, 798), (1276, 796), (640, 400), (640, 400),
                  (300, 700), (1000, 100), (999, 101)]
        with harness.Session() as s:
            p, _ = self.start_probe(s)
            s.wait_for(filled_with(COLOURS[0]), timeout=3.0)
            for n, (x, y) in enumerate(points, 1):
                s.tap(x, y)
                s.wait_for(filled_with(COLOURS[n % len(COLOURS)]), timeout=2.0,
                           what="colour after tap %d at %d,%d" % (n, x, y))
            out = reported(p, len(points))
            self.assertEqual(press_lines(out), points)
            self.assertEqual(press_lines(out, "release"), points)

    def test_drag_moves_while_pressed(self):
        with harness.Session() as s:
            p, _ = self.start_probe(s)
            s.wait_for(filled_with(COLOURS[0]), timeout=3.0)
            s.drag(100, 100, 1100, 700, steps=10)
            out = reported(p, 1)
            self.assertEqual(press_lines(out), [(100, 100)])
            motion = press_lines(out, "motion")
            self.assertEqual(len(motion), 10, out)
            self.assertEqual(motion[0], (200, 160))
            self.assertEqual(motion[-1], (1100, 700))
            xs = [m[0] for m in motion]
            self.assertEqual(xs, sorted(xs))
            self.assertEqual(press_lines(out, "release"), [(1100, 700)])

            # the split form: press, move, release
            s.press(50, 60)
            s.move(70, 80)
            s.release()
            out = reported(p, 2)
            self.assertEqual(press_lines(out)[-1], (50, 60))
            self.assertEqual(press_lines(out, "motion")[-1], (70, 80))
            self.assertEqual(press_lines(out, "release")[-1], (70, 80))

    def test_cursor_is_drawn_unless_parked(self):
        with harness.Session() as s:
            self.start_probe(s)
            s.wait_for(filled_with(COLOURS[0]), timeout=3.0)
            s.move(640, 400)
            seen = s.screenshot(region=(630, 390, 40, 40))
            self.assertGreater(len(seen.getcolors(1 << 12)), 1, "cursor not in the screenshot")
            s.park()
            clean = s.screenshot(region=(630, 390, 40, 40))
            self.assertEqual(clean.getcolors(4), [(1600, COLOURS[0])])

    def test_waits_end_at_their_deadline(self):
        with harness.Session() as s:
            t0 = time.monotonic()
            with self.assertRaises(AssertionError):
                s.wait_window("no such window", timeout=0.3)
            self.assertLess(time.monotonic() - t0, 1.0)

            t0 = time.monotonic()
            with self.assertRaises(AssertionError):
                s.wait_for(lambda img: False, timeout=0.3, region=(0, 0, 8, 8))
            self.assertLess(time.monotonic() - t0, 1.0)

            # a client that dies early is reported at once, not after the timeout
            s.start_app("/bin/false", name="dies")
            t0 = time.monotonic()
            with self.assertRaisesRegex(AssertionError, "exited with 1"):
                s.wait_window("never", timeout=5.0)
            self.assertLess(time.monotonic() - t0, 1.0)

    def test_teardown_stops_only_its_own_processes(self):
        bystander = subprocess.Popen(["sleep", "30"])
        try:
            s = harness.Session()
            with s:
                p, _ = self.start_probe(s)
                # a client that ignores SIGTERM is killed after the grace period
                stubborn = s.start_app(sys.executable, [
                    "-c", "import signal, time; signal.signal(signal.SIGTERM, signal.SIG_IGN); "
                          "print('armed', flush=True); time.sleep(30)"], name="stubborn")
                deadline = time.monotonic() + 5
                while "armed" not in stubborn.stdout() and time.monotonic() < deadline:
                    time.sleep(0.02)
                pids = [s.sway.pid, s.vpointer.pid, p.pid, stubborn.pid]
                session_dir = s.dir
            for pid in pids:
                self.assertFalse(os.path.exists("/proc/%d" % pid) and
                                 open("/proc/%d/stat" % pid).read().split()[2] != "Z",
                                 "pid %d survived teardown" % pid)
            self.assertLess(s.timings["teardown"], 5.0)
            self.assertFalse(os.path.exists(session_dir))
            self.assertIsNone(bystander.poll(), "teardown touched a process it did not start")
        finally:
            bystander.kill()
            bystander.wait(5)

    def test_run_without_compositor(self):
        rc, out, elapsed = harness.run_without_compositor(self.probe, timeout=5.0)
        self.assertIsNotNone(rc)
        self.assertNotEqual(rc, 0)
        self.assertLess(elapsed, 1.0)
        self.assertIn("cannot connect", out)


if __name__ == "__main__":
    harness.main()
