"""Helpers for the lab's tests: start lab/run as a child process on a private
loopback network, talk raw HTTP to it, read its request record."""

import base64
import itertools
import json
import os
import select
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

LAB_DIR = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RUN = os.path.join(LAB_DIR, "run")
sys.path.insert(0, LAB_DIR)

from veltrane_lab.addresses import Layout  # noqa: E402

CLIENT_AGENT = b"Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)"

# Each lab of a test run gets its own 127.N network, so labs never collide
# with each other or with a lab on the default addresses.
_networks = itertools.count(100 + os.getpid() % 50)


class LabProcess:
    def __init__(self, *args, prefix=None, start=True):
        self.prefix = prefix or "127.%d" % next(_networks)
        self.layout = Layout(self.prefix)
        self.state_dir = tempfile.mkdtemp(prefix="veltrane-lab-test-")
        self.args = ["--prefix", self.prefix, "--state-dir", self.state_dir] + list(args)
        self.proc = None
        if start:
            self.start()

    def start(self, timeout=10):
        self.proc = subprocess.Popen([RUN] + self.args, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, stdin=subprocess.DEVNULL)
        deadline = time.monotonic() + timeout
        line = b""
        while time.monotonic() < deadline:
            ready, _, _ = select.select([self.proc.stdout], [], [], 0.1)
            if ready:
                line = self.proc.stdout.readline()
                break
            if self.proc.poll() is not None:
                break
        if line != b"lab ready\n":
            err = self.stop()
            raise RuntimeError("lab did not start: %r %r" % (line, err))

    def stop(self, sig=signal.SIGTERM):
        """Stop the lab; returns (exit code, stderr text)."""
        if self.proc is None:
            return None
        if self.proc.poll() is None:
            self.proc.send_signal(sig)
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        err = self.proc.stderr.read().decode(errors="replace")
        self.proc.stdout.close()
        self.proc.stderr.close()
        code = self.proc.returncode
        self.proc = None
        return code, err

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.state_dir, ignore_errors=True)

    # -- addresses ---------------------------------------------------------

    @property
    def platform(self):
        return self.layout.platform

    def records(self):
        path = os.path.join(self.state_dir, "requests.jsonl")
        with open(path, encoding="utf-8") as f:
            return [json.loads(line) for line in f]

    def wait_record(self, predicate, timeout=5):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = [r for r in self.records() if predicate(r)]
            if found:
                return found[-1]
            time.sleep(0.02)
        raise AssertionError("no matching request record")

    @property
    def db_path(self):
        return os.path.join(self.state_dir, "lab.sqlite3")


def get_request(host, path):
    """The exact GET request the client composes."""
    return (b"GET " + path + b" HTTP/1.1\r\nHost: " + host.encode() + b"\r\nUser-Agent: "
            + CLIENT_AGENT + b"\r\nConnection: close\r\n\r\n")


def post_request(host, path, body):
    """The exact POST the client composes: declared length is the body's less 2."""
    return (b"POST " + path + b" HTTP/1.1\r\nHost: " + host.encode()
            + b"\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: "
            + str(len(body) - 2).encode() + b"\r\nAccept-Language: zh-cn\r\nUser-Agent: "
            + CLIENT_AGENT + b"\r\nConnection: close\r\n\r\n" + body)


def exchange(listener, request, timeout=5, chunks=False, source=None):
    """Send `request` in one write and read until the server closes.
    Returns the reply bytes (or the list of recv chunks)."""
    addr = (listener.host, listener.port)
    with socket.create_connection(addr, timeout=timeout, source_address=source) as s:
        s.sendall(request)
        out = []
        while True:
            data = s.recv(65536)
            if not data:
                break
            out.append(data)
    return out if chunks else b"".join(out)


def get(listener, path, **kw):
    return exchange(listener, get_request(listener.host, path.encode("latin-1")
                                          if isinstance(path, str) else path), **kw)


def split_reply(reply):
    head, sep, body = reply.partition(b"\r\n\r\n")
    assert sep, "no header end in %r" % reply[:200]
    lines = head.split(b"\r\n")
    status = int(lines[0].split(b" ")[1])
    headers = {}
    for line in lines[1:]:
        k, _, v = line.partition(b":")
        headers[k.strip().lower().decode()] = v.strip().decode("latin-1")
    return status, headers, body


def raw_of(record):
    return base64.b64decode(record["raw"])
