#!/usr/bin/env python3
"""Serves the files of FOLDER to fetch.exe's tests, on 127.0.0.1 only: over plain HTTP, and over
HTTPS with a certificate it signs itself, which no one trusts. Prints "HTTP_PORT HTTPS_PORT" once
both listen, and serves until it is ended. The path's first part (/good/PATH, /changed/PATH, ...)
says how the rest is served: see do_GET.
Usage: fetch_server.py FOLDER
"""
import http.server
import pathlib
import ssl
import subprocess
import sys
import tempfile
import threading
import time

folder = sys.argv[1]


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    # The length said is the body's unless given; -1 says none.
    def answer(self, status, body, length=None, kind="application/octet-stream", location=None):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        if length != -1:
            self.send_header("Content-Length", str(len(body) if length is None else length))
        if location:
            self.send_header("Location", location)
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()

    def do_GET(self):
        way, _, path = self.path.lstrip("/").partition("/")
        if way == "status":  # /status/N/PATH
            return self.answer(int(path.partition("/")[0]), b"no such thing", kind="text/plain")
        if way in ("to-http", "to-https"):  # to the plain or the secure server's /good/PATH
            return self.answer(302, b"", location=f"{way[3:]}://127.0.0.1:{ports[way[3:]]}/good/{path}")
        try:
            data = pathlib.Path(folder, path).read_bytes()
        except OSError:
            return self.answer(404, b"not found", kind="text/plain")
        half, size = data[: len(data) // 2], len(data)
        ways = {  # what is sent, the length said, and its type if not the file's
            "good": (data, size),
            "changed": (data[:100] + bytes([data[100] ^ 1]) + data[101:], size),
            "short": (half, -1),  # then the end
            "long": (data + b"\n", size + 1),
            "endless": (data, -1),  # and more without end, below
            "stall": (half, size),  # then nothing
            "drop": (half, size),  # then the connection closes
            "html": (b"<!DOCTYPE html><html><body>Not here</body></html>", None, "text/html; charset=utf-8"),
        }
        if way not in ways:
            return self.answer(404, b"no such way", kind="text/plain")
        self.answer(200, *ways[way])
        if way == "stall":
            time.sleep(120)
        if way == "endless":
            try:
                for _ in range(120 * 100):  # two minutes, past any test's patience
                    self.wfile.write(bytes(4096))
                    time.sleep(0.01)
            except OSError:
                pass  # the tool stopped reading, as it should


plain = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
secure = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
with tempfile.TemporaryDirectory() as keys:
    cert, key = pathlib.Path(keys, "cert.pem"), pathlib.Path(keys, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                    "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-days", "2",
                    "-keyout", key, "-out", cert], check=True, capture_output=True)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
secure.socket = context.wrap_socket(secure.socket, server_side=True)
ports = {"http": plain.server_address[1], "https": secure.server_address[1]}
threading.Thread(target=secure.serve_forever, daemon=True).start()
print(ports["http"], ports["https"], flush=True)
plain.serve_forever()
