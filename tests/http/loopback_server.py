#!/usr/bin/env python3
"""Loopback HTTP and HTTPS server for the HTTP client tests.

Usage: loopback_server.py WORK_DIR

Makes a test certificate authority and a server certificate for 127.0.0.1 in
WORK_DIR with openssl, listens on three ephemeral ports of 127.0.0.1 (plain,
TLS, and one that answers every connection with bytes that are not TLS),
prints "READY <http port> <https port> <not-TLS port>" and serves until it is
killed. Each request head is written, byte for byte, to
WORK_DIR/requests/NNNNNN.req before the answer goes out; the answer depends on
the path.
"""
import os
import socket
import ssl
import struct
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from test_authority import make_certificates  # noqa: E402

PATTERN_MODULUS = 251


def pattern(size):
    return bytes(i % PATTERN_MODULUS for i in range(size))


class Server:
    def __init__(self, work):
        self.work = work
        self.requests = os.path.join(work, "requests")
        os.makedirs(self.requests, exist_ok=True)
        self.count = 0
        self.lock = threading.Lock()
        self.tls = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.tls.load_cert_chain(os.path.join(work, "server.pem"),
                                 os.path.join(work, "server.key"))
        self.plain_socket = self.listen()
        self.tls_socket = self.listen()
        self.not_tls_socket = self.listen()
        self.http_port = self.plain_socket.getsockname()[1]
        self.https_port = self.tls_socket.getsockname()[1]
        self.not_tls_port = self.not_tls_socket.getsockname()[1]

    @staticmethod
    def listen():
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.bind(("127.0.0.1", 0))
        listener.listen(16)
        return listener

    def record(self, head):
        with self.lock:
            self.count += 1
            name = os.path.join(self.requests, "%06d" % self.count)
        with open(name + ".tmp", "wb") as out:
            out.write(head)
        os.rename(name + ".tmp", name + ".req")

    def accept_loop(self, listener, secure):
        while True:
            connection, _ = listener.accept()
            threading.Thread(target=self.serve, args=(connection, secure), daemon=True).start()

    def not_tls_loop(self):
        while True:
            connection, _ = self.not_tls_socket.accept()
            threading.Thread(target=self.garble, args=(connection,), daemon=True).start()

    def serve(self, connection, secure):
        try:
            if secure:
                connection = self.tls.wrap_socket(connection, server_side=True)
            head = b""
            while b"\r\n\r\n" not in head and len(head) < 65536:
                chunk = connection.recv(4096)
                if not chunk:
                    return
                head += chunk
            self.record(head)
            target = head.split(b" ", 2)[1].decode("latin-1")
            self.answer(connection, target.split("?", 1)[0], secure)
        except (OSError, ssl.SSLError, IndexError):
            pass
        finally:
            try:
                connection.close()
            except OSError:
                pass

    @staticmethod
    def send(connection, status, body, extra=""):
        head = ("HTTP/1.1 %s\r\nContent-Length: %d\r\nContent-Type: text/html\r\n%s"
                "Connection: close\r\n\r\n" % (status, len(body), extra))
        connection.sendall(head.encode("latin-1") + body)

    def answer(self, connection, path, secure):
        if path == "/missing":
            self.send(connection, "404 Not Found", b"<html><body>no such page</body></html>")
        elif path == "/exact1024":
            self.send(connection, "200 OK", pattern(1024))
        elif path == "/large":
            self.send(connection, "200 OK", pattern(3 * 1024 * 1024 + 17))
        elif path == "/zero":
            self.send(connection, "200 OK", b"before\x00after")
        elif path == "/redirect":
            self.send(connection, "302 Found", b"moved", "Location: /target\r\n")
        elif path == "/target":
            self.send(connection, "200 OK", b"arrived at the target")
        elif path == "/to-https":
            location = "https://127.0.0.1:%d/secure-target" % self.https_port
            self.send(connection, "301 Moved Permanently", b"moved", "Location: %s\r\n" % location)
        elif path == "/secure-target":
            self.send(connection, "200 OK", b"arrived over TLS" if secure else b"not over TLS")
        elif path == "/to-http":
            location = "http://127.0.0.1:%d/target" % self.http_port
            self.send(connection, "302 Found", b"moved", "Location: %s\r\n" % location)
        elif path == "/loop":
            self.send(connection, "302 Found", b"again", "Location: /loop\r\n")
        elif path == "/trickle":
            self.trickle(connection)
        elif path == "/reset":
            self.reset(connection)
        elif path == "/trickle-head":
            self.trickle_head(connection)
        elif path == "/silent":
            self.wait_for_hang_up(connection)
        elif path == "/huge":
            self.huge(connection)
        elif path == "/slow-loop":
            time.sleep(0.3)
            self.send(connection, "302 Found", b"again", "Location: /slow-loop\r\n")
        else:
            self.send(connection, "200 OK", b"hello")

    @staticmethod
    def trickle(connection):
        # One byte every tenth of a second: never idle long enough for a
        # stall time-out, done only after a minute.
        connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\nstart:" % (6 + 600))
        for _ in range(600):
            time.sleep(0.1)
            connection.sendall(b".")

    @staticmethod
    def reset(connection):
        connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n" + pattern(3000))
        # Give the client time to take the first part before the reset
        # throws away whatever it has not read yet.
        time.sleep(0.3)
        # Lingering for zero seconds turns the close into a reset.
        connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        connection.close()

    @staticmethod
    def trickle_head(connection):
        # The status line, then one byte of a header every tenth of a second:
        # the head is never done, so no body ever starts.
        connection.sendall(b"HTTP/1.1 200 OK\r\nX-Slow: ")
        for _ in range(600):
            time.sleep(0.1)
            connection.sendall(b"x")

    @staticmethod
    def wait_for_hang_up(connection):
        # Says nothing, for as long as the client stays.
        while connection.recv(4096):
            pass

    @staticmethod
    def huge(connection):
        # A 16 GiB body, sent as fast as the client takes it, until it
        # leaves. The chunk is a whole number of pattern periods, so the
        # bytes run on as one pattern.
        connection.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: %d\r\n\r\n" % (16 << 30))
        chunk = pattern(PATTERN_MODULUS * 256)
        while True:
            connection.sendall(chunk)

    def garble(self, connection):
        # Answers the client's hello at once with a plain-text error page
        # and binary noise, then keeps the connection open, so the client
        # has to judge the bytes rather than the end of the stream.
        try:
            connection.sendall(b"HTTP/1.1 400 Bad Request\r\nContent-Length: 11\r\n\r\n"
                               b"not TLS\r\n\r\n" + pattern(4096)[::-1])
            self.wait_for_hang_up(connection)
        except OSError:
            pass
        finally:
            connection.close()

    def run(self):
        for listener, secure in ((self.plain_socket, False), (self.tls_socket, True)):
            threading.Thread(target=self.accept_loop, args=(listener, secure), daemon=True).start()
        threading.Thread(target=self.not_tls_loop, daemon=True).start()
        print("READY %d %d %d" % (self.http_port, self.https_port, self.not_tls_port), flush=True)
        while True:
            time.sleep(3600)


def main():
    work = sys.argv[1]
    make_certificates(work, "Loopback Test Authority", days=2)
    Server(work).run()


if __name__ == "__main__":
    main()
