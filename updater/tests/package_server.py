"""A local HTTP server on 127.0.0.1 that serves one update package, for the updater's
end-to-end tests, with the faults the tests need:

  normal        Content-Length and open-ended Range requests honoured (206)
  ignore-range  every request answered with the whole file (200)
  missing       404 for everything
  gone          the first reply breaks off half-way and the server goes away
  slow          like normal, but the body trickles out, so a download takes a while
  paced         like normal, but each reply at `rate` bytes a second in pieces of 16 KB:
                a long download of many receive steps
"""
import http.server
import socketserver
import threading
import time

PACED_PIECE = 16384


class PackageServer:
    def __init__(self, body, mode="normal", rate=1 << 20):
        self.body = body
        self.mode = mode
        self.rate = rate
        self.requests = []  # (path, Range header or None)
        self.lock = threading.Lock()
        self.gone = threading.Event()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                with server.lock:
                    server.requests.append((self.path, self.headers.get("Range")))
                server.answer(self)

        class Threaded(socketserver.ThreadingMixIn, http.server.HTTPServer):
            daemon_threads = True
            allow_reuse_address = True

        self.httpd = Threaded(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)

    def url(self, name="package.zip"):
        return "http://127.0.0.1:%d/gx/%s" % (self.port, name)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def stop(self):
        if not self.gone.is_set():
            self.gone.set()
            self.httpd.shutdown()
            self.httpd.server_close()

    def range_requests(self):
        with self.lock:
            return [r for _, r in self.requests if r]

    def answer(self, h):
        if self.mode == "missing":
            page = b"<html>404</html>"
            h.send_response(404)
            h.send_header("Content-Length", str(len(page)))
            h.send_header("Connection", "close")
            h.end_headers()
            h.wfile.write(page)
            return
        start = 0
        rng = h.headers.get("Range")
        if rng and self.mode != "ignore-range" and rng.startswith("bytes=") and rng.endswith("-"):
            start = int(rng[len("bytes="):-1])
        part = memoryview(self.body)[start:]  # no copy: bodies may be large
        h.send_response(206 if start else 200)
        if start:
            h.send_header("Content-Range", "bytes %d-%d/%d" % (start, len(self.body) - 1, len(self.body)))
        h.send_header("Content-Length", str(len(part)))
        h.send_header("Connection", "close")
        h.end_headers()
        try:
            if self.mode == "gone":
                h.wfile.write(part[:len(part) // 2])
                h.wfile.flush()
                h.close_connection = True
                threading.Thread(target=self.stop, daemon=True).start()
                return
            if self.mode == "slow":
                for i in range(0, len(part), 4096):
                    if self.gone.is_set():
                        return
                    h.wfile.write(part[i:i + 4096])
                    h.wfile.flush()
                    time.sleep(0.25)
                return
            if self.mode == "paced":
                for i in range(0, len(part), PACED_PIECE):
                    if self.gone.is_set():
                        return
                    h.wfile.write(part[i:i + PACED_PIECE])
                    time.sleep(PACED_PIECE / self.rate)
                return
            h.wfile.write(part)
        except (BrokenPipeError, ConnectionResetError):
            pass
