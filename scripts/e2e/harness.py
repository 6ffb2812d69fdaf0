"""Helpers for end-to-end tests of the Windows programs under the project's Wine.

Register a test in the cross build with add_test(COMMAND python3 test.py ...) and
import this module (sys.path.insert(0, "<tree>/scripts/e2e")).

    start(exe, *args, log=path)   -> Program: runs exe through scripts/wine-run, its
                                     stdout/stderr in `log` (never our pipe: Wine's
                                     children would hold it open)
    Program.wait(timeout)         -> exit code (raises on timeout); Program.kill()
    wait_window(name, timeout)    -> X window id of the top-level window named exactly
                                     `name` (str, matched in GBK and in UTF-8)
    focus(win); click(x, y, button=1); key(*keys)   (xdotool; keys go to the window
                                     under the pointer, so focus first)
    screenshot(path); pixel(path, x, y) -> (r, g, b)
    captured_urls()               -> URLs the program opened in the "system browser"
                                     (TV_URL_LOG); clear_urls()
    serve(routes, port=0)         -> Server on 127.0.0.1: routes maps a path to bytes or
                                     to a callable(handler) returning bytes or
                                     (status, headers, body); Server.port, .requests,
                                     .stop(); also a context manager
"""
import http.server
import os
import re
import subprocess
import threading
import time

TREE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(TREE, "scripts", "wine-run")
# The display and URL log come from wine-env.sh, the one place that decides them.
DISPLAY, URL_LOG = subprocess.run(
    ["bash", "-c", '. "$0" && printf "%s\\n%s" "$TV_DISPLAY" "$TV_URL_LOG"',
     os.path.join(TREE, "scripts", "wine-env.sh")],
    check=True, capture_output=True, text=True).stdout.split("\n")


def _env():
    env = dict(os.environ, DISPLAY=DISPLAY, TV_DISPLAY=DISPLAY, TV_URL_LOG=URL_LOG)
    return env


def _x(*cmd, check=True):
    return subprocess.run(list(cmd), env=_env(), check=check, capture_output=True).stdout


class Program:
    def __init__(self, proc, log):
        self.proc, self.log = proc, log

    def wait(self, timeout=30):
        try:
            return self.proc.wait(timeout)
        finally:
            self._close_log()

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self._close_log()

    def _close_log(self):
        if self._logfile:
            self._logfile.close()
            self._logfile = None

    def output(self):
        with open(self.log, "rb") as f:
            return f.read()

    _logfile = None


def start(exe, *args, log, cwd=None):
    """Starts a Windows program; args are str (encoded as GBK) or bytes."""
    argv = [WINE_RUN, exe] + [a.encode("gbk") if isinstance(a, str) else a for a in args]
    logfile = open(log, "wb")
    proc = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=logfile,
                            stderr=subprocess.STDOUT, env=_env(), cwd=cwd)
    program = Program(proc, log)
    program._logfile = logfile
    return program


def wait_window(name, timeout=20):
    patterns = {("^" + re.escape(name) + "$").encode(enc) for enc in ("gbk", "utf-8")}
    deadline = time.time() + timeout
    while time.time() < deadline:
        for pattern in patterns:
            found = _x("xdotool", "search", "--name", pattern, check=False).split()
            if found:
                return found[0].decode()
        time.sleep(0.1)
    raise TimeoutError("no window named %r after %s s" % (name, timeout))


def focus(win):
    _x("xdotool", "windowfocus", "--sync", win, check=False)


def click(x, y, button=1):
    _x("xdotool", "mousemove", str(x), str(y), "click", str(button))


def key(*keys):
    _x("xdotool", "key", *keys)


def screenshot(path):
    _x("import", "-display", DISPLAY, "-window", "root", path)
    return path


def pixel(path, x, y):
    text = _x("convert", path, "-format", "%%[pixel:p{%d,%d}]" % (x, y), "info:").decode()
    values = [int(float(v)) for v in re.findall(r"[\d.]+", text)[:3]]
    return tuple(values)


def captured_urls():
    try:
        with open(URL_LOG, encoding="utf-8", errors="replace") as f:
            return [line.rstrip("\n") for line in f]
    except FileNotFoundError:
        return []


def clear_urls():
    if os.path.exists(URL_LOG):
        os.remove(URL_LOG)


class Server:
    def __init__(self, routes, port=0):
        self.routes, self.requests = routes, []
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                server.requests.append(self.path)
                route = server.routes.get(self.path.split("?")[0])
                if route is None:
                    status, headers, body = 404, {}, b"not found"
                else:
                    result = route(self) if callable(route) else route
                    status, headers, body = result if isinstance(result, tuple) else (200, {}, result)
                self.send_response(status)
                for k, v in headers.items():
                    self.send_header(k, v)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.httpd.shutdown()
        self.httpd.server_close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()


def serve(routes, port=0):
    return Server(routes, port)


# --- Window probes -----------------------------------------------------------------
# The test probes print one line per window: kind, class, text (with \r \n \t and \\
# escaped), left, top, width, height, visible — separated by tabs.

def _unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"r": "\r", "n": "\n", "t": "\t"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


class ProbedWindow:
    """One line of a probe's listing."""

    def __init__(self, fields):
        self.kind, self.cls, self.text = fields[0], fields[1], _unescape(fields[2])
        self.left, self.top, self.width, self.height = (int(f) for f in fields[3:7])
        self.visible = fields[7] == "1"

    @property
    def rect(self):
        return (self.left, self.top, self.width, self.height)


def take_port_lock(port, timeout=600):
    """Holds the lock file of a fixed server port for the life of the calling process:
    every user of the stand-in server's port (the navigator's and updater's tests, the
    main job) takes the same one."""
    import fcntl
    lock = open("/tmp/tv-server-%d.lock" % port, "w")
    deadline = time.time() + timeout
    while True:
        try:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            return lock
        except BlockingIOError:
            if time.time() > deadline:
                raise
            time.sleep(0.5)
