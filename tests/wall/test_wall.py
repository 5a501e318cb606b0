#!/usr/bin/python3
"""The wall (deploy/wall/) in headless Chromium against the shipped nginx
configuration (tests/upload/line_server.py), one journey over a small made-up
day: the Yield view's figures against a computation of their own here over
the same files, the CSV, the Board view, the Stations view, and hostile and
broken files among them. Exit status 77 when it cannot run here."""

import csv
import json
import math
import os
import random
import shutil
import statistics
import sys
import tempfile
import time
import unittest
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path[:0] = [HERE, os.path.join(REPO, "tests", "upload")]
import browser  # noqa: E402
import line_day as ld  # noqa: E402
from line_server import LineServer  # noqa: E402

H = 3600000
T0 = (int(time.time() * 1000) // (24 * H) - 2) * 24 * H  # the day before yesterday, 00:00 UTC
DAY = ld.iso(T0)[:10]
ALL = ["passed"] * 15
NOJS = "NOJS000000000011-" + ld.file_time(T0 + 10 * H)
GONE = "GONE000000000012-" + ld.file_time(T0 + 11 * H)
XSS = "<img src=x onerror=window.__pwned=1><script>window.__pwned=2</script>"


def outcomes(**changes):
    o = list(ALL)
    for line, v in changes.items():
        o[int(line[1:]) - 1] = v
    return o


# serial, station, start, outcomes per line (None: no result), attempts, layout
RUNS = [
    ("AAAA000000000001", "st-a", T0 + 1 * H, ALL, {}, "day"),                        # first pass
    ("AAAA000000000001", "st-a", T0 + 30 * H, outcomes(l7="failed"), {}, "day"),      # another day
    ("AAAA000000000001", "st-b", T0 - 5 * H, ALL, {}, "flat"),                        # the day before, flat
    ("BBBB000000000002", "st-a", T0 + 2 * H, outcomes(l7="failed"), {}, "day"),       # fails, then
    ("BBBB000000000002", "st-b", T0 + 3 * H, ALL, {}, "day"),                         # passes on a retest
    ("CCCC000000000003", "st-b", T0 + 2 * H, ALL, {9: 2}, "day"),                     # passes at a 2nd attempt
    ("DDDD000000000004", "st-c", T0 + 4 * H, outcomes(l12="timed out", l7="not run"), {}, "day"),
    ("DDDD000000000004", "st-c", T0 + 5 * H, outcomes(l12="failed"), {12: 3}, "day"),  # never passes
    ("EEEE000000000005", "st-c", T0 + 4 * H, outcomes(l11="warning"), {}, "day"),      # a warning: no pass
    ("FFFF000000000006", "st-a", T0 + 6 * H, ALL, {}, "flat"),                         # the older layout
    ("GGGG000000000007", "st-b", T0 + 6 * H, outcomes(l15=None), {}, "day"),           # open, 14 lines
    ("-HHH000000000008", "st-a", T0 + 7 * H, ALL, {}, "day"),                          # a serial like a formula
] + [("D%015d" % k, "st-d", T0 + 9 * H + k * 600000, ALL, {}, "day") for k in range(21)]  # p95 below the max


def station_of(record):
    return record["station"].get("id", record["board"]["hostname"])


class WallJourney(unittest.TestCase):
    def setUp(self):
        if os.geteuid() != 0:
            self.skipTest("needs root (nginx's workers run as www-data)")
        self.tmp = tempfile.mkdtemp(prefix="tessel-wall-test-")
        os.chmod(self.tmp, 0o755)
        self.b = browser.chromium(1600, 1000, downloads=os.path.join(self.tmp, "dl"))
        if self.b is None:
            shutil.rmtree(self.tmp)
            self.skipTest("chromium, chromedriver or python3-selenium not installed")
        self.server = LineServer(self.tmp)
        self.server.set("healthy")
        self.html = self.server.html

    def tearDown(self):
        if getattr(self, "b", None):
            self.b.quit()
        if getattr(self, "server", None):
            self.server.close()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def make_day(self):
        ids = {}
        for serial, station, start, outs, attempts, layout in RUNS:
            tests = ld.run_tests(start, outs, random.Random(start), attempts)
            # st-d's records name its configured id; its host is called otherwise
            run_id, js, xml = ld.record(serial, start, tests, "qbvexo-d" if station == "st-d" else station,
                                        closed_ms=None if None in outs else tests[-1]["end"] + 1000,
                                        station_id="st-d" if station == "st-d" else None)
            ld.put_run(self.html, run_id, js, xml, layout, mtime=time.time() - 60)
            ids.setdefault(serial, []).append(run_id)
        # markup in every string a valid record has, and a formula
        tests = ld.run_tests(T0 + 8 * H, ALL, random.Random(1))
        for t in tests:
            t.update(name=XSS, status_line="=1+2" if t["line"] == 1 else XSS, console_tail=XSS)
        run_id, js, xml = ld.record("XSS0000000000009", T0 + 8 * H, tests, XSS)
        doc = json.loads(js)
        doc["board"].update(model=XSS, device_tree=XSS)
        doc["station"].update(version=XSS, working_directory=XSS)
        ld.put_run(self.html, run_id, json.dumps(doc), xml, mtime=time.time() - 60)
        ids["XSS0000000000009"] = [run_id]
        # broken: a wrong type, not JSON, a listing entry without a file, a name not of a run
        bad = json.loads(js)
        bad["run"]["id"] = bad["run"]["id"].replace("XSS0000000000009", "BAD0000000000010")
        bad["board"]["serial_number"] = "BAD0000000000010"
        bad["totals"]["passed"] = XSS
        day = os.path.join(self.html, "runs", DAY)
        ld.put(self.html, "runs/%s/%s.json" % (DAY, bad["run"]["id"]), json.dumps(bad), time.time() - 60)
        ld.put(self.html, "runs/%s/%s.json" % (DAY, NOJS), "{not json", time.time() - 60)
        os.symlink("/nonexistent", os.path.join(day, GONE + ".json"))
        ld.put(self.html, "runs/%s/%s.json" % (DAY, XSS.replace("/", "_")), "{}", time.time() - 60)
        ld.put(self.html, "boards/AAAA000000000001/notes.json", "{}", time.time() - 60)
        # within the last 2 hours of now (the hours mode)
        now = int(time.time() * 1000) - 1800000
        rid, js, xml = ld.record("NOW0000000000013", now, ld.run_tests(now, ALL, random.Random(2)), "st-a")
        ld.put_run(self.html, rid, js, xml, mtime=time.time() - 30)
        return ids

    def expected(self):
        """The day's figures from the files, as the README defines them."""
        import jsonschema
        with open(os.path.join(REPO, "docs", "record.schema.json")) as f:
            schema = jsonschema.Draft202012Validator(json.load(f))
        runs = []
        for folder in ("runs/" + DAY, "runs"):
            for name in os.listdir(os.path.join(self.html, folder)):
                path = os.path.join(self.html, folder, name)
                if not name.endswith(".json") or not os.path.isfile(path) or name[-25:-17] != DAY.replace("-", ""):
                    continue
                try:
                    with open(path) as f:
                        doc = json.load(f)
                except ValueError:
                    continue
                if schema.is_valid(doc) and doc["run"]["id"] + ".json" == name:
                    runs.append(doc)
        boards = {}
        for r in sorted(runs, key=lambda r: r["run"]["started"]):
            boards.setdefault(r["run"]["id"][:-21], []).append(r)
        passed = lambda r: len(r["tests"]) == 15 and all(t["outcome"] == "passed" for t in r["tests"])
        first_time = lambda r: passed(r) and all(t["attempts"] == 1 for t in r["tests"])
        n = len(boards)
        fig = {"tested": n, "runs": len(runs),
               "first-pass": sum(first_time(v[0]) for v in boards.values()),
               "final": sum(passed(v[-1]) for v in boards.values()),
               "retest": sum(len(v) > 1 for v in boards.values()),
               "later-attempt": sum(passed(v[0]) and not first_time(v[0]) for v in boards.values()),
               "retest-pass": sum(not passed(v[0]) and passed(v[-1]) for v in boards.values())}
        pareto = {}
        for v in boards.values():
            got = {t["line"]: t for t in v[0]["tests"]}
            for line in range(1, 16):
                t = got.get(line)
                if not (t and t["outcome"] == "passed" and t["attempts"] == 1):
                    pareto[line] = pareto.get(line, 0) + 1
        stations = {}
        for r in runs:
            s = stations.setdefault(station_of(r), {"runs": 0, "boards": set(), "spans": [], "first": [0, 0]})
            s["runs"] += 1
            s["boards"].add(r["run"]["id"][:-21])
            if len(r["tests"]) == 15:
                s["spans"].append(max(ld.iso_ms(t["end"]) for t in r["tests"]) -
                                  min(ld.iso_ms(t["start"]) for t in r["tests"]))
        for v in boards.values():
            s = stations[station_of(v[0])]["first"]
            s[0] += first_time(v[0])
            s[1] += 1
        return fig, pareto, stations, runs

    def js(self, script, *args):
        return self.b.execute_script(script, *args)

    def wait(self, what, script, *args, timeout=20):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            v = self.js(script, *args)
            if v:
                return v
            time.sleep(0.1)
        self.fail("not within %d s: %s" % (timeout, what))

    def goto(self, fragment, ready):
        polls = self.js("return window.wallStats.polls")
        self.js("location.hash = arguments[0]", fragment)
        self.wait(fragment, "return wallStats.polls > arguments[0] && wallStats.hash === arguments[1] && (%s)"
                  % ready, polls, fragment)

    def test_journey(self):
        ids = self.make_day()
        b = self.b
        # markers the hostile files' code would set; policy violations seen
        b.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
                          "window.__csp = []; document.addEventListener('securitypolicyviolation',"
                          " e => window.__csp.push(e.violatedDirective + ' ' + e.blockedURI));"})
        with urllib.request.urlopen(self.server.url + "/") as r:
            self.assertEqual(r.headers["Content-Security-Policy"], "default-src 'self'")
            self.assertEqual(r.headers["X-Content-Type-Options"], "nosniff")
        b.get(self.server.url + "/#yield?day=" + DAY)
        self.wait("the yield view", "return window.wallStats && window.wallStats.fullPaintMs !== null")

        # --- Yield: every figure equals the one computed here
        fig, pareto, stations, runs = self.expected()
        self.assertEqual((fig["tested"], fig["runs"]), (30, 32))  # the made-up day is what it should be
        shown = self.js("""return Object.fromEntries([...document.querySelectorAll('.kpi')].map(k =>
            [k.dataset.figure, [k.querySelector('.value').textContent, k.querySelector('.detail').textContent]]))""")
        self.assertEqual(shown["tested"], [str(fig["tested"]), "%d runs" % fig["runs"]])
        for key in ("first-pass", "final", "retest"):
            value, detail = shown[key]
            self.assertEqual(value, "%.1f %%" % (100.0 * fig[key] / fig["tested"]), key)
            self.assertTrue(detail.startswith("%d of %d boards" % (fig[key], fig["tested"])), (key, detail))
        for key in ("later-attempt", "retest-pass"):
            self.assertEqual(shown[key][0], str(fig[key]), key)
        self.assertEqual(shown["not-passed"][0], str(fig["tested"] - fig["final"]))
        rows = self.js("return [...document.querySelectorAll('#pareto tbody tr')].map(r => [...r.cells].map(c => c.textContent))")
        total, cum = sum(pareto.values()), 0
        want = []
        for line, count in sorted(pareto.items(), key=lambda kv: (-kv[1], kv[0])):
            cum += count
            want.append([str(line), ld.NAMES[line - 1], str(count),
                         "%.1f %%" % (100.0 * count / total), "%.1f %%" % (100.0 * cum / total)])
        self.assertEqual(rows, want)
        rows = self.js("""return [...document.querySelectorAll('#per-station tbody tr')].map(r => [r.dataset.station,
            +r.cells[1].textContent, +r.cells[2].textContent, +r.cells[3].dataset.firstPass, +r.cells[3].dataset.firsts,
            r.cells[4].dataset.ms, r.cells[5].dataset.ms])""")
        want = []
        for name, s in stations.items():
            spans = sorted(s["spans"])
            want.append([name, s["runs"], len(s["boards"]), s["first"][0], s["first"][1],
                         "%.10g" % statistics.median(spans) if spans else "",
                         str(spans[math.ceil(0.95 * len(spans)) - 1]) if spans else ""])
        self.assertEqual(sorted(rows), sorted(want))
        self.assertIn(XSS, [r[0] for r in rows])  # the hostile file's station, as text
        hours = self.js("return [...document.querySelectorAll('#hours-chart rect')].map(r => +r.dataset.boards)")
        self.assertEqual(sum(hours), fig["tested"])
        text = self.js("return document.getElementById('unreadable').textContent")
        self.assertTrue(text.startswith("4 files could not be read: "), text)
        self.assertEqual(set(text.split(": ", 1)[1].split(", ")), {"runs/%s/%s" % (DAY, n) for n in (
            "BAD0000000000010-%s.json" % ld.file_time(T0 + 8 * H), NOJS + ".json", GONE + ".json",
            XSS.replace("/", "_") + ".json")})

        # --- the CSV: one row per test per run, quoted, formulas defused
        b.find_element("id", "csv").click()
        path = os.path.join(self.tmp, "dl", "tessel-%s.csv" % DAY)
        deadline = time.monotonic() + 10
        while not os.path.exists(path) and time.monotonic() < deadline:
            time.sleep(0.1)
        with open(path, encoding="utf-8-sig", newline="") as f:
            table = list(csv.reader(f))
        self.assertEqual(table[0], ["day", "station", "serial", "run id", "line", "test", "outcome", "attempts",
                                    "duration ms", "verdict"])
        want = sorted([DAY, station_of(r), r["run"]["id"][:-21], r["run"]["id"], str(t["line"]), t["name"],
                       t["outcome"], str(t["attempts"]), str(t["duration_ms"]), t["status_line"] or ""]
                      for r in runs for t in r["tests"])
        defuse = lambda c: "'" + c if c[:1] in ("=", "+", "-", "@") else c
        self.assertEqual(sorted(table[1:]), sorted([defuse(c) for c in row] for row in want))
        self.assertIn("'=1+2", [row[9] for row in table])
        self.assertIn("'-HHH000000000008", [row[2] for row in table])

        # --- Board: a scanned serial lists exactly its runs, newest first, with working links
        self.goto("#board", "true")
        field = b.find_element("id", "board-serial")
        field.send_keys("AAAA000000000001\n")
        self.wait("the board's runs", "return location.hash === '#board?serial=AAAA000000000001' && "
                  "document.querySelectorAll('#board-runs .run-card').length > 0")
        time.sleep(0.3)
        cards = self.js("""return [...document.querySelectorAll('#board-runs .run-card')].map(c => [c.dataset.run,
            [...c.querySelectorAll('a')].map(a => a.href), [...c.querySelectorAll('.cells span')].map(s => s.dataset.outcome)])""")
        self.assertEqual([c[0] for c in cards], sorted(ids["AAAA000000000001"], key=lambda i: i[-20:], reverse=True))
        self.assertEqual(cards[0][2], outcomes(l7="failed"))
        for _, links, _ in cards:
            self.assertEqual(len(links), 2)
            for link in links:
                with urllib.request.urlopen(link) as r:
                    self.assertEqual(r.status, 200, link)
        self.assertEqual(self.js("return document.getElementById('unreadable').textContent"),
                         "1 file could not be read: boards/AAAA000000000001/notes.json")
        # the next scan replaces the serial in the field
        b.switch_to.active_element.send_keys("XSS0000000000009\n")
        self.wait("the next board", "return location.hash === '#board?serial=XSS0000000000009' && "
                  "document.querySelectorAll('.run-card').length === 1 && "
                  "document.querySelector('.run-card').dataset.run.startsWith('XSS')")
        self.assertIn(XSS, self.js("return document.querySelector('.run-card').textContent"))

        # --- the last hours
        self.goto("#yield?hours=2", "document.querySelector('.kpi[data-figure=tested] .value').textContent === '1'")

        # --- Stations
        self.write_stations()
        self.goto("#stations", "document.querySelectorAll('.tile').length === 4")
        tiles = self.js("return Object.fromEntries([...document.querySelectorAll('.tile')].map(t => "
                        "[t.dataset.station, t.querySelector('.state').textContent]))")
        self.assertEqual(tiles, {"st-a": "idle", "st-b": "stopped", "st-c": "no contact", "st-x": "running " + XSS})
        self.assertEqual(self.js("return document.getElementById('summary').textContent"),
                         "4 stations · 1 running · 0 with failures · 1 stopped · 1 no contact · 1 run waiting to be sent")
        self.assertEqual(self.js("return document.getElementById('unreadable').textContent"),
                         "1 file could not be read: stations/broken.json")

        # nothing of the files ran or became markup, and the page kept its own policy
        self.assertIsNone(self.js("return window.__pwned"))
        self.assertEqual(self.js("return document.querySelectorAll('img, script:not([src=\"wall.js\"]), [onerror]').length"), 0)
        self.assertEqual(self.js("return window.__csp"), [])
        self.assertEqual(self.js("return document.querySelectorAll('[style]').length"), 0)

    def write_stations(self):
        def beat(name, state, outbox=0, marks=()):
            doc = {"station": name, "program": "GUI Tessel", "version": "t", "state": state, "run_id": None,
                   "board": {"serial_number": "AAAA000000000001", "model": ld.MODEL}, "outbox": outbox,
                   "upload_error": None, "heartbeat_s": 5, "time": ld.iso(int(time.time() * 1000)),
                   "verdicts": [{"line": n, "verdict": ld.OK[n - 1], "outcome": "passed"} for n in range(1, 16)]}
            for k, v in marks:
                doc["verdicts"][k - 1][v[0]] = v[1]
            return json.dumps(doc)
        now = time.time()
        ld.put(self.html, "stations/st-a.json", beat("st-a", "idle", outbox=1), now)
        ld.put(self.html, "stations/st-b.json", beat("st-b", "stopped"), now - 600)
        ld.put(self.html, "stations/st-c.json", beat("st-c", "running USB1"), now - 60)
        ld.put(self.html, "stations/st-x.json", beat("st-x", "running " + XSS, marks=[(3, ("verdict", XSS))]), now + 3600)
        ld.put(self.html, "stations/broken.json", '{"state": 5}', now)


if __name__ == "__main__":
    result = unittest.main(exit=False, verbosity=2).result
    if result.testsRun and len(result.skipped) == result.testsRun:
        sys.exit(77)
    sys.exit(0 if result.wasSuccessful() else 1)
