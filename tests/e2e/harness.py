"""End-to-end harness: real clients under a private headless compositor.

One Session = one compositor running as `nobody` with its own runtime dir,
and any clients the test starts:
  - sway (default): one virtual pointer (vpointer helper), screenshots by grim;
    outputs of any size and scale;
  - weston (compositor="weston", shell="desktop" or "kiosk"): headless
    backend, pixman renderer, and the fixture module (tests/e2e/weston) for
    touch, pointer, screenshots, the window list and close.
Every wait has a deadline and teardown stops exactly the processes the
session started, by PID.

    with Session() as s:
        app = s.start_app("/path/to/gui_tessel")
        s.wait_window("GUI Tessel")
        img = s.wait_for(lambda im: ..., timeout=3)
        s.tap(640, 400)
        s.close_window("GUI Tessel")
        assert app.wait(1.0) == 0

Touch (weston sessions): touch_down/touch_motion/touch_up(touch_id=...),
touch_frame, touch_cancel, touch_tap, touch_drag.

Environment:
  TESSEL_E2E_COMPOSITOR  compositor of sessions that name none (sway)
  TESSEL_E2E_WESTON_RENDERER  weston's renderer: pixman (default) or gl (Mesa's,
                       in software here); gl releases each client buffer once
                       it has copied it, pixman holds the one it shows
  TESSEL_E2E_WESTON_FIXTURE  the weston fixture module (tessel-fixture.so)
  TESSEL_E2E_VPOINTER  vpointer binary (default: next to this file's build dir)
  TESSEL_E2E_PROBE     probe_client binary
  TESSEL_APP           application binary
  TESSEL_E2E_KEEP=1    keep the session directory (logs, screenshots) even on success
  TESSEL_E2E_TMP       where session directories are made (default: system temp)

Runs on Debian's /usr/bin/python3 with the standard library and PIL only.
"""

import ctypes
import glob
import json
import os
import re
import select
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

from PIL import Image

SKIP = 77
WIDTH, HEIGHT = 1280, 800
NOBODY = 65534
PARK = (WIDTH - 1, HEIGHT - 1)

# LVGL samples its pointer every 30 ms; a press shorter than that can vanish
# between two reads, so taps hold the button for several read periods.
TAP_HOLD = 0.15
# Pause after a release before the pointer moves elsewhere, for the same reason.
SETTLE = 0.06


class Skip(unittest.SkipTest):
    """Raised when the machine cannot run these tests (a test using it is skipped)."""


def now():
    return time.monotonic()


def wait_until(cond, timeout, interval=0.01, what="condition"):
    """Poll cond() until it returns a true value (returned); AssertionError at the deadline."""
    deadline = now() + timeout
    while True:
        value = cond()
        if value:
            return value
        if now() >= deadline:
            raise AssertionError("%s not reached within %.1f s" % (what, timeout))
        time.sleep(interval)


def sleep_until(t):
    """Sleep until monotonic time t (no-op when it has passed); for input sent on a schedule."""
    left = t - now()
    if left > 0:
        time.sleep(left)


def missing_tools(compositor="sway"):
    """Tools a session with this compositor needs that are not installed (or built)."""
    tools = ("sway", "swaymsg", "grim", "setpriv") if compositor == "sway" else ("weston", "setpriv")
    missing = [t for t in tools if shutil.which(t) is None]
    if compositor == "weston":
        try:
            _find_helper("TESSEL_E2E_WESTON_FIXTURE", "tessel-fixture.so", executable=False)
        except FileNotFoundError:
            missing.append("tessel-fixture.so (cmake --build <dir> --target tessel_weston_fixture)")
    return missing


def _pdeathsig_kill():
    # Children die with the harness even when it is killed outright (CTest timeout).
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl(1, signal.SIGKILL, 0, 0, 0)  # PR_SET_PDEATHSIG


def _terminate_on_sigterm():
    # Turn SIGTERM into an exception so that `with Session()` tears down.
    if signal.getsignal(signal.SIGTERM) == signal.SIG_DFL:
        def handler(signum, frame):
            raise SystemExit(128 + signum)
        signal.signal(signal.SIGTERM, handler)


def _find_helper(env_name, filename, executable=True):
    mode = os.X_OK if executable else os.R_OK
    path = os.environ.get(env_name)
    if path:
        if not os.access(path, mode):
            raise FileNotFoundError("%s=%s is not built (cmake --build <dir> --target "
                                    "tessel_e2e_vpointer tessel_e2e_probe)" % (env_name, path))
        return path
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(os.path.dirname(here))
    for cand in sorted(glob.glob(os.path.join(root, "build*", "tests", "e2e", filename))) + \
            sorted(glob.glob(os.path.join(root, "build*", filename))):
        if os.access(cand, mode):
            return cand
    raise FileNotFoundError("%s not set and %s not found in a build directory" % (env_name, filename))


# ---------------------------------------------------------------- images

def rgb(img, x, y):
    return img.getpixel((x, y))[:3]


def near(c1, c2, tol=24):
    return all(abs(int(a) - int(b)) <= tol for a, b in zip(c1[:3], c2[:3]))


def hexrgb(value):
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)


def region_mean(img, box):
    """Mean (r, g, b) over box = (x0, y0, x1, y1), x1/y1 exclusive."""
    part = img.crop(box).convert("RGB")
    n = part.width * part.height
    sums = [0, 0, 0]
    for r, g, b in part.getdata():
        sums[0] += r
        sums[1] += g
        sums[2] += b
    return tuple(s / n for s in sums)


def fraction(img, box, pred, step=1):
    """Share of pixels in box for which pred((r, g, b)) is true (every step-th pixel)."""
    part = img.crop(box).convert("RGB")
    if step > 1:
        part = part.resize((max(1, part.width // step), max(1, part.height // step)), Image.NEAREST)
    data = list(part.getdata())
    return sum(1 for p in data if pred(p)) / len(data)


def is_white(p, tol=8):
    return all(c >= 255 - tol for c in p[:3])


PARKED_TIP = 4


def mismatch(img, ref, at=(0, 0), ignore=(), tol=12):
    """Bounding box (in ref's coordinates) of the pixels where img, read from
    `at` on, differs from ref by more than tol in a channel; None when it
    matches. ignore: boxes (x0, y0, x1, y1) of ref left out."""
    from PIL import ImageChops
    x, y = at
    part = img.crop((x, y, x + ref.width, y + ref.height)).convert("RGB")
    diff = ImageChops.difference(part, ref.convert("RGB")).convert("L" if tol < 0 else "RGB")
    bands = [b.point(lambda v: 255 if v > tol else 0) for b in diff.split()]
    mask = bands[0]
    for b in bands[1:]:
        mask = ImageChops.lighter(mask, b)
    for box in ignore:
        mask.paste(0, box)
    # The parked pointer (Session.park): where the client shows a cursor
    # (lv_drivers 8.3 does, the bundled backend hides it), its tip stays in
    # the output's last PARKED_TIP pixels of each side.
    cx, cy = img.width - PARKED_TIP - x, img.height - PARKED_TIP - y
    mask.paste(0, (cx, cy, cx + PARKED_TIP, cy + PARKED_TIP))
    return mask.getbbox()


def load_png(path):
    with Image.open(path) as im:
        img = im.convert("RGB")
        img.load()
    return img


# ---------------------------------------------------------------- processes

class Proc:
    """A process the session started; stdout/stderr go to files."""

    def __init__(self, name, argv, env, cwd, logdir, stdin=subprocess.DEVNULL,
                 pdeathsig=True, capture_stdout=True):
        self.name = name
        self.argv = argv
        self.out_path = os.path.join(logdir, name + ".out")
        self.err_path = os.path.join(logdir, name + ".err")
        self._out = open(self.out_path, "wb")
        self._err = open(self.err_path, "wb")
        self.started = now()
        self.popen = subprocess.Popen(
            argv, env=env, cwd=cwd, stdin=stdin,
            stdout=self._out if capture_stdout else subprocess.PIPE,
            stderr=self._err, close_fds=True,
            preexec_fn=_pdeathsig_kill if pdeathsig else None)
        self.pid = self.popen.pid
        self.ended = None

    def poll(self):
        rc = self.popen.poll()
        if rc is not None and self.ended is None:
            self.ended = now()
        return rc

    def wait(self, timeout):
        """Exit status, or None if still running after timeout seconds."""
        try:
            rc = self.popen.wait(timeout=max(0.0, timeout))
        except subprocess.TimeoutExpired:
            return None
        if self.ended is None:
            self.ended = now()
        return rc

    def stop(self, grace=2.0):
        """Stop this process (only this PID): SIGTERM, then SIGKILL after grace."""
        if self.poll() is None:
            try:
                self.popen.send_signal(signal.SIGTERM)
            except ProcessLookupError:
                pass
            if self.wait(grace) is None:
                try:
                    self.popen.kill()
                except ProcessLookupError:
                    pass
                self.wait(grace)
        for f in (self._out, self._err):
            try:
                f.close()
            except OSError:
                pass
        return self.popen.returncode

    def _read(self, path):
        try:
            with open(path, "rb") as f:
                return f.read().decode("utf-8", "replace")
        except OSError:
            return ""

    def stdout(self):
        return self._read(self.out_path)

    def stderr(self):
        return self._read(self.err_path)

    def output(self):
        return self.stdout() + self.stderr()


class _LineReader:
    """Line reads from a pipe with a deadline."""

    def __init__(self, fileobj):
        self.fd = fileobj.fileno()
        self.buf = b""

    def readline(self, timeout):
        deadline = now() + timeout
        while b"\n" not in self.buf:
            left = deadline - now()
            if left <= 0:
                raise TimeoutError("no reply within %.1f s" % timeout)
            r, _, _ = select.select([self.fd], [], [], left)
            if r:
                chunk = os.read(self.fd, 4096)
                if not chunk:
                    raise EOFError("pipe closed")
                self.buf += chunk
        line, _, self.buf = self.buf.partition(b"\n")
        return line.decode("utf-8", "replace")


# ---------------------------------------------------------------- session

class _Fixture:
    """Line-based control channel of the weston fixture module (tests/e2e/weston)."""

    def __init__(self, path, timeout=5.0):
        import socket
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.settimeout(timeout)
        self.sock.connect(path)
        self.reader = _LineReader(self.sock)

    def call(self, command, timeout=10.0):
        """Send one command; returns (last line's words after "ok", earlier lines)."""
        self.sock.sendall((command + "\n").encode())
        lines = []
        while True:
            line = self.reader.readline(timeout)
            if line == "ok" or line.startswith("ok "):
                return line.split()[1:], lines
            if line.startswith("error"):
                raise RuntimeError("weston fixture: %r -> %s" % (command, line))
            lines.append(line)

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


class Session:
    """A private headless compositor with input injection and screenshots.

    compositor: "sway" (default; TESSEL_E2E_COMPOSITOR overrides the default)
    or "weston" (headless backend, pixman renderer, with the fixture module
    for touch, pointer and screenshots). shell (weston only): "desktop" or
    "kiosk". scale: the output's scale (sway only). width and height are
    always output pixels, and so are all coordinates the session takes or
    gives: input, screenshots, window rectangles.
    """

    def __init__(self, width=WIDTH, height=HEIGHT, keep=None, compositor=None, shell="desktop", scale=1):
        self.width, self.height = width, height
        self.compositor = compositor or os.environ.get("TESSEL_E2E_COMPOSITOR") or "sway"
        if self.compositor not in ("sway", "weston"):
            raise ValueError("compositor %r: sway or weston" % self.compositor)
        if shell not in ("desktop", "kiosk"):
            raise ValueError("shell %r: desktop or kiosk" % shell)
        if self.compositor == "weston" and scale != 1:
            raise ValueError("scaled outputs: sway sessions only")
        self.shell = shell
        self.scale = scale
        self.keep = os.environ.get("TESSEL_E2E_KEEP") == "1" if keep is None else keep
        self.dir = None
        self.sway = None
        self.weston = None
        self.server = None  # the compositor's Proc, whichever it is
        self.vpointer = None
        self.fixture = None
        self.apps = []
        self.cursor = None
        self.timings = {}
        self._vp_reader = None
        self._shot_no = 0
        self.tool_log = None
        self.touching = set()

    # -- lifecycle

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.teardown(failed=True)
            raise
        return self

    def __exit__(self, exc_type, exc, tb):
        self.teardown(failed=exc_type is not None)
        return False

    def _make_dirs(self):
        base = os.environ.get("TESSEL_E2E_TMP") or None
        self.dir = tempfile.mkdtemp(prefix="tessel-e2e-", dir=base)
        os.chmod(self.dir, 0o755)  # nobody must reach its runtime dir and home below
        self.run_dir = os.path.join(self.dir, "run")
        self.home = os.path.join(self.dir, "home")
        self.work = os.path.join(self.dir, "work")
        self.shots = os.path.join(self.dir, "shots")
        os.mkdir(self.run_dir, 0o700)
        os.mkdir(self.home, 0o755)
        os.mkdir(self.work, 0o755)
        os.mkdir(self.shots, 0o755)
        os.chown(self.run_dir, NOBODY, NOBODY)
        os.chown(self.home, NOBODY, NOBODY)
        # weston's fixture writes the screenshots
        os.chown(self.shots, NOBODY, NOBODY)

    def _server_env(self):
        return {
            "PATH": "/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin",
            "XDG_RUNTIME_DIR": self.run_dir,
            "HOME": self.home,
        }

    def _as_nobody(self, argv):
        # setpriv sets the parent-death signal after dropping to nobody
        # (a credential change clears one set earlier).
        return ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups",
                "--pdeathsig", "KILL", "--"] + argv

    def start(self):
        missing = missing_tools(self.compositor)
        if missing:
            raise Skip("not installed: " + ", ".join(missing))
        _terminate_on_sigterm()
        t0 = now()
        self._make_dirs()
        if self.compositor == "sway":
            self._start_sway(t0)
        else:
            self._start_weston(t0)
        self.timings["session_start"] = now() - t0

    def _start_sway(self, t0):
        config = os.path.join(self.home, "sway.conf")
        with open(config, "w") as f:
            f.write("output HEADLESS-1 resolution %dx%d position 0 0 scale %d\n"
                    "default_border none\n"
                    "default_floating_border none\n"
                    "gaps inner 0\n"
                    "gaps outer 0\n"
                    "xwayland disable\n"
                    "focus_follows_mouse no\n" % (self.width, self.height, self.scale))
        os.chmod(config, 0o644)
        env = self._server_env()
        env.update({"WLR_BACKENDS": "headless", "WLR_HEADLESS_OUTPUTS": "1",
                    "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"})
        self.sway = self.server = Proc("sway", self._as_nobody(["sway", "-c", config]), env,
                                       self.home, self.dir, pdeathsig=False)
        self._wait_sway_ready(timeout=10.0)
        self.timings["sway_ready"] = now() - t0

        t1 = now()
        self.vpointer = Proc("vpointer",
                             [_find_helper("TESSEL_E2E_VPOINTER", "vpointer"),
                              "%dx%d" % (self.width, self.height)],
                             self.client_env(), self.dir, self.dir,
                             stdin=subprocess.PIPE, capture_stdout=False)
        self._vp_reader = _LineReader(self.vpointer.popen.stdout)
        try:
            line = self._vp_reader.readline(5.0)
        except (TimeoutError, EOFError) as e:
            raise RuntimeError("vpointer did not start (%s): %s" % (e, self.vpointer.stderr()))
        if line != "ready":
            raise RuntimeError("vpointer said %r: %s" % (line, self.vpointer.stderr()))
        self.park()
        self.timings["vpointer_ready"] = now() - t1

    def _start_weston(self, t0):
        built = _find_helper("TESSEL_E2E_WESTON_FIXTURE", "tessel-fixture.so", executable=False)
        # weston (as nobody) loads its copy: the build directory may be out of nobody's reach
        module = os.path.join(self.dir, "tessel-fixture.so")
        shutil.copy(built, module)
        os.chmod(module, 0o644)
        ctl = os.path.join(self.run_dir, "tessel-fixture.sock")
        config = os.path.join(self.home, "weston.ini")
        with open(config, "w") as f:
            # no screen blanking; desktop-shell's own clients as they come
            f.write("[core]\nidle-time=0\n\n[shell]\nlocking=false\n")
        os.chmod(config, 0o644)
        env = self._server_env()
        env["TESSEL_WESTON_CTL"] = ctl
        renderer = os.environ.get("TESSEL_E2E_WESTON_RENDERER") or "pixman"
        if renderer not in ("pixman", "gl"):
            raise ValueError("TESSEL_E2E_WESTON_RENDERER=%r: pixman or gl" % renderer)
        argv = ["weston", "--backend=headless-backend.so", "--use-" + renderer,
                "--width=%d" % self.width, "--height=%d" % self.height,
                "--shell=%s-shell.so" % self.shell, "--socket=wayland-1", "--idle-time=0",
                "--config=%s" % config, "--modules=%s" % module]
        self.weston = self.server = Proc("weston", self._as_nobody(argv), env, self.home, self.dir,
                                         pdeathsig=False)
        deadline = now() + 10.0
        while True:
            if self.weston.poll() is not None:
                raise RuntimeError("weston exited with %s: %s" % (self.weston.popen.returncode,
                                                                  self.weston.output()[-2000:]))
            if os.path.exists(ctl) and os.path.exists(os.path.join(self.run_dir, "wayland-1")):
                try:
                    self.fixture = _Fixture(ctl)
                    break
                except OSError:
                    pass
            if now() >= deadline:
                raise RuntimeError("weston not ready within 10 s: %s" % self.weston.output()[-2000:])
            time.sleep(0.02)
        self.wayland_display = "wayland-1"
        words, _ = self.fixture.call("output")
        if [int(w) for w in words[2:4]] != [self.width, self.height]:
            raise RuntimeError("weston output is %s, not %dx%d" % (words, self.width, self.height))
        self.timings["weston_ready"] = now() - t0
        self.park()

    def teardown(self, failed=False):
        t0 = now()
        for app in self.apps:
            app.stop()
        if self.vpointer is not None and self.vpointer.poll() is None:
            try:
                self.vpointer.popen.stdin.write(b"quit\n")
                self.vpointer.popen.stdin.flush()
            except (BrokenPipeError, ValueError, OSError):
                pass
            self.vpointer.wait(1.0)
        if self.vpointer is not None:
            self.vpointer.stop()
            for pipe in (self.vpointer.popen.stdin, self.vpointer.popen.stdout):
                try:
                    pipe.close()
                except (OSError, AttributeError):
                    pass
        if self.fixture is not None:
            self.fixture.close()
        if self.server is not None:
            self.server.stop(grace=3.0)
        self.timings["teardown"] = now() - t0
        if self.dir:
            if failed or self.keep:
                sys.stderr.write("e2e: session files kept in %s\n" % self.dir)
            else:
                shutil.rmtree(self.dir, ignore_errors=True)

    # -- sway

    def _sway_sock(self):
        socks = glob.glob(os.path.join(self.run_dir, "sway-ipc.*.sock"))
        return socks[0] if socks else None

    def _wayland_display(self):
        for path in sorted(glob.glob(os.path.join(self.run_dir, "wayland-*"))):
            name = os.path.basename(path)
            if not name.endswith(".lock"):
                return name
        return None

    def _wait_sway_ready(self, timeout):
        deadline = now() + timeout
        last = ""
        while now() < deadline:
            if self.sway.poll() is not None:
                raise RuntimeError("sway exited with %s: %s" % (self.sway.popen.returncode,
                                                                self.sway.stderr()[-2000:]))
            if self._sway_sock() and self._wayland_display():
                r = self.swaymsg(msg_type="get_outputs", check=False)
                if r.returncode == 0:
                    try:
                        outs = json.loads(r.stdout)
                    except ValueError:
                        outs = []
                    for o in outs:
                        rect = o.get("rect", {})
                        if (o.get("name") == "HEADLESS-1" and o.get("active")
                                and rect.get("width") == self.width // self.scale
                                and rect.get("height") == self.height // self.scale
                                and o.get("scale", 1) == self.scale):
                            self.wayland_display = self._wayland_display()
                            return
                    last = r.stdout[-500:]
            time.sleep(0.02)
        raise RuntimeError("sway output not ready within %.1f s: %s %s" %
                           (timeout, last, self.sway.stderr()[-2000:]))

    def swaymsg(self, *command, msg_type=None, check=True, timeout=5.0):
        """Run a sway command (words), or a query with msg_type (raw JSON reply)."""
        if self.compositor != "sway":
            raise RuntimeError("swaymsg: this session runs %s" % self.compositor)
        sock = self._sway_sock() or ""
        argv = ["swaymsg", "-s", sock]
        if msg_type:
            argv += ["-r", "-t", msg_type]
        if command:
            argv += ["--"] + list(command)  # so negative numbers are not options
        r = subprocess.run(argv, env={"PATH": os.environ.get("PATH", "/usr/bin:/bin")},
                           capture_output=True, text=True, timeout=timeout)
        if check and r.returncode != 0:
            raise RuntimeError("swaymsg %s failed (%d): %s %s" %
                               (" ".join(argv[3:]), r.returncode, r.stdout, r.stderr))
        return r

    def client_env(self, extra=None):
        """Environment for a Wayland client of this session (run as root)."""
        env = {k: v for k, v in os.environ.items()
               if k not in ("WAYLAND_DISPLAY", "WAYLAND_SOCKET", "DISPLAY", "SWAYSOCK", "XDG_RUNTIME_DIR")}
        env["XDG_RUNTIME_DIR"] = self.run_dir
        env["WAYLAND_DISPLAY"] = self.wayland_display
        if extra:
            env.update(extra)
        return env

    def get_tree(self):
        return json.loads(self.swaymsg(msg_type="get_tree").stdout)

    # -- windows (both compositors)

    def find_windows(self, title):
        """Shown windows titled `title`: dicts with "name", "rect" (output pixels),
        "visible" (and under sway the rest of the tree node, e.g. "type")."""
        if self.compositor == "weston":
            _, lines = self.fixture.call("windows")
            found = []
            for line in lines:
                words = line.split(" ", 5)
                name = words[5] if len(words) > 5 else ""
                if words[0] == "window" and name == title:
                    x, y, w, h = (int(v) for v in words[1:5])
                    found.append({"name": name, "visible": True,
                                  "rect": {"x": x, "y": y, "width": w, "height": h}})
            return found
        found = []

        def walk(node):
            if node.get("name") == title and node.get("type") in ("con", "floating_con") \
                    and node.get("pid") is not None:
                node = dict(node)
                node["rect"] = {k: v * self.scale for k, v in node["rect"].items()}
                found.append(node)
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(self.get_tree())
        return found

    def wait_window(self, title, timeout=5.0):
        """Wait until a visible window titled `title` is mapped; returns it (see find_windows)."""
        deadline = now() + timeout
        # clients whose end the test has already seen (waited for) are no news
        running = [app for app in self.apps if app.ended is None]
        while now() < deadline:
            for node in self.find_windows(title):
                if node.get("visible"):
                    return node
            for app in running:
                if app.poll() is not None:
                    raise AssertionError("%s exited with %s before its window appeared:\n%s" %
                                         (app.name, app.popen.returncode, app.output()[-2000:]))
            time.sleep(0.02)
        raise AssertionError("no visible window %r within %.1f s" % (title, timeout))

    def close_window(self, title):
        """Ask the window to close (xdg_toplevel.close) through the compositor."""
        if self.compositor == "weston":
            words, _ = self.fixture.call("close " + title)
            if words != ["1"]:
                raise RuntimeError("close %r: %s windows" % (title, words))
            return
        crit = '[title="^%s$"]' % re.escape(title).replace('"', '\\"')
        self.swaymsg(crit, "kill")

    # -- clients

    def start_app(self, path, args=(), env=None, name=None, cwd=None):
        """Start a client as a real process in the scratch directory."""
        name = name or "app%d" % (len(self.apps) + 1)
        proc = Proc(name, [path] + list(args), self.client_env(env), cwd or self.work, self.dir)
        self.apps.append(proc)
        return proc

    def fake_tools(self, scripts, log="tools.log"):
        """Put stand-ins for board tools first in PATH of a client started with the result.

        scripts maps a command name to the shell body that follows a line
        appending "name args..." to the session's `log` file (self.tool_log),
        so a body of "" only records the call; e.g. {"cp": 'exec /bin/cp "$@"'}
        records and then runs the real one. Returns the env for start_app.
        """
        bin_dir = os.path.join(self.dir, "bin")
        os.makedirs(bin_dir, exist_ok=True)
        self.tool_log = os.path.join(self.dir, log)
        for name, body in scripts.items():
            path = os.path.join(bin_dir, name)
            with open(path, "w") as f:
                f.write("#!/bin/sh\nprintf '%%s\\n' \"%s $*\" >> %s\n%s\n"
                        % (name, shlex.quote(self.tool_log), body))
            os.chmod(path, 0o755)
        return {"PATH": bin_dir + ":" + os.environ.get("PATH", "/usr/bin:/bin")}

    def tool_calls(self, name=None):
        """Lines recorded by fake_tools stand-ins so far (only those of `name` if given)."""
        if self.tool_log is None:
            return []
        try:
            with open(self.tool_log) as f:
                lines = f.read().splitlines()
        except OSError:
            return []
        if name is None:
            return lines
        return [line for line in lines if line.split(" ", 1)[0] == name]


    # -- screenshots

    def screenshot(self, path=None, region=None):
        """Grab the output (or region=(x, y, w, h), output pixels); returns an RGB PIL image.

        With a path the image is also kept there as PNG; without one a fast
        uncompressed capture is used. sway: grim; weston: the fixture module.
        """
        if self.compositor == "weston":
            return self._weston_screenshot(path, region)
        if path is None:
            target = os.path.join(self.shots, "last.ppm")
            fmt = ["-t", "ppm"]
        else:
            target = path
            fmt = ["-t", "png"]
        argv = ["grim"] + fmt
        if region is not None:
            x, y, w, h = region
            s = self.scale
            if s != 1 and (x % s or y % s or w % s or h % s):
                raise ValueError("region %s is not on the %dx scaled output's grid" % (region, s))
            argv += ["-g", "%d,%d %dx%d" % (x // s, y // s, w // s, h // s)]
        argv.append(target)
        r = subprocess.run(argv, env=self.client_env(), capture_output=True, text=True, timeout=10)
        if r.returncode != 0:
            raise RuntimeError("grim failed (%d): %s" % (r.returncode, r.stderr))
        with Image.open(target) as im:
            img = im.convert("RGB")
            img.load()
        return img

    def _weston_screenshot(self, path, region):
        target = os.path.join(self.shots, "last.ppm" if path is None else "last.png")
        self.fixture.call("shot " + target)
        with Image.open(target) as im:
            img = im.convert("RGB")
            img.load()
        if region is not None:
            x, y, w, h = region
            img = img.crop((x, y, x + w, y + h))
        if path is not None:
            img.save(path)
        return img

    def save(self, img, label):
        """Keep an image in the session directory (for failure analysis)."""
        self._shot_no += 1
        path = os.path.join(self.shots, "%02d-%s.png" % (self._shot_no, label))
        img.save(path)
        return path

    def wait_for(self, predicate, timeout=3.0, region=None, interval=0.02, what="condition"):
        """Poll screenshots until predicate(img) holds; returns that image."""
        deadline = now() + timeout
        img = None
        while True:
            img = self.screenshot(region=region)
            if predicate(img):
                return img
            if now() >= deadline:
                path = self.save(img, "timeout")
                raise AssertionError("%s not reached within %.1f s (last screen: %s)" %
                                     (what, timeout, path))
            time.sleep(interval)

    def hold(self, predicate, duration, region=None, interval=0.02, what="state"):
        """Poll screenshots for `duration` s; every one must satisfy predicate. Returns the count."""
        end = now() + duration
        count = 0
        while True:
            img = self.screenshot(region=region)
            count += 1
            if not predicate(img):
                path = self.save(img, "lost")
                raise AssertionError("%s lost after %d captures (screen: %s)" % (what, count, path))
            if now() >= end:
                return count
            time.sleep(interval)


    # -- repaint watch (weston only), for latency figures

    def watch(self, box):
        """Remember region box = (x, y, w, h) as shown now; see watched()."""
        if self.compositor != "weston":
            raise Skip("repaint watches need a weston session")
        self.fixture.call("watch %d %d %d %d" % tuple(box))

    def watched(self):
        """(seconds from the last press to the first repaint that changed the
        watched region, CLOCK_MONOTONIC of that repaint), or None while unchanged."""
        words, _ = self.fixture.call("watched")
        if words == ["none"]:
            return None
        changed, pressed = float(words[0]), float(words[1])
        return changed - pressed, changed

    # -- pointer (sway: the vpointer helper; weston: the fixture's pointer)

    def _vp(self, command, timeout=5.0):
        if self.compositor == "weston":
            word = {"move": "pointer move", "down": "pointer down", "up": "pointer up"}
            verb, _, rest = command.partition(" ")
            self.fixture.call((word[verb] + " " + rest).strip(), timeout)
            return
        if self.vpointer.poll() is not None:
            raise RuntimeError("vpointer exited: %s" % self.vpointer.stderr())
        self.vpointer.popen.stdin.write((command + "\n").encode())
        self.vpointer.popen.stdin.flush()
        reply = self._vp_reader.readline(timeout)
        if reply != "ok":
            raise RuntimeError("vpointer %r -> %r" % (command, reply))

    def _clamp(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise ValueError("point %s,%s outside the output" % (x, y))
        return int(x), int(y)

    def move(self, x, y):
        x, y = self._clamp(x, y)
        if self.cursor == (x, y):
            return
        self._vp("move %d %d" % (x, y))
        self.cursor = (x, y)

    def press(self, x=None, y=None):
        if x is not None:
            if self.cursor == (x, y):
                # a motion to the current position is dropped; nudge so the
                # surface under the point surely has pointer focus
                self.move(x + (1 if x + 1 < self.width else -1), y)
            self.move(x, y)
        self._vp("down")

    def release(self):
        self._vp("up")

    def tap(self, x, y, hold=TAP_HOLD, park=True):
        """Press at x,y, hold, release; returns the time the release was sent."""
        self.press(x, y)
        time.sleep(hold)
        t = now()
        self.release()
        if park:
            time.sleep(SETTLE)
            self.park()
        return t

    def drag(self, x0, y0, x1, y1, steps=10, step_time=0.04, hold=TAP_HOLD, park=True):
        """Press at x0,y0, move in steps to x1,y1 (step_time apart), release."""
        self.press(x0, y0)
        time.sleep(hold)
        for i in range(1, steps + 1):
            self.move(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps))
            time.sleep(step_time)
        time.sleep(hold)
        t = now()
        self.release()
        if park:
            time.sleep(SETTLE)
            self.park()
        return t

    def park(self):
        """Move the cursor to the bottom-right corner, out of the way of screenshots."""
        self.move(self.width - 1, self.height - 1)

    # -- touch (weston only: sway has no way to inject touch)

    def _touch(self, command):
        if self.compositor != "weston":
            raise Skip("touch input needs a weston session")
        self.fixture.call("touch " + command)

    def touch_down(self, x, y, touch_id=0, frame=True):
        x, y = self._clamp(x, y)
        self._touch("down %d %d %d" % (touch_id, x, y))
        self.touching.add(touch_id)
        if frame:
            self._touch("frame")

    def touch_motion(self, x, y, touch_id=0, frame=True):
        x, y = self._clamp(x, y)
        self._touch("motion %d %d %d" % (touch_id, x, y))
        if frame:
            self._touch("frame")

    def touch_up(self, touch_id=0, frame=True):
        self._touch("up %d" % touch_id)
        self.touching.discard(touch_id)
        if frame:
            self._touch("frame")

    def touch_frame(self):
        self._touch("frame")

    def touch_cancel(self):
        """The compositor takes every touch point away (wl_touch.cancel)."""
        self._touch("cancel")
        self.touching.clear()

    def touch_tap(self, x, y, hold=TAP_HOLD, touch_id=0):
        """Finger down at x,y, hold, lift; returns the time the lift was sent."""
        self.touch_down(x, y, touch_id)
        time.sleep(hold)
        t = now()
        self.touch_up(touch_id)
        time.sleep(SETTLE)
        return t

    def touch_drag(self, x0, y0, x1, y1, steps=10, step_time=0.04, hold=TAP_HOLD, touch_id=0, lift=True):
        """Finger down at x0,y0, slide in steps to x1,y1, lift (unless lift=False)."""
        self.touch_down(x0, y0, touch_id)
        time.sleep(hold)
        for i in range(1, steps + 1):
            self.touch_motion(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), touch_id)
            time.sleep(step_time)
        time.sleep(hold)
        t = now()
        if lift:
            self.touch_up(touch_id)
            time.sleep(SETTLE)
        return t


# Pixels the parked cursor still covers in screenshots (x0, y0, x1, y1).
PARK_BOX = (WIDTH - 4, HEIGHT - 4, WIDTH, HEIGHT)


def find_process(root_pid, name):
    """The pid of the first process called `name` among root_pid and its descendants, or None."""
    children = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/stat" % pid) as f:
                children.setdefault(int(f.read().rsplit(")", 1)[1].split()[1]), []).append(int(pid))
        except (OSError, IndexError, ValueError):
            pass
    todo = [root_pid]
    while todo:
        pid = todo.pop()
        try:
            with open("/proc/%d/comm" % pid) as f:
                if f.read().strip() == name:
                    return pid
        except OSError:
            pass
        todo += children.get(pid, [])
    return None


def run_without_compositor(path, args=(), timeout=5.0):
    """Run a client whose WAYLAND_DISPLAY names a socket that does not exist.

    Returns (exit status or None if it was still running at the deadline and
    had to be killed, stdout+stderr text, seconds until it ended).
    """
    tmp = tempfile.mkdtemp(prefix="tessel-e2e-nowl-", dir=os.environ.get("TESSEL_E2E_TMP") or None)
    try:
        run_dir = os.path.join(tmp, "run")
        work = os.path.join(tmp, "work")
        os.mkdir(run_dir, 0o700)
        os.mkdir(work)
        env = {k: v for k, v in os.environ.items()
               if k not in ("WAYLAND_DISPLAY", "WAYLAND_SOCKET", "DISPLAY", "SWAYSOCK")}
        env["XDG_RUNTIME_DIR"] = run_dir
        env["WAYLAND_DISPLAY"] = "wayland-tessel-none"
        proc = Proc("app", [path] + list(args), env, work, tmp)
        rc = proc.wait(timeout)
        elapsed = (proc.ended or now()) - proc.started
        proc.stop()
        return rc, proc.output(), elapsed
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


# ---------------------------------------------------------------- runner

def main(module_name="__main__"):
    """Run the unittest cases of a test script (or only those named on the command
    line, as Class or Class.test_name); exit 77 when all were skipped."""
    module = sys.modules[module_name]
    names = [a for a in sys.argv[1:] if not a.startswith("-")]
    if names:
        suite = unittest.defaultTestLoader.loadTestsFromNames(names, module)
    else:
        suite = unittest.defaultTestLoader.loadTestsFromModule(module)
    t0 = now()
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    print("e2e: %d run, %d skipped, %.2f s" % (result.testsRun, len(result.skipped), now() - t0))
    if not result.wasSuccessful():
        sys.exit(1)
    if result.testsRun == 0 or len(result.skipped) == result.testsRun:
        sys.exit(SKIP)
    sys.exit(0)
