#!/usr/bin/python3
"""The Wayland backend under headless sway, driven by wl_fake_client (the
backend on a stand-in core): window and size, the picture in both buffer
formats, pointer and keyboard input, frame pacing, idling, closing, and the
failures (no compositor, compositor gone).

Needs tests/e2e/harness.py and its vpointer helper. Environment:
  LV_DRIVERS_FAKE_CLIENT  the wl_fake_client binary
  TESSEL_E2E_VPOINTER     the vpointer binary (else found in a build dir)
"""

import os
import re
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "e2e"))
import harness  # noqa: E402
from harness import hexrgb, rgb  # noqa: E402

TITLE = "Backend Probe"
# The client's colours as RGB565 widened back to 8 bits per channel: what
# the screen shows whether the buffer is RGB565 or XRGB8888.


def widened(value):
    r, g, b = hexrgb(value)
    r5, g6, b5 = r >> 3, g >> 2, b >> 3
    return ((r5 << 3) | (r5 >> 2), (g6 << 2) | (g6 >> 4), (b5 << 3) | (b5 >> 2))


BG = widened(0x2060C0)
PRESSED = widened(0xC03020)
RELEASED = widened(0x20A040)
BAR = widened(0xE0C020)
# Away from the parked cursor in the bottom-right corner.
PROBES = [(0, 0), (1279, 0), (0, 799), (640, 400), (1270, 790)]


def client():
    path = os.environ.get("LV_DRIVERS_FAKE_CLIENT")
    if not path:
        raise unittest.SkipTest("LV_DRIVERS_FAKE_CLIENT not set")
    return path


def lines_of(p, prefix):
    return [l for l in p.stdout().splitlines() if l.startswith(prefix)]


def wait_line(p, line, timeout=2.0):
    return harness.wait_until(lambda: line in p.stdout().splitlines(), timeout,
                              what="line %r in the client's output" % line)


def all_bg(img):
    return all(rgb(img, x, y) == BG for x, y in PROBES)


def main_thread_wakeups(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("voluntary_ctxt_switches:"):
                return int(line.split()[1])
    raise AssertionError("no voluntary_ctxt_switches for %d" % pid)


class Backend(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        missing = harness.missing_tools()
        if missing:
            raise unittest.SkipTest("not installed: " + ", ".join(missing))
        cls.client = client()

    def start(self, s, *args, env=None):
        p = s.start_app(self.client, args=list(args), env=env)
        node = s.wait_window(TITLE, timeout=5.0)
        return p, node

    def close_and_expect_exit(self, s, p, status=0):
        s.close_window(TITLE)
        rc = p.wait(2.0)
        self.assertEqual(rc, status, p.output())

    def check_press_release(self, s, p, x, y):
        s.press(x, y)
        s.wait_for(lambda im: rgb(im, x, y) == PRESSED and rgb(im, x - 19, y - 19) == PRESSED
                   and rgb(im, x - 21, y) == BG, timeout=2.0, what="pressed mark")
        s.release()
        s.wait_for(lambda im: rgb(im, x, y) == RELEASED, timeout=2.0, what="released mark")
        s.park()
        self.assertIn("press %d %d" % (x, y), p.stdout().splitlines())
        self.assertIn("release %d %d" % (x, y), p.stdout().splitlines())

    def test_rgb565_window_picture_input_and_close(self):
        with harness.Session() as s:
            p, node = self.start(s, env={"TESSEL_WAYLAND_STATS": "1"})
            self.assertEqual(node["rect"], {"x": 0, "y": 0, "width": 1280, "height": 800})
            s.wait_for(all_bg, timeout=3.0, what="background")
            self.assertIn("shm format RGB565", p.stderr())
            self.check_press_release(s, p, 300, 200)
            # A quick tap, shorter than the core's 30 ms read period, still
            # arrives as a press and a release.
            s.tap(900, 500, hold=0.0)
            wait_line(p, "release 900 500")
            self.assertIn("press 900 500", p.stdout().splitlines())
            self.close_and_expect_exit(s, p)
            out = p.stdout().splitlines()
            self.assertIn("close-request", out)
            self.assertTrue(out[-1].startswith("exit"), out)
            self.assertRegex(p.stderr(), r"first frame committed at [0-9.]+ ms after exec")
            self.assertRegex(p.stderr(), r"first frame shown \(frame callback\) at [0-9.]+ ms")

    def test_xrgb8888_fallback_shows_the_same_picture(self):
        with harness.Session() as s:
            p, _ = self.start(s, env={"TESSEL_WAYLAND_STATS": "1", "TESSEL_WAYLAND_FORCE_XRGB8888": "1"})
            s.wait_for(all_bg, timeout=3.0, what="background")
            self.assertIn("shm format XRGB8888", p.stderr())
            self.check_press_release(s, p, 640, 400)
            self.close_and_expect_exit(s, p)

    def test_the_requested_size_is_kept_and_the_window_floats(self):
        # Another size than the output's: the display keeps it, the compositor
        # learns it as min = max size, and sway floats the window (centred)
        # instead of tiling it to the whole output.
        with harness.Session() as s:
            p, node = self.start(s, "--size", "640x480")
            self.assertEqual(node["type"], "floating_con")
            self.assertEqual(node["rect"], {"x": 320, "y": 160, "width": 640, "height": 480})
            inside = [(320, 160), (959, 160), (320, 639), (959, 639)]
            s.wait_for(lambda im: all(rgb(im, x, y) == BG for x, y in inside), timeout=3.0,
                       what="the picture inside the window")
            img = s.screenshot()
            self.assertNotEqual(rgb(img, 319, 400), BG)
            self.assertNotEqual(rgb(img, 960, 400), BG)
            s.press(320 + 100, 160 + 50)
            wait_line(p, "press 100 50")
            s.release()
            wait_line(p, "release 100 50")
            time.sleep(0.2)
            self.assertEqual(lines_of(p, "display "), ["display 640 480"])
            self.close_and_expect_exit(s, p)

    def test_on_a_scaled_output_pixels_and_input_stay_one_to_one(self):
        # 1920x1080 at scale 2: the 1280x800 picture goes out with buffer
        # scale 2, so it covers 1280x800 output pixels (640x400 units), and
        # input in surface units comes back in the picture's pixels.
        with harness.Session(1920, 1080, scale=2) as s:
            p, node = self.start(s)
            self.assertEqual(node["type"], "floating_con")
            self.assertEqual(node["rect"], {"x": 320, "y": 140, "width": 1280, "height": 800})
            corners = [(320, 140), (1599, 140), (320, 939), (1599, 939)]
            s.wait_for(lambda im: all(rgb(im, x, y) == BG for x, y in corners), timeout=3.0,
                       what="the picture at 1:1")
            img = s.screenshot()
            for x, y in [(319, 500), (1600, 500), (900, 139), (900, 940)]:
                self.assertNotEqual(rgb(img, x, y), BG, "picture beyond its 1280x800 at %d,%d" % (x, y))
            s.press(320 + 1201, 140 + 751)
            wait_line(p, "press 1201 751")
            s.wait_for(lambda im: rgb(im, 320 + 1201, 140 + 751) == PRESSED
                       and rgb(im, 320 + 1201 - 20, 140 + 751) == PRESSED
                       and rgb(im, 320 + 1201 - 21, 140 + 751) == BG, timeout=2.0, what="mark at the press")
            s.release()
            wait_line(p, "release 1201 751")
            self.assertEqual(lines_of(p, "display "), ["display 1280 800"])
            self.close_and_expect_exit(s, p)

    def test_keyboard_reaches_the_keypad_device(self):
        if not harness.shutil.which("wtype"):
            self.skipTest("wtype not installed")
        with harness.Session() as s:
            p, _ = self.start(s)
            s.wait_for(all_bg, timeout=3.0, what="background")
            # wtype's virtual keyboard appears with its first key already
            # down (listed in wl_keyboard.enter, which is no key press): let
            # it settle before typing.
            r = subprocess.run(["wtype", "-s", "200", "-k", "Return", "a"], env=s.client_env(),
                               capture_output=True, text=True, timeout=5)
            self.assertEqual(r.returncode, 0, r.stderr)
            wait_line(p, "key 97 up")
            keys = lines_of(p, "key ")
            self.assertEqual(keys, ["key 10 down", "key 10 up", "key 97 down", "key 97 up"])
            self.close_and_expect_exit(s, p)

    def test_idle_client_sleeps(self):
        with harness.Session() as s:
            p, _ = self.start(s)
            s.wait_for(all_bg, timeout=3.0, what="background")
            time.sleep(0.3)  # the read timers pause after their first reads
            before = main_thread_wakeups(p.pid)
            time.sleep(2.0)
            woke = main_thread_wakeups(p.pid) - before
            self.assertLessEqual(woke, 2, "the idle client woke %d times in 2 s" % woke)
            # and it still answers input after the long sleep
            self.check_press_release(s, p, 100, 100)
            self.close_and_expect_exit(s, p)

    def test_frames_follow_the_compositor_not_the_renderer(self):
        with harness.Session() as s:
            p, _ = self.start(s, "--anim", env={"TESSEL_WAYLAND_STATS": "1"})
            first = s.wait_for(lambda im: any(rgb(im, x, 300) == BAR for x in range(0, 1264, 8)),
                               timeout=3.0, what="the bar")
            time.sleep(0.5)
            second = s.screenshot()
            self.assertNotEqual([rgb(first, x, 300) for x in range(0, 1280, 4)],
                                [rgb(second, x, 300) for x in range(0, 1280, 4)], "the picture stood still")
            time.sleep(1.5)
            self.close_and_expect_exit(s, p)
            renders = int(re.search(r"exit renders=(\d+)", p.stdout()).group(1))
            m = re.search(r"total (\d+) passes, (\d+) frames in ([0-9.]+) s", p.stderr())
            self.assertIsNotNone(m, p.stderr())
            frames, secs = int(m.group(2)), float(m.group(3))
            # sway's headless output runs at 60 Hz; the core renders every 2 ms.
            self.assertLessEqual(frames / secs, 70.0, p.stderr())
            self.assertGreater(frames / secs, 10.0, p.stderr())
            self.assertGreater(renders, 3 * frames, "renders %d, frames %d" % (renders, frames))

    def test_protocol_buffers_are_reused_only_after_release_and_damage_is_tight(self):
        # The client's own protocol log (WAYLAND_DEBUG) while it animates
        # and after a tap.
        attach = re.compile(r"-> wl_surface@\d+\.attach\(wl_buffer@(\d+),")
        create = re.compile(r"-> wl_shm_pool@\d+\.create_buffer\(new id wl_buffer@(\d+),")
        release = re.compile(r"^\[[ 0-9.]+\] +wl_buffer@(\d+)\.release\(\)")
        damage = re.compile(r"-> wl_surface@\d+\.damage_buffer\((-?\d+), (-?\d+), (-?\d+), (-?\d+)\)")
        with harness.Session() as s:
            p, _ = self.start(s, "--anim", env={"WAYLAND_DEBUG": "1"})
            s.wait_for(lambda im: any(rgb(im, x, 300) == BAR for x in range(0, 1264, 8)),
                       timeout=3.0, what="the bar")
            time.sleep(1.0)
            self.close_and_expect_exit(s, p)
            held, attaches, buffers = set(), 0, set()
            for line in p.stderr().splitlines():
                m = create.search(line)
                if m:
                    held.discard(m.group(1))
                    buffers.add(m.group(1))
                    continue
                m = attach.search(line)
                if m:
                    self.assertNotIn(m.group(1), held, "buffer %s attached while the compositor held it"
                                     % m.group(1))
                    held.add(m.group(1))
                    attaches += 1
                    continue
                m = release.search(line)
                if m:
                    held.discard(m.group(1))
            self.assertGreater(attaches, 20)
            self.assertLessEqual(len(buffers), 3)
            # After the first full frame only the bar's columns are damaged:
            # its old and new place, or, when several renders waited for one
            # frame callback, the stretch it crossed meanwhile.
            rects = [tuple(map(int, m.groups())) for m in damage.finditer(p.stderr())]
            self.assertEqual(rects[0], (0, 0, 1280, 800))
            self.assertTrue(all(y == 0 and h == 800 and w < 400 for _, y, w, h in rects[1:]), rects[:20])
            self.assertLess(sum(w for _, _, w, _ in rects[1:]) / (len(rects) - 1), 100, rects[:20])

        with harness.Session() as s:
            p, _ = self.start(s, env={"WAYLAND_DEBUG": "1"})
            s.wait_for(all_bg, timeout=3.0, what="background")
            s.tap(300, 200)
            wait_line(p, "release 300 200")
            s.wait_for(lambda im: rgb(im, 300, 200) == RELEASED, timeout=2.0, what="released mark")
            rects = [tuple(map(int, m.groups())) for m in damage.finditer(p.stderr())]
            self.assertEqual(rects[0], (0, 0, 1280, 800))
            self.assertGreaterEqual(len(rects), 3)
            self.assertEqual(set(rects[1:]), {(280, 180, 40, 40)})
            self.close_and_expect_exit(s, p)

    def test_a_refused_close_keeps_the_window(self):
        with harness.Session() as s:
            p, _ = self.start(s, "--refuse-close", "1")
            s.wait_for(all_bg, timeout=3.0, what="background")
            s.close_window(TITLE)
            wait_line(p, "close-request")
            time.sleep(0.3)
            self.assertIsNone(p.poll(), p.output())
            self.assertTrue(s.find_windows(TITLE))
            self.check_press_release(s, p, 500, 300)  # still drawn and fed
            self.close_and_expect_exit(s, p)
            self.assertEqual(len(lines_of(p, "close-request")), 2)

    def test_program_close_ends_the_loop(self):
        with harness.Session() as s:
            p, _ = self.start(s, "--close-after", "300")
            self.assertEqual(p.wait(3.0), 0, p.output())
            self.assertEqual(lines_of(p, "close-request"), [])
            harness.wait_until(lambda: not s.find_windows(TITLE), 2.0, what="window gone")

    def test_compositor_gone_ends_the_client_cleanly(self):
        with harness.Session() as s:
            p, _ = self.start(s)
            s.wait_for(all_bg, timeout=3.0, what="background")
            s.sway.stop(grace=3.0)
            rc = p.wait(3.0)
            self.assertEqual(rc, 0, p.output())
            self.assertIn("lost the connection to the Wayland compositor", p.stderr())
            self.assertIn("WAYLAND_DISPLAY=", p.stderr())

    def test_no_compositor_is_reported_and_exits_2(self):
        rc, out, elapsed = harness.run_without_compositor(self.client, timeout=5.0)
        self.assertEqual(rc, 2, out)
        self.assertIn("WAYLAND_DISPLAY=wayland-tessel-none", out)
        self.assertLess(elapsed, 2.0)


if __name__ == "__main__":
    harness.main()
