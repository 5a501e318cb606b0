#!/usr/bin/python3
"""Checks what the README's run command left in demo-out/: it ended, and its
Run all picture shows the 15 verdicts the healthy simulated board gives,
drawn where the test screen draws them (compared label by label with a
headless drawing of the same status file).

    .ci/check-demo.py DEMO_OUT BUILD_DIR"""

import os
import sys

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "board"))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
import e2e_runall  # noqa: E402
from PIL import Image  # noqa: E402


def main():
    out, build = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    os.environ.setdefault("BOARD_RENDER", os.path.join(build, "tests", "board", "board_render"))
    os.environ.setdefault("SIMBOARD_PASS", build)
    problems = []
    with open(os.path.join(out, "status.txt")) as f:
        lines = f.read().splitlines()
    if lines != e2e_runall.OK_VERDICTS:
        problems.append("status file after Run all: %s" % lines)
    ref, labels, _ = e2e_runall.render(e2e_runall.OK_VERDICTS, os.path.join(out, "reference-ok.png"))
    with Image.open(os.path.join(out, "4-run-all-results.png")) as im:
        shot = im.convert("RGB")
    wrong = [n for n, box in sorted(labels.items()) if not e2e_runall.region_matches(shot, ref, box)]
    if len(labels) != 15 or wrong:
        problems.append("labels not showing their verdict: %s (of %d)" % (wrong, len(labels)))
    for name in ("1-start.png", "5-setup-screen.png", "6-reboot-screen.png"):
        if not os.path.getsize(os.path.join(out, name)):
            problems.append("%s is empty" % name)
    if problems:
        sys.exit("check-demo: " + "; ".join(problems))
    print("check-demo: the demo's Run all picture shows the 15 verdicts of the healthy board")


if __name__ == "__main__":
    main()
