"""Talks to stats-robot as a person's browser does: opens the upload page for
its cookie and form token, then sends multipart uploads. Used by the demo
(scripts/robot.sh), the load benchmark and the robot's crash test. Python's
standard library only."""

import http.client
import os
import re
import subprocess
import uuid

RECEIPT = re.compile(rb'id="receipt">([A-Z2-9-]+)<')
TOKEN = re.compile(rb'name="csrf" value="([0-9a-f]+)"')


def start_robot(binary, data, *options):
    """Starts the robot on a free loopback port; returns (process, port)."""
    proc = subprocess.Popen([binary, "--data", data, "--listen", "127.0.0.1:0", *options],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    line = proc.stdout.readline().decode()
    match = re.search(r"http://127\.0\.0\.1:(\d+)/", line)
    if not match:
        proc.kill()
        raise RuntimeError("the robot did not start: %r" % line)
    return proc, int(match.group(1))


def set_password(binary, data, password):
    subprocess.run([binary, "--data", data, "set-password"], input=(password + "\n").encode(),
                   check=True, stderr=subprocess.DEVNULL)


def station_files(folder):
    """A station's folder as (name, bytes) pairs, in name order."""
    files = []
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as f:
            files.append((name, f.read()))
    return files


class Robot:
    def __init__(self, port, timeout=120):
        self.port = port
        self.timeout = timeout
        self.cookie = None
        self.token = None

    def request(self, method, path, body=None, headers=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=self.timeout)
        try:
            conn.request(method, path, body=body, headers=headers or {})
            res = conn.getresponse()
            return res.status, res.read(), res
        finally:
            conn.close()

    def open_form(self):
        status, body, res = self.request("GET", "/")
        cookie = res.getheader("Set-Cookie")
        self.cookie = cookie.split(";")[0]
        self.token = TOKEN.search(body).group(1).decode()

    def upload(self, call, files, email="op@example.org", power="LOW", club=""):
        """Sends one upload; returns (status, page)."""
        if self.cookie is None:
            self.open_form()
        boundary = uuid.uuid4().hex
        parts = []
        fields = [("csrf", self.token), ("call", call), ("email", email), ("power", power),
                  ("club", club)]
        for name, value in fields:
            parts.append(("--%s\r\nContent-Disposition: form-data; name=\"%s\"\r\n\r\n"
                          % (boundary, name)).encode() + value.encode() + b"\r\n")
        for name, data in files:
            parts.append(("--%s\r\nContent-Disposition: form-data; name=\"files\"; "
                          "filename=\"%s\"\r\nContent-Type: application/octet-stream\r\n\r\n"
                          % (boundary, name)).encode() + data + b"\r\n")
        body = b"".join(parts) + ("--%s--\r\n" % boundary).encode()
        status, page, _ = self.request("POST", "/upload", body, {
            "Content-Type": "multipart/form-data; boundary=" + boundary,
            "Cookie": self.cookie})
        return status, page


def receipt_of(page):
    match = RECEIPT.search(page)
    return match.group(1).decode() if match else None
