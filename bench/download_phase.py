#!/usr/bin/python3
"""Benchmark: one level-16 download phase of the bandwidth engine against
the lab on loopback, measured from both ends.

Each run starts bench_download_phase.exe under Wine (a download phase
exactly as the window starts it, metropolitan mode by default: 8
connections to the lab's test servers and platform), while a sampler here
reads, every 100 ms:
  - the lab's send side: bytes_acked of every established lab socket on
    127.0.80.x ports 80/8000 (ss -ti), i.e. what the lab has delivered to
    the client's kernel;
  - the CPU time (utime + stime) of the client's Wine process and of the
    wineserver, from /proc.
Reported per run, over the window from the phase's start to its 16th
sample: the client's throughput (the sum of its samples), the lab's send
rate over the same window, their ratio, the client's CPU seconds per second
of phase (GetProcessTimes inside the client, and /proc outside), the
wineserver's, and the final figure the engine posted (its trimmed mean).
Rates are given in Mbit/s of 2^20 bits (the client's unit) and in Gbit/s
of 10^9 bits.
"""

import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.realpath(__file__))
ROOT = os.path.dirname(HERE)
CLK = os.sysconf("SC_CLK_TCK")
LAB_INI = "Z:" + os.path.join(ROOT, "config", "lab.ini")  # the lab's servers, as Wine names the file
SS_CONN = re.compile(r"^\S*\s*\d+\s+\d+\s+(127\.0\.8[01]\.\d+:\d+)\s+(\S+)")
ACKED = re.compile(r"bytes_acked:(\d+)")


def proc_cpu(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLK
    except (OSError, IndexError, ValueError):
        return None


def find_wineserver():
    prefix = os.environ.get("WINEPREFIX")
    if not prefix:
        return None
    st = os.stat(prefix)
    tag = "server-%x-%x" % (st.st_dev, st.st_ino)
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/comm" % pid) as f:
                if not f.read().strip().startswith("wineserver"):
                    continue
            if os.readlink("/proc/%s/cwd" % pid).endswith(tag):
                return int(pid)
        except OSError:
            continue
    return None


def lab_acked():
    """bytes_acked per lab-side connection (local address 127.0.80/81.x)."""
    out = subprocess.run(["ss", "-tinH", "state", "established", "( sport = :80 or sport = :8000 )"],
                         capture_output=True, text=True).stdout
    acked = {}
    key = None
    for line in out.splitlines():
        m = SS_CONN.match(line)
        if m:
            key = (m.group(1), m.group(2))
            continue
        if key:
            a = ACKED.search(line)
            if a:
                acked[key] = int(a.group(1))
            key = None
    return acked


class Sampler(threading.Thread):
    def __init__(self, client_pid, server_pid, period=0.1, limit=120):
        super().__init__(daemon=True)
        self.client_pid, self.server_pid = client_pid, server_pid
        self.period, self.limit = period, limit
        self.stop = threading.Event()
        self.ticks = []  # (unix ms, lab bytes so far, client cpu s, wineserver cpu s)
        self.last = {}   # connection -> last bytes_acked seen (closed ones keep theirs)

    def run(self):
        end = time.time() + self.limit
        while not self.stop.is_set() and time.time() < end:
            self.last.update(lab_acked())
            self.ticks.append((time.time() * 1000, sum(self.last.values()),
                               proc_cpu(self.client_pid), proc_cpu(self.server_pid) if self.server_pid else None))
            self.stop.wait(self.period)

    def at(self, t_ms, column):
        """Linear interpolation of a column at time t_ms."""
        pts = [(t, row[column]) for t, *rest in self.ticks for row in [(t, *rest)] if row[column] is not None]
        if not pts:
            return None
        if t_ms <= pts[0][0]:
            return pts[0][1]
        for (t0, v0), (t1, v1) in zip(pts, pts[1:]):
            if t0 <= t_ms <= t1:
                return v0 + (v1 - v0) * (t_ms - t0) / (t1 - t0) if t1 > t0 else v1
        return pts[-1][1]


# Download connections of a phase by mode and level, as the bandwidth engine
# builds its job list (Internet mode one per level step, metropolitan half).
DOWNLOAD_CONNECTIONS = {1: lambda level: level, 2: lambda level: level // 2}


def mbit(bytes_per_s):
    return bytes_per_s * 8 / 1048576


def run_once(exe, mode, level):
    server_pid = find_wineserver()
    proc = subprocess.Popen(["wine", exe, "--mode", str(mode), "--level", str(level), "--config", LAB_INI],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    sampler = Sampler(proc.pid, server_pid)
    sampler.start()
    try:
        out, _ = proc.communicate(timeout=150)
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
    sampler.stop.set()
    sampler.join()
    line = [l for l in out.decode().splitlines() if l.startswith("{")]
    if proc.returncode != 0 or not line:
        raise RuntimeError("bench_download_phase failed (exit %s)" % proc.returncode)
    r = json.loads(line[-1])
    start, last = r["start_ms"], r["sample_at_ms"][-1]
    seconds = (last - start) / 1000.0
    client_bytes = sum(r["samples"])
    lab_bytes = sampler.at(last, 1) - sampler.at(start, 1)
    out = {
        "samples": len(r["samples"]),
        "window_s": seconds,
        "client_mbps": mbit(client_bytes / seconds),
        "lab_mbps": mbit(lab_bytes / seconds),
        "final_mbps": mbit(r["final"]),  # bytes per interval of about one second
        "client_cpu_per_s": r["cpu_ms"] / 1000.0 / ((r["done_ms"] - start) / 1000.0),
    }
    c0, c1 = sampler.at(start, 2), sampler.at(r["done_ms"], 2)
    out["client_cpu_per_s_proc"] = (c1 - c0) / ((r["done_ms"] - start) / 1000.0) if c0 is not None else None
    w0, w1 = sampler.at(start, 3), sampler.at(r["done_ms"], 3)
    out["wineserver_cpu_per_s"] = (w1 - w0) / ((r["done_ms"] - start) / 1000.0) if w0 is not None else None
    out["ratio"] = out["client_mbps"] / out["lab_mbps"] if out["lab_mbps"] else None
    return out


def start_lab(state_dir, stream_pace):
    os.makedirs(state_dir, exist_ok=True)
    log = open(os.path.join(state_dir, "lab.out"), "w")
    lab = subprocess.Popen([os.path.join(ROOT, "lab", "run"), "--state-dir", state_dir,
                            "--stream-pace", str(stream_pace)],
                           stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
    wait = subprocess.run([os.path.join(ROOT, "scripts", "wait-lab"), os.path.join(state_dir, "lab.out"),
                           str(lab.pid), "10"], stderr=subprocess.DEVNULL)
    if wait.returncode == 0:
        return lab
    lab.kill()
    raise RuntimeError("the lab did not start (see %s/lab.out; is another lab running? use --running)" % state_dir)


def fmt(v, spec):
    return "n/a" if v is None else format(v, spec)


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--runs", type=int, default=3)
    p.add_argument("--mode", type=int, default=2, choices=(1, 2))
    p.add_argument("--level", type=int, default=16)
    p.add_argument("--running", action="store_true", help="use the lab already listening on the lab profile")
    p.add_argument("--exe", action="append", default=[],
                   help="the bench program to run (default: this build's); given several times, the "
                        "runs take them in turn, so that their figures are measured side by side")
    p.add_argument("--line", type=float, default=0.0, metavar="MBPS",
                   help="pace the lab's streams so that together they carry MBPS Mbit/s "
                        "(2^20 bits), as a line of that rate delivers them; 0 = as fast as loopback")
    p.add_argument("--json", help="also write the results here")
    a = p.parse_args()
    exes = a.exe or [os.path.join(ROOT, "build", "win64", "bench", "bench_download_phase.exe")]
    conns = DOWNLOAD_CONNECTIONS[a.mode](a.level)
    pace = a.line / conns if a.line > 0 else 0.0

    lab = None if a.running else start_lab("/tmp/veltrane-bench-lab", pace)
    results = {exe: [] for exe in exes}
    try:
        for i in range(a.runs):
            for exe in exes:
                results[exe].append(run_once(exe, a.mode, a.level))
                time.sleep(1)
    finally:
        if lab:
            lab.terminate()
            lab.wait(timeout=10)

    print("download phase, mode %d, level %d (%d connections), %s, %d run(s) each, %d cores" % (
        a.mode, a.level, conns, "line %g Mbit/s" % a.line if pace else "unpaced loopback", a.runs,
        os.cpu_count()))
    head = "%-4s %8s %13s %13s %7s %12s %12s %12s %12s" % (
        "run", "window", "client Mbit/s", "lab Mbit/s", "ratio", "final Mbit/s",
        "client cpu/s", "(from /proc)", "wineserver")
    medians = {}
    for exe in exes:
        print("%s:" % exe)
        print(head)
        for i, r in enumerate(results[exe], 1):
            print("%-4d %7.2fs %13.1f %13.1f %7.3f %12.1f %12.2f %12s %12s" % (
                i, r["window_s"], r["client_mbps"], r["lab_mbps"], r["ratio"], r["final_mbps"],
                r["client_cpu_per_s"], fmt(r["client_cpu_per_s_proc"], ".2f"),
                fmt(r["wineserver_cpu_per_s"], ".2f")))
        med = {k: statistics.median(r[k] for r in results[exe] if r[k] is not None)
               for k in ("client_mbps", "lab_mbps", "client_cpu_per_s", "wineserver_cpu_per_s")}
        medians[exe] = med
        print("median: client %.1f Mbit/s (%.2f Gbit/s), lab %.1f Mbit/s (%.2f Gbit/s), CPU s per s: "
              "client %.2f, wineserver %.2f, pair %.2f" % (
                  med["client_mbps"], med["client_mbps"] * 1048576 / 1e9, med["lab_mbps"],
                  med["lab_mbps"] * 1048576 / 1e9, med["client_cpu_per_s"], med["wineserver_cpu_per_s"],
                  med["client_cpu_per_s"] + med["wineserver_cpu_per_s"]))
    if len(exes) > 1:
        base = medians[exes[0]]
        for exe in exes[1:]:
            m = medians[exe]
            pair0 = base["client_cpu_per_s"] + base["wineserver_cpu_per_s"]
            pair1 = m["client_cpu_per_s"] + m["wineserver_cpu_per_s"]
            print("%s against %s: throughput %.3f, client CPU %.2f, wineserver CPU %.2f, pair %.2f" % (
                exe, exes[0], m["client_mbps"] / base["client_mbps"],
                m["client_cpu_per_s"] / base["client_cpu_per_s"],
                m["wineserver_cpu_per_s"] / base["wineserver_cpu_per_s"], pair1 / pair0))
    if a.json:
        with open(a.json, "w") as f:
            json.dump({"mode": a.mode, "level": a.level, "line_mbps": a.line,
                       "runs": {exe: rs for exe, rs in results.items()}}, f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())
