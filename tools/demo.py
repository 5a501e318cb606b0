#!/usr/bin/python3
"""Demo of GUI Tessel without a Wayland session: a private headless sway, the
application on the healthy simulated board, a walk through every screen and a
tap on "All_TEST". Screenshots go to the output folder.

    tools/demo.py [--app build/gui_tessel] [--out demo-out]

Needs root (the simulated board uses mount namespaces); tools/run.sh asks for it."""

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

# Where things are on the 1280 x 800 screens.
START_PICTURE = (640, 400)
ALL_TEST = (238 + 70, 128 + 27)
GEAR = (670 + 457 + 47, 228 + 10 + 44)
REBOOT = (694 + 401 + 57, 93 + 61 + 19)
BACK = (110 + 42 + 65, 89 + 452 + 27)
NO = (179 + 368 + 80, 148 + 305 + 30)
I2C_LABEL = (46 + 208, 228 + 25, 300, 40)  # x, y, w, h

TEST_SCREEN_BG = (0x90, 0xF0, 0xF8)


def looks_like_test_screen(img):
    # the light-blue gradient at the left edge under the faint background picture
    return harness.near(harness.rgb(img, 8, 400), TEST_SCREEN_BG, 40)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--app", default=os.path.join(REPO, "build", "gui_tessel"))
    ap.add_argument("--out", default=os.path.join(REPO, "demo-out"))
    opts = ap.parse_args()
    if os.geteuid() != 0:
        sys.exit("demo: needs root for the simulated board (run tools/run.sh)")
    app = os.path.abspath(opts.app)
    out = os.path.abspath(opts.out)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)

    def shot(s, name):
        path = os.path.join(out, name)
        s.screenshot(path)
        print("  " + path)

    with harness.Session() as s:
        print("demo: headless sway started, application on the healthy simulated board")
        s.start_app(SIMBOARD_RUN,
                    ["-s", "healthy", "-b", s.dir, "-b", out, "--", "bash", "-c",
                     '/.simboard/lib/sb-scenario workdir . && exec "$0"', app],
                    name="gui_tessel")
        s.wait_window(TITLE, timeout=15.0)
        time.sleep(1.0)  # the intro animation takes 660 ms
        s.park()
        shot(s, "1-start.png")

        s.tap(*START_PICTURE)
        s.wait_for(looks_like_test_screen, timeout=5.0, what="test screen")
        time.sleep(0.5)
        shot(s, "2-test-screen.png")

        print("demo: tapping All_TEST (every board test runs; the window is frozen meanwhile)")
        before = s.screenshot(region=I2C_LABEL)
        s.tap(*ALL_TEST)
        s.wait_for(lambda img: list(img.getdata()) != list(before.getdata()), timeout=120.0,
                   region=I2C_LABEL, interval=0.5, what="results of All_TEST")
        time.sleep(1.0)
        shot(s, "3-all-test-results.png")

        s.tap(*GEAR)
        s.wait_for(lambda img: not looks_like_test_screen(img), timeout=5.0, what="setup screen")
        time.sleep(0.3)
        shot(s, "4-setup-screen.png")
        s.tap(*BACK)
        s.wait_for(looks_like_test_screen, timeout=5.0, what="test screen after Back")
        time.sleep(0.5)

        s.tap(*REBOOT)
        s.wait_for(lambda img: not looks_like_test_screen(img), timeout=5.0, what="reboot screen")
        time.sleep(0.3)
        shot(s, "5-reboot-screen.png")
        s.tap(*NO)
        s.wait_for(looks_like_test_screen, timeout=5.0, what="test screen after No")
        time.sleep(0.5)
        shot(s, "6-test-screen-again.png")

        s.close_window(TITLE)
        time.sleep(0.5)
    print("demo: screenshots in %s" % out)


if __name__ == "__main__":
    try:
        main()
    except harness.Skip as e:
        sys.exit("demo: cannot run: %s (run tools/install-deps.sh)" % e)
