#!/usr/bin/env python3
"""Local stand-in for the maker's server: the pages, switch files and update package
that the navigator and the updater read. Every text is sent as GBK bytes.

Use it as a program (see --help) or from a test:

    server = StandInServer(port=0, update_version="2.03")
    server.start(); ...; server.requests; server.stop()
"""
import argparse
import io
import os
import sys
import threading
import zipfile
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

DEFAULT_PORT = 8460
PACKAGE_PATH = "/download/Talvery_update.zip"


def gbk(text):
    return text.encode("gbk")


def xml_attr(value):
    # The navigator's XML reader decodes "&quote;" (not "&quot;") to a double quote.
    return (value.replace("&", "&amp;").replace("<", "&lt;")
            .replace(">", "&gt;").replace('"', "&quote;"))


def descriptor_xml(attributes):
    """An update descriptor (or popup switch) file: root 最新版本, element 版本信息.
    attributes is a list of (name, value); a value of None leaves the attribute out."""
    attrs = "".join(' %s="%s"' % (name, xml_attr(value))
                    for name, value in attributes if value is not None)
    return gbk('<?xml version="1.0" encoding="gb2312"?>\r\n'
               "<最新版本>\r\n  <版本信息%s />\r\n</最新版本>\r\n" % attrs)


def zip_folder(folder, skip=("main_update",)):
    """The bytes of a zip archive holding the tree under folder, names relative to it.
    The top-level folders in skip stay out: the running updater cannot replace itself."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as archive:
        for top, dirs, files in os.walk(folder):
            if top == folder:
                dirs[:] = [d for d in dirs if d not in skip]
            dirs.sort()
            # Folders get entries of their own: the updater creates no folder for a file
            # entry, so a file's folder must come before it in the archive.
            if top != folder:
                entry = zipfile.ZipInfo(os.path.relpath(top, folder).replace(os.sep, "/") + "/")
                entry.external_attr = 0x10  # MS-DOS directory attribute
                archive.writestr(entry, b"")
            for name in sorted(files):
                path = os.path.join(top, name)
                archive.write(path, os.path.relpath(path, folder).replace(os.sep, "/"))
    return buffer.getvalue()


def html_page(title, body):
    return gbk("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
               "charset=gb2312\"><title>%s</title></head><body>%s</body></html>"
               % (title, body))


class StandInServer:
    """The server's files are plain attributes: change them between requests freely.

    pages: path -> bytes served with status 200 (paths not in it get a GBK 404 page).
    A path mapped to None answers by closing the connection without a reply.
    """

    def __init__(self, port=DEFAULT_PORT, host="127.0.0.1", switch="0",
                 update_version="2.02", notes="修正了若干问题#HHF加入了新的图片网站",
                 title="Talvery2.03", file_name="Talvery_update.zip",
                 download_url=None, package=None, log=None):
        self.host = host
        self.requested_port = port
        self.requests = []  # paths (with query) in arrival order
        self.log = log  # a file that each request line is written to, when given
        self.lock = threading.Lock()
        self.package = package if package is not None else b""
        self.pages = {
            "/gx/wenzibt.html": gbk("精品图片网站推荐"),
            "/gx/wenzidz.html": gbk("http://127.0.0.1:%d/tuijian.html" % port),
            "/gx/banben.html": gbk("欢迎使用图片导航工具"),
            "/xiazai2.asp": html_page("图片导航", "<h3>最新收录的图片网站</h3>"),
            "/gx/gg2.html": html_page("推荐", "<b>今日推荐</b>"),
            "/gg.htm": html_page("推荐", "推荐页面"),
            "/user_login2.asp": html_page("会员登陆", "会员登陆"),
            "/": html_page("首页", "首页"),
        }
        self.set_switch(switch)
        self._descriptor = dict(version=update_version, notes=notes, title=title,
                                file_name=file_name, download_url=download_url)
        self._httpd = None
        self._thread = None
        self._refresh_descriptor()

    @property
    def port(self):
        return self._httpd.server_address[1] if self._httpd else self.requested_port

    def url(self, path):
        return "http://%s:%d%s" % (self.host, self.port, path)

    def set_switch(self, value):
        """The popup switch "/gx/gg.xml"; None serves a file without the attribute."""
        self.pages["/gx/gg.xml"] = descriptor_xml([("版本号", value)])

    def set_descriptor(self, **changes):
        """Change fields of "/gx/update.xml": version, notes, download_url, title,
        file_name (None leaves an attribute out)."""
        self._descriptor.update(changes)
        self._refresh_descriptor()

    def _refresh_descriptor(self):
        d = self._descriptor
        url = d["download_url"]
        if url is None:
            url = self.url(PACKAGE_PATH)
        self.pages["/gx/update.xml"] = descriptor_xml([
            ("版本号", d["version"]), ("升级说明", d["notes"]), ("下载地址", url),
            ("文件标题", d["title"]), ("文件名", d["file_name"])])

    def start(self):
        server = self

        class Handler(BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                with server.lock:
                    server.requests.append(self.path)
                    if server.log:
                        print("GET %s %s" % (self.path, self.headers.get("Range", "")),
                              file=server.log, flush=True)
                path = self.path.split("?", 1)[0]
                if path == PACKAGE_PATH:
                    self._send_ranged(server.package)
                    return
                if path in server.pages:
                    body = server.pages[path]
                    if body is None:
                        self.close_connection = True
                        return
                    self._send(200, "OK", body)
                else:
                    self._send(404, "Not Found", html_page("404", "找不到该页面"))

            def _send(self, code, reason, body, extra=()):
                self.send_response(code, reason)
                self.send_header("Content-Type", "text/html; charset=gb2312")
                self.send_header("Content-Length", str(len(body)))
                for name, value in extra:
                    self.send_header(name, value)
                self.end_headers()
                self.wfile.write(body)

            def _send_ranged(self, body):
                # The updater's engine asks open-ended ranges ("bytes=N-") over several
                # connections; closed ranges are honoured as well.
                asked = self.headers.get("Range", "")
                if not asked.startswith("bytes="):
                    self._send(200, "OK", body, [("Accept-Ranges", "bytes")])
                    return
                first, _, last = asked[6:].split(",")[0].strip().partition("-")
                try:
                    start = int(first) if first else max(len(body) - int(last), 0)
                    end = int(last) if first and last else len(body) - 1
                except ValueError:
                    start, end = len(body), 0
                end = min(end, len(body) - 1)
                if start > end:
                    self.send_response(416, "Range Not Satisfiable")
                    self.send_header("Content-Range", "bytes */%d" % len(body))
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return
                self._send(206, "Partial Content", body[start:end + 1],
                           [("Accept-Ranges", "bytes"),
                            ("Content-Range", "bytes %d-%d/%d" % (start, end, len(body)))])

        self._httpd = ThreadingHTTPServer((self.host, self.requested_port), Handler)
        self._httpd.daemon_threads = True
        # Addresses in the pages follow the port really taken (port 0: any free one).
        self.pages["/gx/wenzidz.html"] = gbk(self.url("/tuijian.html"))
        self._refresh_descriptor()
        self._thread = threading.Thread(target=self._httpd.serve_forever, daemon=True)
        self._thread.start()
        return self

    def stop(self):
        if self._httpd:
            self._httpd.shutdown()
            self._httpd.server_close()
            self._httpd = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()


def main(argv=None):
    parser = argparse.ArgumentParser(description="Local stand-in for the maker's server.")
    parser.add_argument("--port", type=int, default=DEFAULT_PORT)
    parser.add_argument("--switch", default="2", help='popup switch "版本号" (default 2: on)')
    parser.add_argument("--version", default="2.03", help='update descriptor "版本号"')
    parser.add_argument("--notes", default="修正了若干问题#HHF加入了新的图片网站")
    parser.add_argument("--package-from", metavar="DIR",
                        help="serve a zip of this folder as the update package")
    parser.add_argument("--ready-file", help="write the port here once listening")
    parser.add_argument("--quiet", action="store_true", help="do not print each request")
    args = parser.parse_args(argv)

    package = zip_folder(args.package_from) if args.package_from else b""
    server = StandInServer(port=args.port, switch=args.switch, update_version=args.version,
                           notes=args.notes, package=package,
                           log=None if args.quiet else sys.stdout).start()
    print("stand-in server on %s (package %d bytes)" % (server.url("/"), len(package)),
          flush=True)
    if args.ready_file:
        with open(args.ready_file, "w") as f:
            f.write(str(server.port))
    try:
        threading.Event().wait()
    except KeyboardInterrupt:
        pass
    finally:
        server.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
