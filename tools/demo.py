#!/usr/bin/python3
"""Demo of GUI Tessel without a Wayland session: a private headless sway, the
application on the healthy simulated board, a tap on "All_TEST", and a walk
through the setup and reboot screens once every test has its verdict.
Screenshots go to the output folder.

    tools/demo.py [--app build/gui_tessel] [--out demo-out]

Needs root (the simulated board uses mount namespaces); tools/run.sh asks for it.
Exit status 0 when every step was seen on screen; 1 with what it waited for
and the last picture otherwise."""

import argparse
import os
import shutil
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
import harness  # noqa: E402

TITLE = "GUI Tessel"
SIMBOARD_RUN = os.path.join(REPO, "tests", "simboard", "simboard-run")
LINES = 15
RUN_ALL_LIMIT = 600.0  # the USB tests' own limits are 300 s each

# Where things are on the 1280 x 800 screens.
START_PICTURE = (640, 400)
ALL_TEST = (238 + 70, 128 + 27)
GEAR = (670 + 457 + 47, 228 + 10 + 44)
REBOOT = (694 + 401 + 57, 93 + 61 + 19)
BACK = (110 + 42 + 65, 89 + 452 + 27)
NO = (179 + 368 + 80, 148 + 305 + 30)
RESULT_COLUMN = (46 + 208, 220, 420, 560)  # x, y, w, h: the result labels

TEST_SCREEN_BG = (0x90, 0xF0, 0xF8)


class DemoFailed(Exception):
    pass


def looks_like_test_screen(img):
    # the light-blue gradient at the left edge under the faint background picture
    return harness.near(harness.rgb(img, 8, 400), TEST_SCREEN_BG, 40)


def status_lines(work):
    try:
        with open(os.path.join(work, "zorazu_zove"), errors="replace") as f:
            return f.read().splitlines()
    except OSError:
        return []


def every_line_has_a_verdict(work):
    lines = status_lines(work)
    return len(lines) >= LINES and all(l.strip() and l.strip() != "not yet" for l in lines[:LINES])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--app", default=os.path.join(REPO, "build", "gui_tessel"))
    ap.add_argument("--out", default=os.path.join(REPO, "demo-out"))
    opts = ap.parse_args()
    if os.geteuid() != 0:
        sys.exit("demo: needs root for the simulated board (run tools/run.sh)")
    app = os.path.abspath(opts.app)
    # the board sees the program's folder wherever it was built
    os.environ["SIMBOARD_PASS"] = os.path.dirname(app)
    out = os.path.abspath(opts.out)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    t_start = time.monotonic()
    last = {"img": None}

    def shot(s, name):
        path = os.path.join(out, name)
        last["img"] = s.screenshot(path)
        print("  " + path)

    def wait_for(s, predicate, timeout, what, region=None, interval=0.05):
        deadline = time.monotonic() + timeout
        while True:
            img = s.screenshot(region=region)
            last["img"] = img
            if predicate(img):
                return img
            if time.monotonic() >= deadline:
                raise DemoFailed("%s not seen within %.0f s" % (what, timeout))
            time.sleep(interval)

    def settled(s, what, timeout=10.0):
        """Waits until two pictures 0.3 s apart are the same (animations done)."""
        prev = [s.screenshot()]

        def same(img):
            unchanged = img.tobytes() == prev[0].tobytes()
            prev[0] = img
            time.sleep(0.3)
            return unchanged
        return wait_for(s, same, timeout, what)

    session = harness.Session()
    try:
        with session as s:
            print("demo: headless sway started, application on the healthy simulated board")
            s.start_app(SIMBOARD_RUN,
                        ["-s", "healthy", "-b", s.dir, "-b", out, "--", "bash", "-c",
                         '/.simboard/lib/sb-scenario workdir . && exec "$0"', app],
                        name="gui_tessel")
            try:
                s.wait_window(TITLE, timeout=15.0)
            except AssertionError as e:
                raise DemoFailed("the window: %s" % e)
            s.park()
            settled(s, "the start screen after its intro")
            shot(s, "1-start.png")

            s.tap(*START_PICTURE)
            wait_for(s, looks_like_test_screen, 5.0, "the test screen")
            settled(s, "the test screen")
            shot(s, "2-test-screen.png")

            print("demo: tapping All_TEST; the window keeps drawing while each test runs")
            before = s.screenshot(region=RESULT_COLUMN)
            s.tap(*ALL_TEST)
            wait_for(s, lambda img: img.tobytes() != before.tobytes(), 10.0,
                     "the first test's label changing after All_TEST", region=RESULT_COLUMN)
            shot(s, "3-run-all-running.png")
            deadline = time.monotonic() + RUN_ALL_LIMIT
            while not every_line_has_a_verdict(s.work):
                if time.monotonic() >= deadline:
                    last["img"] = s.screenshot()
                    raise DemoFailed("a verdict on all %d status lines within %.0f s (they read: %s)"
                                     % (LINES, RUN_ALL_LIMIT, status_lines(s.work)))
                time.sleep(0.25)
            settled(s, "the test screen with every verdict")
            shot(s, "4-run-all-results.png")
            with open(os.path.join(out, "status.txt"), "w") as f:
                f.write("".join(l + "\n" for l in status_lines(s.work)))

            s.tap(*GEAR)
            wait_for(s, lambda img: not looks_like_test_screen(img), 5.0, "the setup screen")
            settled(s, "the setup screen")
            shot(s, "5-setup-screen.png")
            s.tap(*BACK)
            wait_for(s, looks_like_test_screen, 5.0, "the test screen after Back")

            s.tap(*REBOOT)
            wait_for(s, lambda img: not looks_like_test_screen(img), 5.0, "the reboot screen")
            settled(s, "the reboot screen")
            shot(s, "6-reboot-screen.png")
            s.tap(*NO)
            wait_for(s, looks_like_test_screen, 5.0, "the test screen after No")
            settled(s, "the test screen after No")
            shot(s, "7-test-screen-again.png")

            s.close_window(TITLE)
            time.sleep(0.5)
    except DemoFailed as e:
        path = os.path.join(out, "last.png")
        if last["img"] is not None:
            last["img"].save(path)
        sys.exit("demo: failed: waited for %s; the last picture: %s" % (e, path))
    print("demo: done in %.0f s; screenshots in %s" % (time.monotonic() - t_start, out))


if __name__ == "__main__":
    try:
        main()
    except harness.Skip as e:
        sys.exit("demo: cannot run: %s (run tools/install-deps.sh)" % e)
