"""The line's server for tests and benchmarks: the shipped nginx configuration
(deploy/line-server/nginx.conf) in a temporary prefix on 127.0.0.1 and a free
port, and the same port in other moods: "down" (nothing listens), "403" and
"500" (nginx refusing every request), "hang" (connections accepted, never
answered); optionally over https (a certificate of the caller's) and with
auth_basic (an htpasswd file of the caller's) on the whole server. Every
process it starts is stopped by its PID."""

import os
import pwd
import shutil
import signal
import socket
import subprocess
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
CONF = os.path.join(REPO, "deploy", "line-server", "nginx.conf")
WALL = os.path.join(REPO, "deploy", "wall")


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class LineServer:
    def __init__(self, base=None, tls=None, htpasswd=None):
        """tls: (certificate, key) paths; htpasswd: nginx's user file."""
        self.prefix = tempfile.mkdtemp(prefix="tessel-line-", dir=base)
        os.chmod(self.prefix, 0o755)
        self.port = free_port()
        self.url = "%s://127.0.0.1:%d" % ("https" if tls else "http", self.port)
        self.html = os.path.join(self.prefix, "html")
        for d in ("html", "logs", "tmp", "html/runs", "html/boards", "html/stations"):
            os.makedirs(os.path.join(self.prefix, d), exist_ok=True)
        for f in os.listdir(WALL):
            shutil.copy(os.path.join(WALL, f), self.html)
        www = pwd.getpwnam("www-data")
        for d in ("html", "tmp", "html/runs", "html/boards", "html/stations"):
            os.chown(os.path.join(self.prefix, d), www.pw_uid, www.pw_gid)
        with open(CONF) as f:
            shipped = f.read()
        assert "listen 8080;" in shipped
        self.conf = os.path.join(self.prefix, "nginx.conf")
        with open(self.conf, "w") as f:
            listen = "listen 127.0.0.1:%d%s;" % (self.port, " ssl" if tls else "")
            if tls:
                listen += " ssl_certificate %s; ssl_certificate_key %s;" % tls
            if htpasswd:
                listen += ' auth_basic "line"; auth_basic_user_file %s;' % htpasswd
            f.write(shipped.replace("listen 8080;", listen))
        self.mood = "down"
        self.nginx = None
        self.hang = None

    def set(self, mood):
        """healthy, down, 403, 500 or hang."""
        self._stop()
        if mood in ("healthy", "403", "500"):
            conf = self.conf
            if mood != "healthy":
                conf = os.path.join(self.prefix, "nginx-%s.conf" % mood)
                with open(conf, "w") as f:
                    f.write("pid logs/nginx.pid; error_log logs/error.log;\nevents {}\n"
                            "http { access_log off; client_body_temp_path tmp/body;\n"
                            " server { listen 127.0.0.1:%d; location / { return %s; } } }\n"
                            % (self.port, mood))
            with open(os.path.join(self.prefix, "logs", "stderr"), "ab") as log:
                self.nginx = subprocess.Popen(["nginx", "-p", self.prefix, "-c", conf, "-g", "daemon off;"],
                                              stdout=subprocess.DEVNULL, stderr=log)
            self._wait_listening()
        elif mood == "hang":
            self.hang = _Hang(self.port)
        self.mood = mood

    def _wait_listening(self):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            if self.nginx.poll() is not None:
                with open(os.path.join(self.prefix, "logs", "stderr")) as f:
                    raise RuntimeError("nginx ended: %s" % f.read())
            try:
                socket.create_connection(("127.0.0.1", self.port), 0.2).close()
                return
            except OSError:
                time.sleep(0.02)
        raise RuntimeError("nginx not listening within 10 s")

    def _stop(self):
        if self.nginx is not None:
            self.nginx.send_signal(signal.SIGQUIT)
            try:
                self.nginx.wait(5)
            except subprocess.TimeoutExpired:
                self.nginx.kill()
                self.nginx.wait(5)
            self.nginx = None
        if self.hang is not None:
            self.hang.close()
            self.hang = None

    def files(self, folder):
        d = os.path.join(self.html, folder)
        return sorted(os.listdir(d))

    def tree(self, folder):
        """Every file under html/FOLDER, as paths relative to it."""
        top = os.path.join(self.html, folder)
        return sorted(os.path.relpath(os.path.join(d, n), top) for d, _, names in os.walk(top) for n in names)

    def read(self, folder, name):
        with open(os.path.join(self.html, folder, name), "rb") as f:
            return f.read()

    def close(self):
        self._stop()
        shutil.rmtree(self.prefix, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False


class _Hang:
    """Accepts connections and never answers."""

    def __init__(self, port):
        self.sock = socket.socket()
        self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.sock.bind(("127.0.0.1", port))
        self.sock.listen(64)
        self.sock.settimeout(0.1)
        self.held = []
        self.accepted = 0
        self.running = True
        self.thread = threading.Thread(target=self._run, daemon=True)
        self.thread.start()

    def _run(self):
        while self.running:
            try:
                conn, _ = self.sock.accept()
                self.held.append(conn)
                self.accepted += 1
            except (socket.timeout, OSError):
                pass

    def close(self):
        self.running = False
        self.thread.join(2)
        for c in self.held:
            c.close()
        self.sock.close()
