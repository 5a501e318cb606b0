#!/usr/bin/python3
"""gui_tessel under real headless compositors: time from exec to the first
frame, and from a press on a test button to the first frame that shows the
button pressed.

    bench/e2e_latency.py [--app build/gui_tessel] [--runs N] [--presses N] [--compositor weston|sway|both]

weston (kiosk-shell, the board's compositor; pixman): the press is a touch
down from the fixture module, and the module notes the first repaint after
which the button's pixels differ (both times taken inside weston), so the
figure is exact to the repaint. The touch is then cancelled (no click).
sway (pixman) with the virtual pointer: the press is a button-down; the
screen is polled with grim on the button's region, and the figure is the end
of the first capture that shows it (an upper bound; one capture's time is
printed as the resolution). The pointer then slides off the button before
the release (no click).

Exec to first frame: the backend's TESSEL_WAYLAND_STATS stamp of its first
frame callback minus the time taken here just before the exec. Runs as root
(the compositors run as nobody); needs the e2e helpers built
(tessel_e2e_vpointer, tessel_weston_fixture)."""

import argparse
import os
import re
import statistics
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
import harness  # noqa: E402
from harness import mismatch  # noqa: E402

TITLE = "GUI Tessel"
START_TAP = (640, 400)
I2C_BUTTON = (163, 275)
BUTTON_BOX = (95, 253, 140, 47)      # x, y, w, h: the I2C button
GAP = (640, 490)
DEVICE_TREE_LABEL = (810, 150, 1090, 180)
SHOWN = re.compile(r"first frame shown[^\n]*CLOCK_MONOTONIC (\d+)\.(\d{9})")


def reference(name):
    """The real LVGL 8.3's picture of a screen (the screen tests compare with it too)."""
    return harness.load_png(os.path.join(REPO, "tests", "app", "reference", name + ".png"))


def one_session(app, compositor, presses, ref_test):
    kw = {"compositor": compositor, "shell": "kiosk"} if compositor == "weston" else {}
    with harness.Session(**kw) as s:
        env = s.fake_tools({"i2cdetect": "", "i2cdump": "", "reboot": "", "amixer": ""})
        env["TESSEL_WAYLAND_STATS"] = "1"
        t0 = time.monotonic()
        p = s.start_app(app, env=env, name="gui_tessel")
        m = harness.wait_until(lambda: SHOWN.search(p.stderr()), 10.0, what="first frame stamp")
        first_frame = float(m.group(1)) + int(m.group(2)) / 1e9 - t0
        s.wait_window(TITLE)
        time.sleep(1.2)  # the intro
        if compositor == "weston":
            s.touch_tap(*START_TAP)
        else:
            s.tap(*START_TAP)
        s.wait_for(lambda im: mismatch(im, ref_test, ignore=[DEVICE_TREE_LABEL]) is None, timeout=5.0,
                   what="test screen")
        x, y, w, h = BUTTON_BOX
        released = ref_test.crop((x, y, x + w, y + h))
        latencies, capture = [], []
        for _ in range(presses):
            s.wait_for(lambda im: mismatch(im, released) is None, timeout=3.0, region=BUTTON_BOX,
                       what="button drawn released")
            time.sleep(0.1)
            if compositor == "weston":
                s.watch(BUTTON_BOX)
                s.touch_down(*I2C_BUTTON)
                r = harness.wait_until(s.watched, 3.0, interval=0.005, what="button drawn pressed")
                latencies.append(r[0])
                s.touch_cancel()
            else:
                s.move(*I2C_BUTTON)
                time.sleep(0.1)
                t = time.monotonic()
                s.press()
                while True:
                    c0 = time.monotonic()
                    img = s.screenshot(region=BUTTON_BOX)
                    c1 = time.monotonic()
                    if mismatch(img, released) is not None:
                        break
                    if c1 - t > 3.0:
                        raise AssertionError("button not drawn pressed within 3 s")
                latencies.append(c1 - t)
                capture.append(c1 - c0)
                s.move(*GAP)
                time.sleep(0.1)
                s.release()
                s.park()
        s.close_window(TITLE)
        p.wait(3.0)
        return first_frame, latencies, capture


def ms(values):
    return "median %.1f ms (min %.1f, max %.1f, n %d)" % (statistics.median(values) * 1e3, min(values) * 1e3,
                                                           max(values) * 1e3, len(values))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--app", default=os.path.join(REPO, "build", "gui_tessel"))
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--presses", type=int, default=10)
    ap.add_argument("--compositor", default="both", choices=["weston", "sway", "both"])
    a = ap.parse_args()
    ref_test = reference("test_progrem")
    comps = ["weston", "sway"] if a.compositor == "both" else [a.compositor]
    for comp in comps:
        starts, lat, cap = [], [], []
        for _ in range(a.runs):
            f, l, c = one_session(os.path.abspath(a.app), comp, a.presses, ref_test)
            starts.append(f)
            lat += l
            cap += c
        how = "touch down" if comp == "weston" else "pointer press"
        print("%s: exec -> first frame shown: %s" % (comp, ms(starts)))
        print("%s: %s -> first frame showing the pressed button: %s" % (comp, how, ms(lat)))
        if cap:
            print("%s:   (grim capture of the region, the resolution: %s)" % (comp, ms(cap)))


if __name__ == "__main__":
    main()
