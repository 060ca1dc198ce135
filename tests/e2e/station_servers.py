#!/usr/bin/env python3
"""The two outside parties of an hourly announcement, on loopback: the
weather service (HTTPS, with a certificate from a test authority) and the
operator's notice page (plain HTTP).

Usage: station_servers.py TLS_DIR HTTPS_PORT HTTP_PORT LOG

Listens on both fixed ports of 127.0.0.1 (or prints "BUSY" and exits 3 when
one is taken), makes the authority TLS_DIR/ca.pem (the file the test build
trusts) and a certificate for 127.0.0.1, prints "READY" and serves until it
is killed. Every request is appended to LOG as
one line: "<CLOCK_MONOTONIC seconds> <scheme> <request target>".
"""
import http.server
import os
import ssl
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from test_authority import make_certificates  # noqa: E402

WEATHER_REPLY = (
    '{"HeWeather data service 3.0":[{"basic":{"city":"测试"},'
    '"daily_forecast":[{"cond":{"code_d":"101","txt_d":"多云","txt_n":"阴"},'
    '"date":"2024-01-01","tmp":{"max":"25","min":"18"}}],"status":"ok"}]}'
).encode("utf-8")
# The operator's page is served in code page 936, as the program expects.
NOTICE_PAGE = "本台每周六晚八点举行业余无线电技术交流。".encode("gbk")


class Log:
    def __init__(self, path):
        self.path = path
        self.lock = threading.Lock()

    def write(self, scheme, target):
        line = "%.6f %s %s\n" % (time.monotonic(), scheme, target)
        with self.lock, open(self.path, "a") as out:
            out.write(line)


def handler(scheme, log):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def do_GET(self):
            log.write(scheme, self.path)
            if scheme == "https" and self.path.startswith("/x3/weather?"):
                self.reply(200, "application/json; charset=utf-8", WEATHER_REPLY)
            elif scheme == "http" and self.path == "/ham_clock.html":
                self.reply(200, "text/html; charset=gb2312", NOTICE_PAGE)
            else:
                self.reply(404, "text/plain", b"not here")

        def reply(self, status, content_type, body):
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(body)
            self.close_connection = True

        def log_message(self, *_args):
            pass

    return Handler


def main():
    tls_dir, https_port, http_port, log_path = sys.argv[1:5]
    log = Log(log_path)

    try:
        secure = http.server.ThreadingHTTPServer(("127.0.0.1", int(https_port)),
                                                 handler("https", log))
        plain = http.server.ThreadingHTTPServer(("127.0.0.1", int(http_port)),
                                                handler("http", log))
    except OSError as error:
        # The ports are built into the program under test; another user of
        # them leaves nothing to test against.
        print("BUSY %s" % error, flush=True)
        sys.exit(3)
    # Only now that the ports are ours: a second run must not replace the
    # authority that a running test's program trusts.
    # Valid from now for a few days: the program's clock is set ahead to the
    # next morning, and must find the certificates valid then.
    make_certificates(tls_dir, "Tarvane End-to-End Test Authority", days=3)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(tls_dir, "server.pem"),
                            os.path.join(tls_dir, "server.key"))
    secure.socket = context.wrap_socket(secure.socket, server_side=True)
    for server in (secure, plain):
        server.daemon_threads = True
        threading.Thread(target=server.serve_forever, daemon=True).start()
    print("READY", flush=True)
    threading.Event().wait()


if __name__ == "__main__":
    main()
