#!/usr/bin/python3
"""bench_render and bench_screens built on the bundled core and on a real
LVGL 8.3 (system mode), run in interleaved rounds on this machine, and the
side-by-side table of their figures (each the median over the rounds of the
benchmark's own medians).

    bench/compare_real.py [--prefix DIR] [--rounds 5] [--bundled build] [--system build-real]

The prefix defaults to $LVGL_PREFIX (see README, "Building against a real
LVGL 8.3"). Missing build directories are configured; only the two
benchmarks are built in each.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROWS = [
    ("white screen", "redraw.white"),
    ("busy scene of `bench_render`", "redraw.busy"),
    ("Start screen", "redraw.start"),
    ("test screen", "redraw.test"),
    ("setup screen", "redraw.setup"),
    ("reboot screen", "redraw.reboot"),
]
BUILDS = ("build.start", "build.test", "build.setup", "build.reboot")


def run(argv, **kw):
    return subprocess.run(argv, check=True, **kw)


def prepare(build, extra, jobs):
    cache = os.path.join(build, "CMakeCache.txt")
    if not os.path.exists(cache) or extra:
        run(["cmake", "-S", ROOT, "-B", build] + extra, stdout=subprocess.DEVNULL)
    run(["nice", "cmake", "--build", build, "-j%d" % jobs, "--target", "bench_render", "bench_screens"],
        stdout=subprocess.DEVNULL)


def figures(build, scratch):
    found, library = {}, None
    for prog in ("bench_render", "bench_screens"):
        out = run([os.path.join(build, "bench", prog)], cwd=scratch, capture_output=True, text=True).stdout
        for line in out.splitlines():
            words = line.split()
            if words[:1] == ["figure"]:
                found[words[1]] = float(words[2])
            elif "drawn by the real LVGL" in line:
                library = words[words.index("LVGL") + 1].rstrip(":")
    return found, library


def ms(v):
    return "%.3f ms" % v if v < 0.1 else "%.2f ms" % v


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--prefix", default=os.environ.get("LVGL_PREFIX"))
    ap.add_argument("--rounds", type=int, default=5)
    ap.add_argument("--bundled", default=os.path.join(ROOT, "build"))
    ap.add_argument("--system", default=os.path.join(ROOT, "build-real"))
    ap.add_argument("--jobs", type=int, default=2)
    a = ap.parse_args()
    if not a.prefix or not os.path.exists(os.path.join(a.prefix, "lib", "liblvgl.a")):
        sys.exit("compare_real.py: name a real LVGL 8.3 install with --prefix or LVGL_PREFIX "
                 "(it holds include/lvgl/lvgl.h and lib/liblvgl.a); got %r" % a.prefix)

    prepare(a.bundled, [], a.jobs)
    prepare(a.system, ["-DTESSEL_LVGL=system", "-DLVGL_PREFIX=" + os.path.abspath(a.prefix)], a.jobs)

    rounds = {"core": [], "real": []}
    library = "8.3"
    with tempfile.TemporaryDirectory(prefix="tessel-compare-") as scratch:
        for r in range(a.rounds):
            order = [("core", a.bundled), ("real", a.system)]
            if r % 2:
                order.reverse()
            for side, build in order:
                found, lib = figures(build, scratch)
                rounds[side].append(found)
                library = lib or library
            print("round %d of %d done" % (r + 1, a.rounds), file=sys.stderr)

    def med(side, key):
        return statistics.median(f[key] for f in rounds[side])

    def spread(side, key):
        vals = [f[key] for f in rounds[side]]
        return (max(vals) - min(vals)) / statistics.median(vals)

    print("%d interleaved rounds, medians of the benchmarks' medians; spread: (max - min) / median "
          "over the rounds" % a.rounds)
    print()
    print("| full redraw (invalidate the screen, `lv_refr_now`) | LVGL %s | bundled core | core / LVGL "
          "| spread LVGL / core |" % library)
    print("|---|---|---|---|---|")
    for label, key in ROWS:
        real, core = med("real", key), med("core", key)
        print("| %s | %s | %s | %.2f | %.0f / %.0f %% |" % (label, ms(real), ms(core), core / real,
                                                         100 * spread("real", key), 100 * spread("core", key)))
    real = " / ".join("%.3f" % med("real", k) for k in BUILDS)
    core = " / ".join("%.3f" % med("core", k) for k in BUILDS)
    ratio = sum(med("core", k) for k in BUILDS) / sum(med("real", k) for k in BUILDS)
    print("| screen build: Start / test / setup / reboot | %s ms | %s ms | %.2f (all four) | |" % (real, core, ratio))


if __name__ == "__main__":
    main()
