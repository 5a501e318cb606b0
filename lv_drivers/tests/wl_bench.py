#!/usr/bin/python3
"""Measure a client of the Wayland backend under headless sway:
(a) time from exec to the first frame committed and shown, and
(b) main-thread wake-ups per second while idle.

    wl_bench.py [--settle S] [--seconds S] [--runs N] BINARY [ARGS...]

BINARY is any program on the backend (gui_tessel, lv_drivers_fake_client,
lv_drivers_wl_demo). It runs with TESSEL_WAYLAND_STATS=1; the backend prints
the CLOCK_MONOTONIC time of the first commit and of the first frame callback,
which is compared with the time taken here just before the exec. Idle
wake-ups are the main thread's voluntary context switches (every return from
poll counts one) over --seconds, after --settle seconds for start-up
animations to end. The backend's own totals (timer-handler passes and frames
over the whole run) are printed from its exit line.

Needs tests/e2e/harness.py (sway, grim, the vpointer helper: set
TESSEL_E2E_VPOINTER or build it in a build*/ directory).
"""

import argparse
import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "e2e"))
import harness  # noqa: E402

STAMP = re.compile(r"first frame (committed|shown)[^\n]*CLOCK_MONOTONIC (\d+)\.(\d{9})")
TOTAL = re.compile(r"lv_wayland stats: total .*")


def ctx_switches(pid):
    with open("/proc/%d/task/%d/status" % (pid, pid)) as f:
        for line in f:
            if line.startswith("voluntary_ctxt_switches:"):
                return int(line.split()[1])
    raise RuntimeError("no context-switch count for %d" % pid)


def one_run(binary, args, settle, seconds, tap=None):
    with harness.Session() as s:
        t0 = time.monotonic()
        p = s.start_app(binary, args=args, env={"TESSEL_WAYLAND_STATS": "1"})
        stamps = harness.wait_until(
            lambda: dict((m.group(1), int(m.group(2)) + int(m.group(3)) / 1e9)
                         for m in STAMP.finditer(p.stderr())) if len(STAMP.findall(p.stderr())) >= 2 else None,
            10.0, what="first-frame lines on stderr")
        if tap:
            time.sleep(1.0)  # past any intro animation
            s.tap(*tap)  # e.g. to idle on gui_tessel's test screen instead of its start screen
        time.sleep(settle)
        c0 = ctx_switches(p.pid)
        time.sleep(seconds)
        c1 = ctx_switches(p.pid)
        s.close_window(title_of(s, p))
        p.wait(3.0)
        total = TOTAL.search(p.stderr())
        return {
            "commit_ms": (stamps["committed"] - t0) * 1e3,
            "shown_ms": (stamps["shown"] - t0) * 1e3,
            "idle_wakeups_per_s": (c1 - c0) / seconds,
            "total": total.group(0) if total else "(no totals: the client did not exit)",
        }


def title_of(s, p):
    def walk(node):
        if node.get("pid") == p.pid and node.get("name"):
            return node["name"]
        for child in node.get("nodes", []) + node.get("floating_nodes", []):
            t = walk(child)
            if t:
                return t
        return None
    return walk(s.get_tree())


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--settle", type=float, default=3.0)
    ap.add_argument("--seconds", type=float, default=5.0)
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--tap", help="X,Y to tap once after the first frame, before settling")
    ap.add_argument("binary")
    ap.add_argument("args", nargs=argparse.REMAINDER)
    a = ap.parse_args()
    tap = tuple(int(v) for v in a.tap.split(",")) if a.tap else None
    results = [one_run(os.path.abspath(a.binary), a.args, a.settle, a.seconds, tap) for _ in range(a.runs)]
    for i, r in enumerate(results):
        print("run %d: exec->first commit %.1f ms, exec->first frame shown %.1f ms, idle %.2f wake-ups/s"
              % (i + 1, r["commit_ms"], r["shown_ms"], r["idle_wakeups_per_s"]))
        print("       " + r["total"])
    shown = sorted(r["shown_ms"] for r in results)
    idle = sorted(r["idle_wakeups_per_s"] for r in results)
    print("median: first frame shown %.1f ms, idle %.2f wake-ups/s" % (shown[len(shown) // 2], idle[len(idle) // 2]))


if __name__ == "__main__":
    main()
