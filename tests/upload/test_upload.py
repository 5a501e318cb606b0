#!/usr/bin/python3
"""Runs leave the board: the station on the simulated board against a real
nginx on 127.0.0.1 (tests/upload/line_server.py).

  ServerTrouble      the in-process station (upload_station) through a Run all
                     while the server is down, refusing, failing and hanging
  KilledThenRunAll   the real program under sway: SIGKILLed right after a test
                     ends, started again, then Run all: the server's files
  WallTwoStations    two programs on two boards, the wall in headless Chromium
  SecureServer       the in-process station over https (a CA of the test's
                     own) with basic auth; a wrong CA, a wrong password

Environment (CTest sets it): UPLOAD_STATION, TESSEL_APP, TESSEL_E2E_VPOINTER,
SIMBOARD_RUN, TESSEL_E2E_DIR. Exit status 77 when everything was skipped."""

import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
sys.path.insert(0, os.environ.get("TESSEL_E2E_DIR") or os.path.join(REPO, "tests", "e2e"))
from line_server import LineServer  # noqa: E402

SIMBOARD_RUN = os.environ.get("SIMBOARD_RUN") or os.path.join(REPO, "tests", "simboard", "simboard-run")
TITLE = "GUI Tessel"
START_TAP = (640, 400)
RUN_ALL = (307, 154)  # "All_TEST" on the test screen
PL2303_TEST = (162, 696)


def config(dir_, server, station="st-1", extra=""):
    path = os.path.join(dir_, "gui-tessel.conf")
    with open(path, "w") as f:
        f.write("# test station\nserver = %s/\nstation = %s\n%s" % (server.url, station, extra))
    return path


def server_paths(run_id):
    """Where a run's files go on the server: by the UTC day of its start, and by board."""
    serial, start = run_id.rsplit("-", 1)
    day = "%s-%s-%s" % (start[0:4], start[4:6], start[6:8])
    return day + "/" + run_id, serial + "/" + run_id


def board_record(work, run_id):
    """The board's files of a run: its history copy once closed, else the current record."""
    log = os.path.join(work, "Log")
    base = os.path.join(log, "runs", run_id)
    paths = (base + ".json", base + ".xml") if os.path.exists(base + ".json") else \
        (os.path.join(log, "record.json"), os.path.join(log, "record.xml"))
    out = []
    for p in paths:
        with open(p, "rb") as f:
            out.append(f.read())
    return out


class UploadCase(unittest.TestCase):
    def assert_runs_equal_board(self, server, work):
        """Exactly one .json and one .xml per run under runs/<day>/ and the .json
        under boards/<serial>/, each equal to the board's."""
        names = server.tree("runs")
        ids = sorted({os.path.basename(n).rsplit(".", 1)[0] for n in names})
        self.assertTrue(ids, "no run on the server")
        by_day = {i: server_paths(i)[0] for i in ids}
        self.assertEqual(names, sorted([by_day[i] + ".json" for i in ids] + [by_day[i] + ".xml" for i in ids]))
        self.assertEqual(server.tree("boards"), sorted(server_paths(i)[1] + ".json" for i in ids))
        for run_id in ids:
            js, xml = board_record(work, run_id)
            self.assertEqual(server.read("runs", by_day[run_id] + ".json"), js, run_id)
            self.assertEqual(server.read("runs", by_day[run_id] + ".xml"), xml, run_id)
            self.assertEqual(server.read("boards", server_paths(run_id)[1] + ".json"), js, run_id)
        return ids


class ServerTrouble(UploadCase):
    """Down, 403, 500 and hanging during a Run all, then healthy: the verdicts
    come as fast as ever and the run arrives once, equal to the board's."""

    def test_run_all_through_trouble(self):
        station = os.environ.get("UPLOAD_STATION", "")
        if not os.access(station, os.X_OK):
            self.skipTest("upload_station not built")
        tmp = tempfile.mkdtemp(prefix="tessel-upload-")
        os.chmod(tmp, 0o755)
        work, gate = os.path.join(tmp, "work"), os.path.join(tmp, "gate")
        os.mkdir(work)
        os.mkdir(gate)
        with LineServer(tmp) as server:
            env = dict(os.environ, TESSEL_CONFIG=config(tmp, server), UPLOAD_GATE=gate, UPLOAD_DRAIN_S="90")
            p = subprocess.Popen([SIMBOARD_RUN, "-s", "healthy", "-b", tmp, "--", "bash", "-c",
                                  '/.simboard/lib/sb-scenario workdir . && exec "$0" runall', station],
                                 cwd=work, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
            try:
                # Three verdicts in each mood, each mood long enough for a heartbeat.
                for n, mood in enumerate(["down", "403", "500", "hang", "healthy"]):
                    server.set(mood)
                    for line in range(3 * n + 1, 3 * n + 4):
                        open(os.path.join(gate, str(line)), "w").close()
                        time.sleep(0.4)
                    time.sleep(6)
                out, err = p.communicate(timeout=150)
            finally:
                if p.poll() is None:
                    p.kill()
                    p.wait()
            self.assertEqual(p.returncode, 0, err[-3000:])
            verdicts = [l.split(" ", 3) for l in out.splitlines() if l.startswith("verdict ")]
            self.assertEqual(len(verdicts), 15, out)
            for _, line, ms, text in verdicts:
                self.assertIn("ok", text)
                # A main thread that waited on the network would take seconds
                # (a hanging server: 10 s). The backlight scripts pause after
                # their last sed.
                limit = 850.0 if line in ("10", "11") else 250.0
                self.assertLess(float(ms), limit, "line %s: %s ms" % (line, ms))
            self.assertIn("outbox 0", out)
            stop_ms = float(out.split("stop_ms ")[1].split()[0])
            self.assertLess(stop_ms, 1000.0)
            # the console said why, once per reason, never per retry
            reasons = [l for l in err.splitlines() if l.startswith("upload: PUT")]
            self.assertGreaterEqual(len(reasons), 3, err)
            self.assertLessEqual(len(reasons), 12, "\n".join(reasons))
            self.assertIn("HTTP 500", err)
            self.assert_runs_equal_board(server, work)
            self.assertEqual(server.files("stations"), ["st-1.json"])
            # leaving in order is the heartbeat's last word
            self.assertEqual(json.loads(server.read("stations", "st-1.json"))["state"], "stopped")
        shutil.rmtree(tmp, ignore_errors=True)


def openssl(*args):
    return subprocess.run(["openssl"] + list(args), check=True, capture_output=True, text=True).stdout


class SecureServer(UploadCase):
    """nginx over https with a certificate from the test's own CA (named in
    ca_file) and auth_basic: the run arrives. A wrong CA or a wrong password
    leaves it in the outbox, with one console line that names the cause and
    holds no secret."""

    PASSWORD = "s3cret-Line-7"

    def test_https_basic_auth(self):
        station = os.environ.get("UPLOAD_STATION", "")
        if not os.access(station, os.X_OK):
            self.skipTest("upload_station not built")
        tmp = tempfile.mkdtemp(prefix="tessel-tls-")
        os.chmod(tmp, 0o755)
        p = lambda name: os.path.join(tmp, name)
        for ca in ("line-ca", "other-ca"):
            openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=" + ca,
                    "-keyout", p(ca + ".key"), "-out", p(ca + ".crt"))
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                "-addext", "subjectAltName=IP:127.0.0.1", "-CA", p("line-ca.crt"), "-CAkey", p("line-ca.key"),
                "-keyout", p("server.key"), "-out", p("server.crt"))
        os.chmod(p("server.key"), 0o644)  # nginx's master reads it as root; the files are the test's own
        with open(p("htpasswd"), "w") as f:
            f.write("st-1:%s\n" % openssl("passwd", "-apr1", self.PASSWORD).strip())

        with LineServer(tmp, tls=(p("server.crt"), p("server.key")), htpasswd=p("htpasswd")) as server:
            server.set("healthy")
            for name, ca, password, cause in (("good", "line-ca", self.PASSWORD, None),
                                              ("wrong-ca", "other-ca", self.PASSWORD, "certificate"),
                                              ("wrong-password", "line-ca", "wrong-" + self.PASSWORD, "HTTP 401")):
                work, creds, before = p(name), p(name + ".credentials"), server.tree("runs")
                os.mkdir(work)
                with open(creds, "w") as f:
                    f.write("st-1:%s\n" % password)
                os.chmod(creds, 0o600)
                conf = config(tmp, server, extra="ca_file = %s\nauth = basic\ncredentials_file = %s\n"
                              % (p(ca + ".crt"), creds))
                env = dict(os.environ, TESSEL_CONFIG=conf, UPLOAD_DRAIN_S="30" if cause is None else "3")
                r = subprocess.run([SIMBOARD_RUN, "-s", "healthy", "-b", tmp, "--", "bash", "-c",
                                    '/.simboard/lib/sb-scenario workdir . && exec "$0" pl2303 1', station],
                                   cwd=work, env=env, capture_output=True, text=True, timeout=120)
                self.assertEqual(r.returncode, 0, r.stderr[-3000:])
                self.assertNotIn(self.PASSWORD, r.stdout + r.stderr, name)
                failures = [l for l in r.stderr.splitlines() if l.startswith("upload: PUT")]
                if cause is None:
                    self.assertIn("outbox 0", r.stdout)
                    self.assertEqual(failures, [])
                    run_id, = self.assert_runs_equal_board(server, work)
                    # the line groups runs by the configured station id, not the board's host name
                    doc = json.loads(server.read("runs", server_paths(run_id)[0] + ".json"))
                    self.assertEqual(doc["station"]["id"], "st-1")
                    continue
                self.assertIn("outbox 1", r.stdout, name)
                self.assertEqual(len(os.listdir(os.path.join(work, "Log", "outbox"))), 1, name)
                self.assertEqual(len(failures), 1, "%s: %s" % (name, failures))
                self.assertIn(cause, failures[0], name)
                self.assertEqual(server.tree("runs"), before, name)
        shutil.rmtree(tmp, ignore_errors=True)


class Station:
    """The real program on a simulated board of its own, in a session's compositor."""

    def __init__(self, session, server, station, work):
        self.s, self.work = session, work
        os.makedirs(work, exist_ok=True)
        self.conf = config(os.path.dirname(work), server, station) if station else None
        self.proc = None

    def start(self, tap_start=True):
        import harness
        env = {"TESSEL_CONFIG": self.conf} if self.conf else {}
        self.proc = self.s.start_app(SIMBOARD_RUN, ["-s", "healthy", "-b", self.s.dir, "--", "bash", "-c",
                                                    '/.simboard/lib/sb-scenario workdir . && exec "$0"',
                                                    os.environ["TESSEL_APP"]], env=env, cwd=self.work)
        if tap_start:
            self.s.wait_window(TITLE, timeout=10.0)
            time.sleep(1.5)  # the intro animation
            self.s.tap(*START_TAP)
            harness.wait_until(lambda: os.path.exists(os.path.join(self.work, "zorazu_zove")), 5.0, what="test screen")
            time.sleep(0.5)
        return self

    def app_pid(self):
        """gui_tessel among the processes this station's runner started."""
        import harness
        return harness.find_process(self.proc.pid, "gui_tessel")

    def status(self):
        with open(os.path.join(self.work, "zorazu_zove")) as f:
            return f.read().splitlines()


def e2e_ready(case):
    import harness
    missing = harness.missing_tools()
    if missing:
        case.skipTest("not installed: " + ", ".join(missing))
    if not os.access(os.environ.get("TESSEL_APP", ""), os.X_OK):
        case.skipTest("TESSEL_APP not built")
    return harness


class KilledThenRunAll(UploadCase):
    """The real program under sway: SIGKILLed right after a test ended while
    the server was down, started again with it up (the run arrives), then
    Run all in the same run (the server's files equal the board's; the
    station file follows)."""

    def test_killed_then_run_all(self):
        harness = e2e_ready(self)
        with harness.Session() as s, LineServer(s.dir) as server:
            # the server is down: what the test leaves can only be on the board
            st = Station(s, server, "st-1", os.path.join(s.dir, "board1", "work")).start()
            record = os.path.join(st.work, "Log", "record.json")

            def pl2303_recorded():
                try:
                    with open(record) as f:
                        return any(t["line"] == 9 for t in json.load(f)["tests"])
                except (OSError, ValueError, KeyError):
                    return False
            s.tap(*PL2303_TEST)
            harness.wait_until(pl2303_recorded, 30, 0.1, "the PL2303 test in the record")
            pid = st.app_pid()
            self.assertIsNotNone(pid)
            os.kill(pid, 9)
            st.proc.wait(10)
            self.assertEqual(server.tree("runs"), [])
            server.set("healthy")
            st.start()
            harness.wait_until(lambda: len(server.tree("runs")) == 2 and server.tree("boards"), 30, 0.1,
                               "the files of the killed run")
            self.assert_runs_equal_board(server, st.work)

            s.tap(*RUN_ALL)
            harness.wait_until(lambda: sum("ok" in l for l in st.status()) == 15, 120, 0.1, "15 verdicts")
            # the last version of the run is on the server, as on the board
            harness.wait_until(lambda: self._equal(server, st.work), 30, 0.1, "the board's record on the server")
            ids = self.assert_runs_equal_board(server, st.work)
            first = json.loads(server.read("stations", "st-1.json"))
            harness.wait_until(lambda: json.loads(server.read("stations", "st-1.json"))["time"] != first["time"],
                               12, 0.1, "a newer heartbeat")
            beat = json.loads(server.read("stations", "st-1.json"))
            self.assertEqual(beat["state"], "idle")
            self.assertEqual(beat["board"]["serial_number"], "3A1C29F40B7D5E66")
            self.assertEqual([v["verdict"] for v in beat["verdicts"]], st.status())
            self.assertEqual({v["outcome"] for v in beat["verdicts"]}, {"passed"})
            self.assertEqual(beat["outbox"], 0)
            self.assertEqual([beat["run_id"]], ids)  # a restart and Run all stay in one run
            s.close_window(TITLE)
            self.assertEqual(st.proc.wait(5.0), 0, st.proc.output()[-2000:])

    def _equal(self, server, work):
        try:
            self.assert_runs_equal_board(server, work)
            return True
        except (AssertionError, OSError):
            return False


class WallTwoStations(unittest.TestCase):
    """Two programs on two boards; the wall in headless Chromium shows both,
    then "no contact" for the one stopped."""

    def test_wall(self):
        harness = e2e_ready(self)
        try:
            from selenium import webdriver
            from selenium.webdriver.chrome.options import Options
        except ImportError:
            self.skipTest("python3-selenium not installed")
        ok = ["I2C Test ok", "GPIO Key Test ok", "UART7 Test ok", "SPI3 Master Test ok", "SPI3 Slave Test ok",
              "ADC Test ok", "USB1 Test ok", "USB2 Test ok", "PL2303 Test ok", "MIPI-DSI Test ok", "LVDS Test ok",
              "Audio Default Sgtl5000 ok", "Audio MQS ok", "CSI Test ok", "RTC Test ok"]
        mixed = ["I2C Test failed", "GPIO Key Test Failed (timed out)", "not yet"] + ok[3:]
        expected = {"st-a": ["passed"] * 15, "st-b": ["failed", "timed out", "not run"] + ["passed"] * 12}
        with harness.Session() as s, LineServer(s.dir) as server:
            server.set("healthy")
            stations = {}
            for name, lines in (("st-a", ok), ("st-b", mixed)):
                st = Station(s, server, name, os.path.join(s.dir, name, "work"))
                with open(os.path.join(st.work, "zorazu_zove"), "w") as f:
                    f.write("".join(l + "\n" for l in lines))
                stations[name] = st.start(tap_start=False)
            harness.wait_until(lambda: server.files("stations") == ["st-a.json", "st-b.json"], 20, 0.1, "two station files")

            opts = Options()
            for a in ("--headless=new", "--no-sandbox", "--window-size=1280,800", "--disable-gpu"):
                opts.add_argument(a)
            browser = webdriver.Chrome(options=opts)
            try:
                browser.get(server.url + "/")
                tiles = """return [...document.querySelectorAll('.tile')].map(t => [t.dataset.station,
                    t.querySelector('.state').textContent,
                    [...t.querySelectorAll('.cells span')].map(c => c.dataset.outcome)])"""
                shown = harness.wait_until(lambda: {t[0]: t for t in browser.execute_script(tiles)} if
                                   len(browser.execute_script(tiles)) == 2 else None, 15, 0.1, "two tiles")
                for name, outcomes in expected.items():
                    self.assertEqual(shown[name][1], "idle")
                    self.assertEqual(shown[name][2], outcomes, name)
                stations["st-b"].proc.stop()
                t0 = time.monotonic()

                def gone():
                    # a program that left in order says "stopped" in its last heartbeat; else the
                    # heartbeats just end
                    said = json.loads(server.read("stations", "st-b.json")).get("state")
                    want = "stopped" if said == "stopped" else "no contact"
                    return {t[0]: t[1] for t in browser.execute_script(tiles)}["st-b"] == want and want
                shown = harness.wait_until(gone, 20, 0.1, "stopped or no contact on st-b's tile")
                print("st-b shows %s %.1f s after it stopped" % (shown, time.monotonic() - t0))
                self.assertEqual({t[0]: t[1] for t in browser.execute_script(tiles)}["st-a"], "idle")
                browser.save_screenshot(os.path.join(s.shots, "wall.png"))
                s.keep = s.keep or os.environ.get("TESSEL_E2E_KEEP") == "1"
            finally:
                browser.quit()
            stations["st-a"].proc.stop()


if __name__ == "__main__":
    result = unittest.main(exit=False, verbosity=2).result
    if result.testsRun and len(result.skipped) == result.testsRun:
        sys.exit(77)
    sys.exit(0 if result.wasSuccessful() else 1)
