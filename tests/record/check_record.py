#!/usr/bin/env python3
"""Checks run records the way a line's systems would read them:
   check_record.py SCHEMA JSON [XML]
The JSON must validate against the schema; the JUnit XML must validate
against junit.xsd beside this script (xmllint, the schema of Jenkins'
xUnit reader), and its suite, cases and properties must agree with the
JSON's tests and totals. Prints what is wrong and exits 1, or exits 0."""
import json
import os
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET

import jsonschema

JUNIT_XSD = os.path.join(os.path.dirname(os.path.abspath(__file__)), "junit.xsd")


def xsd_problems(xml_path):
    xmllint = shutil.which("xmllint")
    if xmllint is None:
        yield "xmllint not found (Debian libxml2-utils)"
        return
    r = subprocess.run([xmllint, "--noout", "--schema", JUNIT_XSD, xml_path],
                       capture_output=True, text=True, timeout=60)
    if r.returncode != 0:
        yield "junit.xsd: %s" % r.stderr.strip()


def problems(schema_path, json_path, xml_path):
    with open(schema_path) as f:
        schema = json.load(f)
    with open(json_path, encoding="utf-8") as f:
        record = json.load(f)
    validator = jsonschema.Draft202012Validator(schema)
    for e in validator.iter_errors(record):
        yield "schema: %s at %s" % (e.message, "/".join(str(p) for p in e.absolute_path))

    tests = record.get("tests", [])
    totals = record.get("totals", {})
    outcomes = [t["outcome"] for t in tests]
    for key, outcome in (("passed", "passed"), ("failed", "failed"), ("warning", "warning"),
                         ("not_run", "not run"), ("timed_out", "timed out"), ("not_recorded", "not recorded")):
        if totals.get(key) != outcomes.count(outcome):
            yield "totals.%s is %s, the tests say %d" % (key, totals.get(key), outcomes.count(outcome))
    if totals.get("tests") != len(tests):
        yield "totals.tests is %s for %d tests" % (totals.get("tests"), len(tests))
    if totals.get("duration_ms") != sum(t["duration_ms"] for t in tests):
        yield "totals.duration_ms is not the sum of the durations"
    lines = [t["line"] for t in tests]
    if lines != sorted(set(lines)):
        yield "tests are not one per status line in line order: %s" % lines

    if xml_path is None:
        return
    yield from xsd_problems(xml_path)
    root = ET.parse(xml_path).getroot()
    suites = [root] if root.tag == "testsuite" else root.findall("testsuite")
    if len(suites) != 1:
        yield "%d testsuite elements, expected one per run" % len(suites)
        return
    suite = suites[0]
    cases = suite.findall("testcase")
    expect = {
        "tests": len(tests),
        "failures": totals["failed"] + totals["timed_out"],
        "errors": totals["not_recorded"],
        "skipped": totals["not_run"],
    }
    for key, value in expect.items():
        if suite.get(key) != str(value):
            yield "testsuite %s=%s, expected %d" % (key, suite.get(key), value)
        if root.tag == "testsuites" and key != "skipped" and root.get(key) != str(value):
            yield "testsuites %s=%s, expected %d" % (key, root.get(key), value)
    # what a case cannot carry is in the suite's properties, per status line
    props = {p.get("name"): p.get("value") for p in suite.findall("properties/property")}
    if props.get("run_id") != record["run"]["id"]:
        yield "property run_id %s, record says %s" % (props.get("run_id"), record["run"]["id"])
    for test in tests:
        key = "line.%d." % test["line"]
        verdict = test["status_line"] if test["status_line"] is not None else "(status line unreadable)"
        for what, value in (("test", test["name"]), ("outcome", test["outcome"]),
                            ("attempts", str(test["attempts"])), ("verdict", verdict)):
            if props.get(key + what) != value:
                yield "property %s%s is %r, expected %r" % (key, what, props.get(key + what), value)
    for attr in ("name", "timestamp", "hostname", "time"):
        if not suite.get(attr):
            yield "testsuite has no %s" % attr
    if suite.get("hostname") != record["board"]["hostname"]:
        yield "testsuite hostname %s, record says %s" % (suite.get("hostname"), record["board"]["hostname"])
    if len(cases) != len(tests):
        yield "%d testcase elements for %d tests" % (len(cases), len(tests))
        return
    counted = {"failure": 0, "error": 0, "skipped": 0}
    classname = "tessel." + record["board"]["serial_number"]
    for case, test in zip(cases, tests):
        if case.get("classname") != classname or case.get("name") != test["name"]:
            yield "testcase %s/%s for test %s" % (case.get("classname"), case.get("name"), test["name"])
        if abs(float(case.get("time")) - test["duration_ms"] / 1000.0) > 0.0005:
            yield "testcase %s time %s, duration_ms %d" % (test["name"], case.get("time"), test["duration_ms"])
        for tag in counted:
            found = case.findall(tag)
            counted[tag] += len(found)
            for f in found:
                if test["status_line"] is not None and f.get("message") != test["status_line"]:
                    yield "%s of %s says %r, verdict %r" % (tag, test["name"], f.get("message"), test["status_line"])
        out = case.find("system-out")
        if (out.text if out is not None else "") != (test["console_tail"] or ""):
            yield "system-out of %s is not its console tail" % test["name"]
    if counted != {"failure": expect["failures"], "error": expect["errors"], "skipped": expect["skipped"]}:
        yield "testcase children %s disagree with the counts %s" % (counted, expect)
    if abs(float(suite.get("time")) - totals["duration_ms"] / 1000.0) > 0.0005:
        yield "testsuite time %s, duration %d ms" % (suite.get("time"), totals["duration_ms"])


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    found = list(problems(sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) == 4 else None))
    for p in found:
        print(p)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
