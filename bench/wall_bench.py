#!/usr/bin/python3
"""The wall at the size of a line: a made-up day of 5,000 runs from 100
stations (real records and JUnit files, tests/wall/line_day.py, a sample
checked against docs/record.schema.json and junit.xsd) on the shipped nginx
configuration (tests/upload/line_server.py), the Yield view of that day in
headless Chromium:

  1. first full paint: from the navigation to the view drawn with every run
     (and the first figures drawn while the files come; and after a reload,
     the runs kept in the browser)
  2. a poll with nothing changed (the day's listing, nothing fetched)
  3. the poll after 20 runs arrive (the listing, the 20 files)
  4. the page's JavaScript heap after a garbage collection

  wall_bench.py [--smoke] [--runs N] [--stations N] [--screenshots DIR]

--smoke (or TESSEL_BENCH_SMOKE=1): 500 runs from 20 stations, one poll each.
--screenshots DIR: draws the three views over a day of one line (24
stations, today until now) into DIR/wall-stations.png, wall-yield.png and
wall-board.png instead (the README's pictures). As root (nginx's workers)."""

import argparse
import json
import os
import random
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path[:0] = [os.path.join(REPO, "tests", "wall"), os.path.join(REPO, "tests", "upload"),
                os.path.join(REPO, "tests", "record")]
import browser  # noqa: E402
import line_day  # noqa: E402
from line_server import LineServer  # noqa: E402

DAY_MS = 86400000


def check_sample(html, ids, n):
    import check_record
    schema = os.path.join(REPO, "docs", "record.schema.json")
    for run_id in random.Random(5).sample(ids, min(n, len(ids))):
        day = "%s-%s-%s" % (run_id[-20:-16], run_id[-16:-14], run_id[-14:-12])
        base = os.path.join(html, "runs", day, run_id)
        found = list(check_record.problems(schema, base + ".json", base + ".xml"))
        if found:
            sys.exit("generated record %s: %s" % (run_id, "; ".join(found)))


def wait(b, script, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        v = b.execute_script(script)
        if v:
            return v
        time.sleep(0.05)
    sys.exit("the wall: %s not within %d s (%s)" % (what, timeout, b.execute_script("return JSON.stringify(wallStats)")))


def bench(runs, stations, unchanged_polls):
    day_ms = (int(time.time() * 1000) // DAY_MS - 1) * DAY_MS  # yesterday, a whole day
    day = line_day.iso(day_ms)[:10]
    with LineServer() as server:
        server.set("healthy")
        t0 = time.monotonic()
        ids = line_day.day(server.html, day_ms, stations=stations, runs=runs)
        print("a day of %d runs from %d stations written in %.1f s (%.0f MB)" % (
            len(ids), stations, time.monotonic() - t0, sum(
                os.path.getsize(os.path.join(r, f)) for r, _, fs in os.walk(server.html) for f in fs) / 1e6))
        check_sample(server.html, ids, 20)
        b = browser.chromium(1600, 1000)
        if b is None:
            sys.exit("chromium, chromedriver or python3-selenium not installed")
        try:
            b.get(server.url + "/#yield?day=" + day)
            paint = wait(b, "return window.wallStats.fullPaintMs", 120, "the first full paint")
            shown = b.execute_script("return document.querySelector('.kpi[data-figure=tested] .detail').textContent")
            if shown != "%d runs" % len(ids):
                sys.exit("the Yield view shows %r, not %d runs" % (shown, len(ids)))
            # polls with nothing changed
            n0 = b.execute_script("return wallStats.polls")
            wait(b, "return wallStats.polls >= %d" % (n0 + unchanged_polls), 10 * unchanged_polls + 10, "the polls")
            st = b.execute_script("return wallStats")
            quiet = st["pollMs"][-unchanged_polls:]
            if st["fetched"] != len(ids):
                sys.exit("files fetched again with nothing changed: %d for %d" % (st["fetched"], len(ids)))
            # 20 runs arrive
            rnd = random.Random(9)
            for k in range(20):
                start = day_ms + DAY_MS - 3600000 + k * 60000
                tests = line_day.run_tests(start, ["passed"] * 15, rnd, tail_lines=20)
                rid, js, xml = line_day.record("%016X" % (0xA0000000 + k), start, tests, "line9-slot%02d" % k,
                                               closed_ms=tests[-1]["end"] + 1000)
                line_day.put_run(server.html, rid, js, xml)
            # the poll that fetched them (a file changed less than 2 s before a listing is read once more)
            k = wait(b, "const i = wallStats.pollFetched.lastIndexOf(20); return i > 0 && i < wallStats.pollMs.length - 1"
                        " && i + 1", 30, "the new runs") - 1
            arrived = b.execute_script("return wallStats.pollMs[%d]" % k)
            again = b.execute_script("return wallStats.pollFetched[%d]" % (k + 1))
            shown = b.execute_script("return document.querySelector('.kpi[data-figure=tested] .detail').textContent")
            if shown != "%d runs" % (len(ids) + 20):
                sys.exit("after 20 more runs the Yield view shows %r" % shown)
            heap = browser.js_heap_mb(b)
            first = b.execute_script("return wallStats.firstPaintMs")
            # reloaded: the runs come from the browser's own store, only the listing from the server
            b.refresh()
            warm = wait(b, "return window.wallStats.fullPaintMs", 120, "the first full paint after a reload")
            warm_fetched = b.execute_script("return wallStats.fetched")
        finally:
            b.quit()
    print("the wall's Yield view, %d runs from %d stations, headless Chromium:" % (len(ids), stations))
    print("  first full paint (navigation to every run drawn): %.0f ms   (aim: under 3000 ms)" % paint)
    print("    figures first drawn while the files come: %.0f ms" % first)
    print("    the page reloaded (the runs kept in the browser): %.0f ms, %d files fetched" % (warm, warm_fetched))
    print("  poll with nothing changed: median %.0f ms, max %.0f ms over %d   (aim: under 150 ms)"
          % (statistics.median(quiet), max(quiet), len(quiet)))
    print("  poll after 20 runs arrived: %.0f ms (%d of them read once more by the next poll)" % (arrived, again))
    print("  JavaScript heap: %.1f MB   (aim: under 150 MB)" % heap)


def put_heartbeats(html, names, now, rnd, runs_by_station):
    looks = ["idle", "running USB1", "idle", "running CSI", "idle", "rebooting", "idle", "running Audio",
             "stopped", "lost", "idle", "running PL2303"]
    for i, name in enumerate(names):
        look = looks[i % len(looks)]
        last = runs_by_station.get(name)
        verdicts = []
        for n in range(1, 16):
            t = next((t for t in last["tests"] if t["line"] == n), None) if last else None
            verdicts.append({"line": n, "verdict": t["status_line"] if t else None, "outcome": t["outcome"] if t else "not run"})
        if i == 2:  # a board that failed here a moment ago
            verdicts[6].update(verdict="USB1 Test failed", outcome="failed")
        if look.startswith("running"):
            line = line_day.NAMES.index(look.split(" ", 1)[1]) + 1
            for v in verdicts[line - 1:]:
                v.update(verdict=None, outcome="not run")
        doc = {"station": name, "program": "GUI Tessel", "version": "v1.3-2-g51c0e9a",
               "board": {"serial_number": last["board"]["serial_number"] if last else "unknown", "model": line_day.MODEL},
               "state": "idle" if look == "lost" else look, "run_id": last["run"]["id"] if last else None,
               "verdicts": verdicts, "outbox": 2 if look == "lost" else (1 if i == 4 else 0),
               "upload_error": None, "time": line_day.iso(int(now * 1000)), "heartbeat_s": 5}
        line_day.put(html, "stations/%s.json" % name, json.dumps(doc),
                     now - (95 if look == "lost" else 900 if look == "stopped" else rnd.uniform(0, 4)))


def screenshots(out):
    from PIL import Image
    now = time.time()
    day_ms = int(now * 1000) // DAY_MS * DAY_MS
    rnd = random.Random(11)
    with LineServer() as server:
        server.set("healthy")
        until = int(now * 1000) - 120000
        if until - day_ms < 4 * 3600000:  # early in the UTC day: the pictures take yesterday's
            day_ms -= DAY_MS
            until = day_ms + DAY_MS
        ids = line_day.day(server.html, day_ms, stations=24, runs=24 * max(6, (until - day_ms) // 1500000),
                           seed=4, until_ms=until)
        check_sample(server.html, ids, 5)
        day = line_day.iso(day_ms)[:10]
        folder = os.path.join(server.html, "runs", day)
        last, by_serial = {}, {}
        for rid in ids:
            with open(os.path.join(folder, rid + ".json")) as f:
                rec = json.load(f)
            last[rec["board"]["hostname"]] = rec
            by_serial.setdefault(rid[:-21], []).append(rec)
        names = sorted(last)
        put_heartbeats(server.html, names, now, rnd, last)
        # the board in the picture: failed first, passed on a retest
        serial = next(s for s, rs in reversed(list(by_serial.items())) if len(rs) > 1 and
                      any(t["outcome"] != "passed" for t in rs[0]["tests"]) and
                      all(t["outcome"] == "passed" for t in rs[-1]["tests"]))
        b = browser.chromium(1600, 1000)
        try:
            for name, frag, height, ready in (
                    ("stations", "#stations", 1000, "document.querySelectorAll('.tile').length === %d" % len(names)),
                    ("yield", "#yield?day=" + day, 1480, "document.querySelectorAll('.kpi').length > 0 && "
                     "!document.querySelector('#view-yield.reading')"),
                    ("board", "#board?serial=" + serial, 1000, "document.querySelectorAll('.run-card').length > 0")):
                b.set_window_size(1600, height)
                b.get(server.url + "/" + frag)
                wait(b, "return window.wallStats && wallStats.hash === %s && %s" % (json.dumps(frag), ready), 60, name)
                time.sleep(0.6)
                raw = os.path.join(out, "wall-%s.raw.png" % name)
                b.save_screenshot(raw)
                png = os.path.join(out, "wall-%s.png" % name)
                with Image.open(raw) as im:
                    im.convert("RGB").quantize(256, method=Image.Quantize.MAXCOVERAGE).save(png, optimize=True)
                os.unlink(raw)
                print("wrote %s (%d bytes)" % (png, os.path.getsize(png)))
        finally:
            b.quit()


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--smoke", action="store_true", default=os.environ.get("TESSEL_BENCH_SMOKE") == "1")
    ap.add_argument("--runs", type=int)
    ap.add_argument("--stations", type=int)
    ap.add_argument("--screenshots")
    a = ap.parse_args()
    if os.geteuid() != 0:
        sys.exit("run as root (nginx's workers)")
    if a.screenshots:
        screenshots(a.screenshots)
        return
    bench(a.runs or (500 if a.smoke else 5000), a.stations or (20 if a.smoke else 100), 1 if a.smoke else 3)


if __name__ == "__main__":
    main()
