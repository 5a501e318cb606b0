"""Run records as the station writes them (custom/run_record.cpp: the JSON
of docs/record.schema.json and the JUnit file beside it), put on a line's
server in its layout:

  runs/<UTC day of the start>/<run id>.json and .xml
  boards/<serial>/<run id>.json
  runs/<run id>.json and .xml          (layout="flat": the older layout)

and a whole made-up day of a line (day()), for the wall's tests, benchmark
and pictures."""

import json
import os
import random
import time

NAMES = ["I2C", "GPIO", "UART", "SPI Master", "SPI Slave", "ADC", "USB1", "USB2", "PL2303", "DSI", "LVDS",
         "Audio", "MQS", "CSI", "RTC"]
OK = ["I2C Test ok", "GPIO Key Test ok", "UART7 Test ok", "SPI3 Master Test ok", "SPI3 Slave Test ok",
      "ADC Test ok", "USB1 Test ok", "USB2 Test ok", "PL2303 Test ok", "MIPI-DSI Test ok", "LVDS Test ok",
      "Audio Default Sgtl5000 ok", "Audio MQS ok", "CSI Test ok", "RTC Test ok"]
FAILED = ["I2C Test failed", "GPIO Key Test Failed", "UART7 Test failed", "SPI3 Master Test Failed",
          "SPI3 Slave Test Failed", "ADC Test failed", "USB1 Test failed", "USB2 Test failed", "PL2303 Test failed",
          "MIPI-DSI Test Failed", "LVDS Test Failed", "Audio Default Sgtl5000 Failed", "Audio MQS Failed",
          "CSI Test failed", "RTC Test failed"]
LOGS = [None, "Log_GPIO", None, "Log_SPI", "Log_SPI", None, "Log_USB", "Log_USB", "Log_PL2303", "Log_DSI",
        "Log_LVDS", "Log_Audio", "Log_MQS", "Log_CSI", None]
MODEL = "QB-VEXO i.MX93 board"


def iso(ms):
    return time.strftime("%Y-%m-%dT%H:%M:%S", time.gmtime(ms // 1000)) + ".%03dZ" % (ms % 1000)


def iso_ms(s):
    """Milliseconds since the epoch of a record's time."""
    import calendar
    return calendar.timegm(time.strptime(s[:19], "%Y-%m-%dT%H:%M:%S")) * 1000 + int(s[20:23])


def file_time(ms):
    return time.strftime("%Y%m%dT%H%M%S", time.gmtime(ms // 1000)) + ".%03dZ" % (ms % 1000)


def verdict(line, outcome):
    """The status line a test leaves for an outcome (None: unreadable)."""
    return {"passed": OK[line - 1], "failed": FAILED[line - 1], "timed out": FAILED[line - 1] + " (timed out)",
            "not run": "not yet", "not recorded": None,
            "warning": OK[line - 1] + " (Warning : backlight brightness not adjustable)"}[outcome]


def test(line, outcome, start_ms, duration_ms, attempts=1, status_line="", tail_lines=6):
    """One entry of a record's tests; status_line "" means the usual one for the outcome."""
    sl = verdict(line, outcome) if status_line == "" else status_line
    tail = "".join("[%s] %s: step %d of %d\n" % (iso(start_ms + k * 7), NAMES[line - 1], k + 1, tail_lines)
                   for k in range(tail_lines - 1)) + ((sl or "") + " \n")
    exit_status = {"passed": 0, "warning": 0, "failed": 1, "timed out": 143, "not run": 0, "not recorded": -1}[outcome]
    return {"line": line, "name": NAMES[line - 1], "status_line": sl, "outcome": outcome, "start": start_ms,
            "end": start_ms + duration_ms, "duration_ms": duration_ms, "exit_status": exit_status,
            "attempts": attempts, "log_files": ["Log/" + LOGS[line - 1]] if LOGS[line - 1] else [],
            "console_tail": tail}


def file_safe(serial):
    """The serial as a run id carries it."""
    out = "".join(chr(b) if chr(b).isascii() and (chr(b).isalnum() or chr(b) in "._-") else "_"
                  for b in serial.encode("utf-8"))
    return "_" + out if not out or out[0] == "." else out


def record(serial, started_ms, tests, hostname, closed_ms=None, updated_ms=None, version="v1.3-2-g51c0e9a",
           station_id=None):
    """(run id, JSON text, JUnit text) of a run, as the station writes them."""
    run_id = file_safe(serial) + "-" + file_time(started_ms)
    updated_ms = updated_ms or max([t["end"] for t in tests] + [started_ms])
    keys = ("passed", "failed", "warning", "not run", "timed out", "not recorded")
    counts = {k: sum(t["outcome"] == k for t in tests) for k in keys}
    total_ms = sum(t["duration_ms"] for t in tests)
    doc = {
        "schema_version": 1,
        "run": {"id": run_id, "started": iso(started_ms), "updated": iso(updated_ms),
                "closed": iso(closed_ms) if closed_ms else None},
        "board": {"serial_number": serial, "model": MODEL, "device_tree": "qb-vexo.dtb", "hostname": hostname},
        "station": dict({"program": "GUI Tessel", "version": version, "working_directory": "/var/lib/gui-tessel"},
                        **({"id": station_id} if station_id else {})),
        "tests": [dict(t, start=iso(t["start"]), end=iso(t["end"])) for t in tests],
        "totals": {"tests": len(tests), "passed": counts["passed"], "failed": counts["failed"],
                   "warning": counts["warning"], "not_run": counts["not run"], "timed_out": counts["timed out"],
                   "not_recorded": counts["not recorded"], "duration_ms": total_ms},
    }
    return run_id, json.dumps(doc, indent=2, ensure_ascii=False) + "\n", junit(doc, counts, total_ms)


def _x(s, attribute=True):
    s = s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;").replace("'", "&apos;")
    s = s.replace("\r", "&#13;")
    return s.replace("\n", "&#10;").replace("\t", "&#9;") if attribute else s


def junit(doc, counts, total_ms):
    b, tests = doc["board"], doc["tests"]
    cls = "tessel." + b["serial_number"]
    n, failures, errors = len(tests), counts["failed"] + counts["timed out"], counts["not recorded"]
    t = "%.3f" % (total_ms / 1000.0)
    x = ['<?xml version="1.0" encoding="UTF-8"?>\n',
         '<testsuites name="GUI Tessel" tests="%d" failures="%d" errors="%d" time="%s">\n' % (n, failures, errors, t),
         '  <testsuite name="%s" timestamp="%s" hostname="%s" tests="%d" failures="%d" errors="%d" skipped="%d" time="%s">\n'
         % (_x(cls), doc["run"]["started"][:19], _x(b["hostname"]), n, failures, errors, counts["not run"], t),
         "    <properties>\n"]
    props = [("run_id", doc["run"]["id"]), ("serial_number", b["serial_number"]), ("model", b["model"]),
             ("device_tree", b["device_tree"]), ("version", doc["station"]["version"]),
             ("working_directory", doc["station"]["working_directory"])]
    if "id" in doc["station"]:
        props.append(("station", doc["station"]["id"]))
    for test_ in tests:
        key = "line.%d." % test_["line"]
        props += [(key + "test", test_["name"]), (key + "outcome", test_["outcome"]),
                  (key + "attempts", str(test_["attempts"])),
                  (key + "verdict", test_["status_line"] if test_["status_line"] is not None else "(status line unreadable)")]
    x += ['      <property name="%s" value="%s"/>\n' % (_x(k), _x(v)) for k, v in props]
    x.append("    </properties>\n")
    for test_ in tests:
        x.append('    <testcase classname="%s" name="%s" time="%.3f">\n' % (_x(cls), _x(test_["name"]), test_["duration_ms"] / 1000.0))
        v = test_["status_line"] if test_["status_line"] is not None else "(status line unreadable)"
        if test_["outcome"] in ("failed", "timed out"):
            x.append('      <failure message="%s" type="%s"/>\n' % (_x(v), test_["outcome"]))
        elif test_["outcome"] == "not run":
            x.append('      <skipped message="%s"/>\n' % _x(v))
        elif test_["outcome"] == "not recorded":
            x.append('      <error message="%s" type="not recorded"/>\n' % _x(v))
        if test_["console_tail"]:
            x.append("      <system-out>%s</system-out>\n" % _x(test_["console_tail"], False))
        x.append("    </testcase>\n")
    x.append("  </testsuite>\n</testsuites>\n")
    return "".join(x)


def put(html, path, text, mtime=None):
    """A file on the server as nginx's PUT leaves it: whole, readable by its workers."""
    full = os.path.join(html, path)
    os.makedirs(os.path.dirname(full), mode=0o755, exist_ok=True)
    with open(full + ".part", "w", encoding="utf-8") as f:
        f.write(text)
    os.chmod(full + ".part", 0o644)
    os.rename(full + ".part", full)
    if mtime is not None:
        os.utime(full, (mtime, mtime))
    return full


def put_run(html, run_id, js, xml, layout="day", mtime=None):
    """Paths written, relative to html."""
    if layout == "flat":
        paths = [("runs/%s.json" % run_id, js), ("runs/%s.xml" % run_id, xml)]
    else:
        serial, stamp = run_id[:-21], run_id[-20:]
        day = "%s-%s-%s" % (stamp[0:4], stamp[4:6], stamp[6:8])
        paths = [("runs/%s/%s.json" % (day, run_id), js), ("runs/%s/%s.xml" % (day, run_id), xml),
                 ("boards/%s/%s.json" % (serial, run_id), js)]
    for p, text in paths:
        put(html, p, text, mtime)
    return [p for p, _ in paths]


def run_tests(start_ms, outcomes, rnd, attempts=None, tail_lines=6):
    """Tests one after another from start_ms; outcomes[i] for line i+1 (None: no result)."""
    tests, t = [], start_ms + rnd.randint(2000, 6000)
    for i, outcome in enumerate(outcomes):
        if outcome is None:
            continue
        ms = rnd.randint(300, 4000) if NAMES[i] not in ("USB1", "USB2") else rnd.randint(20000, 60000)
        tests.append(test(i + 1, outcome, t, ms, (attempts or {}).get(i + 1, 1), tail_lines=tail_lines))
        t += ms + rnd.randint(150, 900)
    return tests


# how often each line fails a board's first run on the made-up line
FAULTS = {7: 0.035, 9: 0.025, 12: 0.02, 8: 0.015, 14: 0.01, 4: 0.008, 2: 0.006, 11: 0.005, 1: 0.003}


def day(html, day_ms, stations=100, runs=5000, seed=1, tail_lines=20, until_ms=None, mtime_now=False):
    """A line's day in the day layout: `runs` runs from `stations` stations
    spread over the UTC day starting at day_ms (or up to until_ms), boards
    failing at the rates of FAULTS, most failures retested. Returns the
    run ids written, oldest first."""
    rnd = random.Random(seed)
    end_ms = until_ms or day_ms + 86400000
    names = ["line%d-slot%02d" % (1 + i // 25, 1 + i % 25) for i in range(stations)]
    per = max(1, runs // stations)
    slot_ms = (end_ms - day_ms) // (per + 1)
    written, retests, serial_no = [], [], 0
    made = 0
    for k in range(per + 1):
        for s, name in enumerate(names):
            if made >= runs:
                break
            start = day_ms + k * slot_ms + rnd.randint(0, slot_ms // 2) + s * 997
            if start >= end_ms - 600000:
                continue
            if retests and rnd.random() < 0.5:
                serial = retests.pop(0)
                outcomes = ["passed"] * 15
                if rnd.random() < 0.25:
                    outcomes[rnd.choice(list(FAULTS)) - 1] = "failed"
                attempts = {}
            else:
                serial_no += 1
                serial = "%016X" % (0x3A1C29F40B000000 + serial_no * 7919)
                outcomes = ["passed"] * 15
                for line, p in FAULTS.items():
                    if rnd.random() < p * 1.5:
                        outcomes[line - 1] = "timed out" if line in (7, 8) and rnd.random() < 0.3 else "failed"
                attempts = {}
                if rnd.random() < 0.04:
                    attempts[rnd.choice([7, 8, 9, 12])] = 2
                if rnd.random() < 0.01:
                    outcomes[10] = "warning"
            tests = run_tests(start, outcomes, rnd, attempts, tail_lines)
            ended = tests[-1]["end"]
            run_id, js, xml = record(serial, start, tests, name, closed_ms=ended + rnd.randint(5000, 60000))
            put_run(html, run_id, js, xml, mtime=time.time() if mtime_now else ended / 1000.0 + 1)
            written.append((start, run_id))
            made += 1
            if any(o != "passed" for o in outcomes) and rnd.random() < 0.85:
                retests.append(serial)
    return [r for _, r in sorted(written)]
