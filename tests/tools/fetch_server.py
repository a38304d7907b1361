#!/usr/bin/env python3
"""Serves the files of FOLDER to fetch.exe's tests, on 127.0.0.1 only: over plain HTTP, and over
HTTPS with a certificate it signs itself, which no one trusts. Prints "HTTP_PORT HTTPS_PORT" once
both listen, and serves until it is ended. The path's first part says how the rest is served:
  /good/PATH             as it is
  /changed/PATH          with one byte changed
  /short/PATH            its first half, then the end, the length unsaid
  /long/PATH             with a byte more, the length said
  /endless/PATH          the file and more without end, the length unsaid
  /stall/PATH            the length said, the first half, then nothing
  /drop/PATH             the length said, the first half, then the connection closes
  /html/PATH             a web page, with status 200
  /status/N/PATH         status N
  /to-http/PATH          a redirect to the plain HTTP server's /good/PATH
  /to-https/PATH         a redirect to the HTTPS server's /good/PATH
Usage: fetch_server.py FOLDER
"""
import http.server
import os
import ssl
import subprocess
import sys
import tempfile
import threading
import time

folder = sys.argv[1]
ports = {}


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def answer(self, status, body, length=True, kind="application/octet-stream", headers=()):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        if length:
            self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)
        self.wfile.flush()

    def do_GET(self):
        way, _, path = self.path.lstrip("/").partition("/")
        if way == "status":
            status, _, path = path.partition("/")
            return self.answer(int(status), b"no such thing", kind="text/plain")
        if way in ("to-http", "to-https"):
            scheme = way[3:]
            return self.answer(302, b"", headers=[("Location", f"{scheme}://127.0.0.1:{ports[scheme]}/good/{path}")])
        try:
            with open(os.path.join(folder, path), "rb") as file:
                data = file.read()
        except OSError:
            return self.answer(404, b"not found", kind="text/plain")
        half = data[: len(data) // 2]
        if way == "good":
            self.answer(200, data)
        elif way == "changed":
            self.answer(200, data[:100] + bytes([data[100] ^ 1]) + data[101:])
        elif way == "short":
            self.answer(200, half, length=False)
        elif way == "long":
            self.answer(200, data + b"\n")
        elif way == "html":
            self.answer(200, b"<!DOCTYPE html><html><body>Not here</body></html>", kind="text/html; charset=utf-8")
        elif way == "endless":
            self.answer(200, data, length=False)
            try:
                for _ in range(120 * 100):  # two minutes, past any test's patience
                    self.wfile.write(bytes(4096))
                    time.sleep(0.01)
            except OSError:
                pass  # the tool stopped reading, as it should
        elif way in ("stall", "drop"):
            self.send_response(200)
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            self.wfile.write(half)
            self.wfile.flush()
            if way == "stall":
                time.sleep(120)
        else:
            self.answer(404, b"not found", kind="text/plain")


def serve(server):
    threading.Thread(target=server.serve_forever, daemon=True).start()


plain = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
secure = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
with tempfile.TemporaryDirectory() as keys:
    cert, key = os.path.join(keys, "cert.pem"), os.path.join(keys, "key.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                    "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-days", "2",
                    "-keyout", key, "-out", cert], check=True, capture_output=True)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
secure.socket = context.wrap_socket(secure.socket, server_side=True)
ports["http"], ports["https"] = plain.server_address[1], secure.server_address[1]
for server in (plain, secure):
    serve(server)
print(ports["http"], ports["https"], flush=True)
threading.Event().wait()
