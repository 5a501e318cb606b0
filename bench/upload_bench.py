#!/usr/bin/python3
"""Uploads to the line's server, measured (as root; a real nginx on 127.0.0.1):

  1. script end to verdict on screen (the PL2303 test, in-process station with
     uploads on) with the server up, down and hanging; and how long leaving takes;
  2. main-thread wake-ups per second of the real gui_tessel idling on the test
     screen under headless sway, uploads on (heartbeats every 5 s) and off;
  3. the wall in headless Chromium with 100 station files: from a file's change
     on the server to its tile showing it, and the page's time per poll.

  upload_bench.py [--smoke] [--build DIR]

--smoke (or TESSEL_BENCH_SMOKE=1): one round of a few iterations each, for CI.
The wall's pictures: bench/wall_bench.py --screenshots.
"""

import argparse
import json
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
sys.path.insert(0, os.path.join(REPO, "tests", "upload"))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
from line_server import LineServer  # noqa: E402

SIMBOARD_RUN = os.path.join(REPO, "tests", "simboard", "simboard-run")
OK = ["I2C Test ok", "GPIO Key Test ok", "UART7 Test ok", "SPI3 Master Test ok", "SPI3 Slave Test ok",
      "ADC Test ok", "USB1 Test ok", "USB2 Test ok", "PL2303 Test ok", "MIPI-DSI Test ok", "LVDS Test ok",
      "Audio Default Sgtl5000 ok", "Audio MQS ok", "CSI Test ok", "RTC Test ok"]


def conf(tmp, server, station="bench-1"):
    path = os.path.join(tmp, "bench.conf")
    with open(path, "w") as f:
        f.write("server = %s\nstation = %s\n" % (server.url, station))
    return path


def verdict_latency(build, rounds):
    station = os.path.join(build, "tests", "upload", "upload_station")
    print("script end to verdict on screen (PL2303, %d rounds):" % rounds)
    for mood in ("off", "healthy", "down", "hang"):
        tmp = tempfile.mkdtemp(prefix="tessel-bench-upload-")
        os.chmod(tmp, 0o755)
        work = os.path.join(tmp, "work")
        os.mkdir(work)
        with LineServer(tmp) as server:
            server.set("down" if mood == "off" else mood)
            env = dict(os.environ, UPLOAD_DRAIN_S="0")
            if mood != "off":
                env["TESSEL_CONFIG"] = conf(tmp, server)
            r = subprocess.run([SIMBOARD_RUN, "-s", "healthy", "-b", tmp, "--", "bash", "-c",
                                '/.simboard/lib/sb-scenario workdir . && exec "$0" pl2303 %d' % rounds, station],
                               cwd=work, env=env, capture_output=True, text=True, timeout=600)
        subprocess.run(["rm", "-rf", tmp])
        ms = [float(l.split()[2]) for l in r.stdout.splitlines() if l.startswith("verdict ")]
        stop = [l.split()[1] for l in r.stdout.splitlines() if l.startswith("stop_ms ")]
        if r.returncode != 0 or not ms:
            sys.exit("upload_station failed (%d):\n%s" % (r.returncode, r.stderr[-3000:]))
        what = "uploads off " if mood == "off" else "server %-5s" % ("up" if mood == "healthy" else mood)
        print("  %s median %.2f ms, max %.2f ms; leaving took %s ms"
              % (what, statistics.median(ms), max(ms), stop[0] if stop else "?"))


def main_thread_switches(pid):
    with open("/proc/%d/task/%d/status" % (pid, pid)) as f:
        for line in f:
            if line.startswith("voluntary_ctxt_switches:"):
                return int(line.split()[1])
    return 0


def idle_wakeups(build, seconds):
    import harness
    app = os.path.join(build, "gui_tessel")
    os.environ.setdefault("TESSEL_E2E_VPOINTER", os.path.join(build, "tests", "e2e", "vpointer"))
    print("main-thread wake-ups while idle on the test screen (%.0f s):" % seconds)
    for uploads in (True, False):
        with harness.Session() as s, LineServer(s.dir) as server:
            server.set("healthy")
            env = {"TESSEL_CONFIG": conf(s.dir, server)} if uploads else {}
            p = s.start_app(SIMBOARD_RUN, ["-s", "healthy", "-b", s.dir, "--", "bash", "-c",
                                           '/.simboard/lib/sb-scenario workdir . && exec "$0"', app], env=env)
            s.wait_window("GUI Tessel", timeout=10.0)
            time.sleep(1.5)
            s.tap(640, 400)
            time.sleep(3.0)
            pid = harness.find_process(p.pid, "gui_tessel")
            c0 = main_thread_switches(pid)
            time.sleep(seconds)
            c1 = main_thread_switches(pid)
            beats = len(server.files("stations"))
            s.close_window("GUI Tessel")
            p.wait(5.0)
        print("  uploads %-3s %.2f per second%s" % ("on" if uploads else "off", (c1 - c0) / seconds,
                                                   " (heartbeat file on the server)" if beats else ""))


def station_doc(i, state="idle", outcomes=None, outbox=0):
    outcomes = outcomes or ["passed"] * 15
    return {"station": "st-%03d" % i, "program": "GUI Tessel", "version": "bench",
            "board": {"serial_number": "3A1C29F40B7D%04X" % i, "model": "QB-VEXO i.MX93 board"},
            "state": state, "run_id": None, "outbox": outbox, "heartbeat_s": 5,
            "verdicts": [{"line": n + 1, "verdict": OK[n] if o == "passed" else o, "outcome": o}
                         for n, o in enumerate(outcomes)],
            "time": time.strftime("%Y-%m-%dT%H:%M:%S.000Z", time.gmtime())}


def put_file(server, folder, name, doc, mtime=None):
    path = os.path.join(server.html, folder, name)
    with open(path + ".tmp", "w") as f:
        json.dump(doc, f)
    os.rename(path + ".tmp", path)
    if mtime is not None:
        os.utime(path, (mtime, mtime))


def browser(width=1600, height=1000):
    from selenium import webdriver
    from selenium.webdriver.chrome.options import Options
    opts = Options()
    for a in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=%d,%d" % (width, height)):
        opts.add_argument(a)
    return webdriver.Chrome(options=opts)


def wall(changes):
    with LineServer() as server:
        server.set("healthy")
        for i in range(100):
            put_file(server, "stations", "st-%03d.json" % i, station_doc(i))
        b = browser()
        try:
            b.get(server.url + "/")
            deadline = time.monotonic() + 30
            while b.execute_script("return document.querySelectorAll('.tile').length") < 100:
                if time.monotonic() > deadline:
                    sys.exit("the wall did not show 100 tiles")
                time.sleep(0.1)
            lat = []
            for k in range(changes):
                i = random.randrange(100)
                want = "running BENCH%d" % k
                b.execute_script("""
                    window.__seen = null;
                    const id = arguments[0], want = arguments[1];
                    const check = () => {
                      const t = document.querySelector('.tile[data-station="' + id + '"] .state');
                      if (t && t.textContent === want && window.__seen === null) window.__seen = Date.now();
                    };
                    new MutationObserver(check).observe(document.getElementById('stations'),
                                                        {subtree: true, childList: true, characterData: true});""",
                                 "st-%03d" % i, want)
                time.sleep(random.uniform(0, 2))  # anywhere in the poll cycle
                t0 = time.time()
                put_file(server, "stations", "st-%03d.json" % i, station_doc(i, state=want))
                deadline = time.monotonic() + 10
                while b.execute_script("return window.__seen") is None:
                    if time.monotonic() > deadline:
                        sys.exit("the change did not reach the tile within 10 s")
                    time.sleep(0.02)
                lat.append(b.execute_script("return window.__seen") - t0 * 1000)
            polls = b.execute_script("return window.wallStats.pollMs.slice(2)")
        finally:
            b.quit()
    print("the wall, 100 stations in headless Chromium (%d changes):" % changes)
    print("  file changed on the server -> tile shows it: median %.0f ms, max %.0f ms"
          % (statistics.median(lat), max(lat)))
    print("  time per poll (listing + 100 station files + runs): median %.0f ms, max %.0f ms over %d polls"
          % (statistics.median(polls), max(polls), len(polls)))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--smoke", action="store_true", default=os.environ.get("TESSEL_BENCH_SMOKE") == "1")
    ap.add_argument("--build", default=os.path.join(REPO, "build"))
    a = ap.parse_args()
    if os.geteuid() != 0:
        sys.exit("run as root (the simulated board, nginx's workers)")
    # the board sees the build directory wherever it is
    os.environ["SIMBOARD_PASS"] = os.path.abspath(a.build)
    verdict_latency(os.path.abspath(a.build), 3 if a.smoke else 20)
    idle_wakeups(os.path.abspath(a.build), 2.0 if a.smoke else 20.0)
    wall(2 if a.smoke else 20)


if __name__ == "__main__":
    main()
