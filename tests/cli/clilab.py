"""Helpers of the cli layer: a lab/run on the lab's addresses, and
veltrane-cli.exe under Wine with its JSON lines parsed, run with the lab's
server set (--config config/lab.ini) unless told otherwise."""
import fcntl
import json
import os
import sqlite3
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.realpath(__file__))))
# The program under test: this build's x86_64 console, or the one named by
# VELTRANE_CLI (tests/cli/run --exe, e.g. the i686 build under 32-bit Wine).
CLI = os.environ.get("VELTRANE_CLI") or os.path.join(ROOT, "build", "win64", "veltrane-cli.exe")
LAB_LOCK = "/tmp/veltrane-lab.lock"  # whoever runs a lab on the lab's addresses holds it
LAB_INI = os.path.join(ROOT, "config", "lab.ini")


class LabLock:
    """The lab lock, held by this process: taken when the first holder
    comes, given back when the last goes, so a caller that holds it (the
    client walk) can start labs through Lab without waiting on itself."""
    _file = None
    _holders = 0

    @classmethod
    def acquire(cls, timeout=600):
        """Waits at most timeout seconds for the lock (None: as long as it
        takes)."""
        if cls._holders == 0:
            f = open(LAB_LOCK, "a")
            deadline = None if timeout is None else time.monotonic() + timeout
            while True:
                try:
                    fcntl.flock(f, fcntl.LOCK_EX | (0 if deadline is None else fcntl.LOCK_NB))
                    break
                except BlockingIOError:
                    if time.monotonic() > deadline:
                        f.close()
                        raise RuntimeError("the lab's addresses stayed taken (%s held)" % LAB_LOCK)
                    time.sleep(0.5)
            cls._file = f
        cls._holders += 1

    @classmethod
    def release(cls):
        cls._holders -= 1
        if cls._holders == 0:
            cls._file.close()  # gives the lock back
            cls._file = None


def wine_path(path):
    """A Linux path as Windows programs under Wine name it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Lab:
    """lab/run in the foreground of a child process; its request record."""

    def __init__(self, *args):
        LabLock.acquire()
        self.locked = True
        self.dir = tempfile.mkdtemp(prefix="veltrane-cli-lab-")
        self.out = open(os.path.join(self.dir, "lab.out"), "w")
        self.proc = subprocess.Popen([os.path.join(ROOT, "lab", "run"), "--state-dir", self.dir, *args],
                                     stdout=self.out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        wait = subprocess.run([os.path.join(ROOT, "scripts", "wait-lab"), os.path.join(self.dir, "lab.out"),
                               str(self.proc.pid), "15"], stderr=subprocess.PIPE, text=True)
        if wait.returncode != 0:
            self.stop()
            raise RuntimeError("lab/run did not start: " + wait.stderr)

    def reports(self):
        """The reports the lab stored: (endpoint, fields_json, raw_body), oldest first."""
        db = sqlite3.connect(os.path.join(self.dir, "lab.sqlite3"))
        try:
            return db.execute("SELECT endpoint, fields_json, raw_body FROM reports ORDER BY id").fetchall()
        finally:
            db.close()

    def requests(self):
        with open(os.path.join(self.dir, "requests.jsonl")) as f:
            return [json.loads(line) for line in f if line.strip()]

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.out.close()
        if self.locked:
            self.locked = False
            LabLock.release()


def run_cli_raw(*args, timeout=240, config=LAB_INI, exe=CLI, cwd=None, env=None):
    """Runs veltrane-cli.exe (with "--config CONFIG" first unless config is
    None) in folder cwd with env added to the environment; returns (exit
    code, standard output bytes, standard error bytes)."""
    full_env = dict(os.environ, LC_ALL="zh_CN.UTF-8", LANG="zh_CN.UTF-8", **(env or {}))
    options = ["--config", wine_path(config)] if config else []
    p = subprocess.run(["wine", exe, *options, *args], capture_output=True, timeout=timeout, env=full_env,
                       stdin=subprocess.DEVNULL, cwd=cwd)
    return p.returncode, p.stdout, p.stderr


def run_cli(*args, **kwargs):
    """run_cli_raw, with the output parsed: (exit code, JSON lines, stderr
    text). Every line of standard output must be a JSON object in UTF-8
    (decoded strictly); standard error is in the console's code page (936)."""
    code, out, err = run_cli_raw(*args, **kwargs)
    lines = []
    for raw in out.decode("utf-8").splitlines():  # raises on anything but UTF-8
        lines.append(json.loads(raw))  # raises on anything but JSON
    return code, lines, err.decode("gbk", errors="replace")


def listening(host, port):
    import socket
    s = socket.socket()
    s.settimeout(1)
    try:
        return s.connect_ex((host, port)) == 0
    finally:
        s.close()
