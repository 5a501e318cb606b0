#!/usr/bin/env python3
"""What an install puts onto the board: the program, the audio test tones in
the working directory and the systemd unit, staged with DESTDIR."""
import os
import shutil
import stat
import struct
import subprocess
import tempfile
import unittest
import wave

BUILD = os.environ["TESSEL_BUILD_DIR"]
SOUNDS = os.environ["TESSEL_SOUNDS_DIR"]
MAKE_TONE = os.environ["TESSEL_MAKE_TONE"]
CPU = os.environ["TESSEL_TARGET_CPU"]
WORKDIR = os.environ["TESSEL_WORKDIR"]
CMAKE = os.environ.get("CMAKE_COMMAND", "cmake")
# how to start a program built for the target (empty for a native build)
EMULATOR = os.environ.get("TESSEL_EMULATOR", "").split()

ELF_MACHINES = {"x86_64": 62, "aarch64": 183, "arm64": 183}
TONES = {"Audio_sgtl5000.WAV": 1000, "Audio_MQS.WAV": 440}


def samples(path):
    with wave.open(path, "rb") as w:
        params = w.getparams()
        data = w.readframes(params.nframes)
    values = struct.unpack("<%dh" % (len(data) // 2), data)
    channels = [values[c::params.nchannels] for c in range(params.nchannels)]
    return params, channels


def rising_zero_crossings(xs):
    return sum(1 for a, b in zip(xs, xs[1:]) if a < 0 <= b)


class Tones(unittest.TestCase):
    def test_each_output_gets_a_short_clean_tone_of_its_own_pitch(self):
        for name, freq in TONES.items():
            with self.subTest(name):
                params, (left, right) = samples(os.path.join(SOUNDS, name))
                self.assertEqual((params.nchannels, params.sampwidth, params.framerate), (2, 2, 48000))
                self.assertEqual(params.nframes, 72000, "1.5 s")
                self.assertEqual(left, right, "both channels carry the tone")
                # one steady second (started off a zero crossing) holds exactly the pitch
                self.assertEqual(rising_zero_crossings(left[12010:60010]), freq)
                # -6 dBFS: loud enough to hear, no clipping
                self.assertIn(max(abs(v) for v in left), (16383, 16384))
                # fades in and out: no click at either end
                self.assertEqual(left[0], 0)
                self.assertLess(abs(left[-1]), 200)
                self.assertLess(max(abs(v) for v in left[:48]), 2000, "first millisecond is quiet")
                self.assertLess(max(abs(v) for v in left[-48:]), 2000, "last millisecond is quiet")

    def test_the_same_request_gives_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "t.wav")
            subprocess.run([MAKE_TONE, out, "1000", "1500", "48000", "2"], check=True)
            with open(out, "rb") as a, open(os.path.join(SOUNDS, "Audio_sgtl5000.WAV"), "rb") as b:
                self.assertEqual(a.read(), b.read())

    def test_bad_requests_fail_and_leave_no_file(self):
        cases = {
            "too few arguments": ["1000"],
            "pitch at Nyquist": ["24000", "1000", "48000"],
            "not a whole number": ["1e3", "1000"],
            "trailing junk": ["1000", "100ms"],
            "no duration": ["1000", "0"],
            "rate too low": ["100", "1000", "500"],
            "too many channels": ["100", "1000", "48000", "9"],
        }
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "t.wav")
            for what, args in cases.items():
                with self.subTest(what):
                    r = subprocess.run([MAKE_TONE, out] + args, capture_output=True, text=True)
                    self.assertEqual(r.returncode, 2)
                    self.assertIn("make_tone", r.stderr)
                    self.assertFalse(os.path.exists(out))
            r = subprocess.run([MAKE_TONE, os.path.join(tmp, "no", "such", "dir.wav"), "1000", "100"],
                               capture_output=True, text=True)
            self.assertEqual(r.returncode, 1)
            self.assertIn("cannot write", r.stderr)


def parse_unit(path):
    """systemd unit -> {section: {key: [values]}}"""
    unit, section = {}, None
    with open(path) as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith(("#", ";")):
                continue
            if line.startswith("["):
                section = unit.setdefault(line.strip("[]"), {})
                continue
            key, value = line.split("=", 1)
            section.setdefault(key.strip(), []).append(value.strip())
    return unit


class Install(unittest.TestCase):
    def setUp(self):
        self.dest = tempfile.mkdtemp(prefix="tessel-dest-")

    def tearDown(self):
        shutil.rmtree(self.dest)

    def install(self, prefix, *extra):
        r = subprocess.run([CMAKE, "--install", BUILD, "--prefix", prefix, *extra],
                           env={**os.environ, "DESTDIR": self.dest}, capture_output=True, text=True)
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)

    def staged(self, path):
        return os.path.join(self.dest, path.lstrip("/"))

    def files(self):
        found = set()
        for root, _, names in os.walk(self.dest):
            for n in names:
                found.add("/" + os.path.relpath(os.path.join(root, n), self.dest))
        return found

    def test_board_layout(self):
        self.install("/usr")
        unit_path = "/usr/lib/systemd/system/gui-tessel.service"
        self.assertEqual(self.files(), {
            "/usr/bin/gui_tessel", "/usr/bin/tessel-report", unit_path,
            WORKDIR + "/Audio_sgtl5000.WAV", WORKDIR + "/Audio_MQS.WAV"})

        program = self.staged("/usr/bin/gui_tessel")
        self.assertTrue(os.stat(program).st_mode & stat.S_IXUSR)
        with open(program, "rb") as f:
            header = f.read(20)
        self.assertEqual(header[:4], b"\x7fELF")
        self.assertEqual(struct.unpack("<H", header[18:20])[0], ELF_MACHINES[CPU], "built for " + CPU)
        for name in TONES:
            with open(self.staged(WORKDIR + "/" + name), "rb") as a, open(os.path.join(SOUNDS, name), "rb") as b:
                self.assertEqual(a.read(), b.read())

        unit = parse_unit(self.staged(unit_path))
        service = unit["Service"]
        self.assertEqual(service["ExecStart"], ["/usr/bin/gui_tessel"])
        self.assertEqual(service["WorkingDirectory"], [WORKDIR], "the sound files' directory")
        env = dict(e.split("=", 1) for e in service["Environment"])
        self.assertEqual(set(env), {"XDG_RUNTIME_DIR", "WAYLAND_DISPLAY"})
        self.assertTrue(os.path.isabs(env["XDG_RUNTIME_DIR"]))
        self.assertEqual(service["Restart"], ["always"])
        self.assertEqual(unit["Unit"]["After"], unit["Unit"]["Wants"], "after the compositor it pulls in")
        self.assertEqual(unit["Install"]["WantedBy"], ["graphical.target"])
        self.assertNotIn("User", service, "the tests need root")

    def test_the_installed_report_reads_the_working_directory_it_is_given(self):
        self.install("/usr", "--strip")
        report = EMULATOR + [self.staged("/usr/bin/tessel-report")]
        work = self.staged(WORKDIR)
        r = subprocess.run(report + ["--dir", work], capture_output=True, text=True, timeout=60)
        self.assertEqual(r.returncode, 2, r.stdout + r.stderr)
        self.assertIn("no readable record", r.stderr)
        os.makedirs(os.path.join(work, "Log"))
        with open(os.path.join(work, "Log", "record.json"), "w") as f:
            f.write('{"schema_version": 1, "tests": [{"line": 1, "name": "I2C", "status_line": "I2C Test ok",'
                    ' "outcome": "passed", "duration_ms": 2500}]}')
        r = subprocess.run(report + ["--dir", work], capture_output=True, text=True, timeout=60)
        # one passed test of fifteen is no passed board
        self.assertEqual(r.returncode, 1, r.stdout + r.stderr)
        self.assertIn("I2C           passed        2.5 s      I2C Test ok", r.stdout)

    def test_the_unit_names_the_program_where_the_prefix_put_it(self):
        self.install("/opt/tessel")
        unit = parse_unit(self.staged("/opt/tessel/lib/systemd/system/gui-tessel.service"))
        self.assertEqual(unit["Service"]["ExecStart"], ["/opt/tessel/bin/gui_tessel"])
        self.assertTrue(os.path.isfile(self.staged("/opt/tessel/bin/gui_tessel")))

    def test_installing_again_keeps_the_boards_results(self):
        self.install("/usr")
        work = self.staged(WORKDIR)
        os.makedirs(os.path.join(work, "Log"))
        with open(os.path.join(work, "zorazu_zove"), "w") as f:
            f.write("I2C Test ok\n" + "not yet\n" * 14)
        with open(os.path.join(work, "Log", "Log_I2C"), "w") as f:
            f.write("bus 0\n")
        self.install("/usr")
        with open(os.path.join(work, "zorazu_zove")) as f:
            self.assertEqual(f.readline(), "I2C Test ok\n")
        with open(os.path.join(work, "Log", "Log_I2C")) as f:
            self.assertEqual(f.read(), "bus 0\n")

    def test_the_installed_program_starts_as_the_unit_says_and_reports_a_missing_compositor(self):
        # What systemd does before the compositor is up: start the program in
        # its working directory; it must say why it stops, and not hang.
        # Stripped, as it goes onto the board.
        self.install("/usr", "--strip")
        program = self.staged("/usr/bin/gui_tessel")
        self.assertLess(os.path.getsize(program), os.path.getsize(os.path.join(BUILD, "gui_tessel")))
        unit = parse_unit(self.staged("/usr/lib/systemd/system/gui-tessel.service"))
        env = dict(e.split("=", 1) for e in unit["Service"]["Environment"])
        # a clean environment, as systemd gives; a sanitizer build keeps its options
        inherited = {k: v for k, v in os.environ.items() if k in ("PATH", "ASAN_OPTIONS", "UBSAN_OPTIONS")}
        with tempfile.TemporaryDirectory() as runtime:
            env["XDG_RUNTIME_DIR"] = runtime  # no compositor socket in there
            self.assertEqual(self.staged(unit["Service"]["ExecStart"][0]), program)
            r = subprocess.run(EMULATOR + [program],
                               cwd=self.staged(unit["Service"]["WorkingDirectory"][0]),
                               env={**inherited, **env},
                               capture_output=True, text=True, timeout=60)
        self.assertEqual(r.returncode, 2, r.stdout + r.stderr)
        self.assertIn("WAYLAND_DISPLAY=" + env["WAYLAND_DISPLAY"], r.stderr)
        self.assertNotIn("zorazu_zove", os.listdir(self.staged(WORKDIR)), "nothing written without a screen")


if __name__ == "__main__":
    unittest.main(verbosity=2)
