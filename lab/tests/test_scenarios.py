"""Scenarios: each one started as its own lab."""

import os
import socket
import sqlite3
import tempfile
import threading
import time
import unittest
import xml.etree.ElementTree as ET

from labproc import CLIENT_AGENT, LabProcess, exchange, get, post_request, split_reply
from veltrane_lab.addresses import SITE_PATHS

STAFF = "/getseq.php?v=1.0.10&User=Orvalen&Pass=580317"


def rate_comment(mbps):
    """The client's grading of an application speed."""
    return "fast" if mbps > 8 else "average" if mbps > 1 else "slow"


def timed_fetch(listener, path):
    """Fetch like the client's speed probe: the clock runs from the end of the
    send to the end of the reply, every received byte counts.
    Returns (Mbit/s with 1 Mbit = 2^20 bits, seconds)."""
    with socket.create_connection((listener.host, listener.port), timeout=10) as s:
        s.sendall(b"GET " + path.encode() + b" HTTP/1.1\r\nHost: " + listener.host.encode()
                  + b"\r\nUser-Agent: " + CLIENT_AGENT + b"\r\nConnection: close\r\n\r\n")
        start = time.monotonic()
        total = 0
        while True:
            n = len(s.recv(65536))
            if not n:
                break
            total += n
    seconds = time.monotonic() - start
    return total * 8 / 1048576 / seconds, seconds


class ScenarioTest(unittest.TestCase):
    def run_lab(self, *args):
        lab = LabProcess(*args)
        self.addCleanup(lab.cleanup)
        return lab

    def test_test_number_replies(self):
        cases = [
            (("--scenario", "deny"), b"ACCESS_DENY"),
            (("--scenario", "need-update"), b"NEED_UPDATE"),
            (("--scenario", "need-update-newline"), b"NEED_UPDATE\r\n"),
            (("--min-version", "1.0.11"), b"NEED_UPDATE"),
            (("--min-version", "1.0.9"), None),
        ]
        for args, expected in cases:
            with self.subTest(args=args):
                lab = self.run_lab(*args)
                status, _, body = split_reply(get(lab.platform, STAFF))
                self.assertEqual(status, 200)
                if expected is None:
                    self.assertTrue(body.isdigit(), body)
                else:
                    self.assertEqual(body, expected)

    def test_update_serves_the_given_file(self):
        exe = b"MZ" + os.urandom(300_000)
        with tempfile.NamedTemporaryFile(suffix=".exe") as f:
            f.write(exe)
            f.flush()
            lab = self.run_lab("--scenario", "update", "--update-file", f.name)
            first = ET.fromstring(split_reply(get(lab.platform, "/version.xml"))[2])
        self.assertEqual(first.get("ver"), "2.22.0.1")
        self.assertEqual(first.get("url"), "http://%s/download/veltrane_2.22.exe" % lab.platform.host)
        status, headers, body = split_reply(get(lab.platform, "/download/veltrane_2.22.exe"))
        self.assertEqual((status, body), (200, exe))

    def test_custom_documents_replies_and_accounts(self):
        doc = b"<?xml version=\"1.0\"?><x ver=\"3.0\" autoupdate=\"0\"/>"
        canned = b"HTTP/1.0 200 OK\r\nX-Odd: yes\r\n\r\n4711"   # no length, HTTP/1.0
        with tempfile.TemporaryDirectory() as d:
            files = {}
            for name, data in (("version.xml", doc), ("reply.http", canned)):
                files[name] = os.path.join(d, name)
                with open(files[name], "wb") as f:
                    f.write(data)
            lab = self.run_lab("--version-xml", files["version.xml"], "--user", "guest:pw",
                               "--reply", "/report/query.php=" + files["reply.http"],
                               "--reply", "/getip.php=" + files["reply.http"])
        self.assertEqual(split_reply(get(lab.platform, "/version.xml"))[2], doc)
        body = split_reply(get(lab.platform, "/getseq.php?v=1.0.10&User=guest&Pass=pw"))[2]
        self.assertTrue(body.isdigit(), body)
        self.assertEqual(get(lab.platform, "/getip.php"), canned)
        # a canned reply replaces only the answer: the report is still stored
        self.assertEqual(exchange(lab.platform, post_request(lab.platform.host, b"/report/query.php",
                                                             b"seq=77\r\n\r\n")), canned)
        with sqlite3.connect(lab.db_path) as db:
            self.assertEqual(db.execute("SELECT seq FROM reports").fetchall(), [("77",)])
        self.assertEqual(lab.wait_record(lambda r: r["path"] == "/getip.php")["status"], 200)

    def test_stall(self):
        lab = self.run_lab("--scenario", "stall")
        for path in ("/version.xml", "/download/veltrane_2.22.exe"):
            with self.subTest(path=path):
                with socket.create_connection((lab.platform.host, lab.platform.port)) as s:
                    s.sendall(b"GET " + path.encode() + b" HTTP/1.1\r\nHost: x\r\n\r\n")
                    s.settimeout(0.6)
                    with self.assertRaises(socket.timeout):
                        s.recv(1)
                    self.assertEqual(lab.wait_record(lambda r: r["path"] == path)["fault"], "never-answer")
        self.assertTrue(split_reply(get(lab.platform, STAFF))[2].isdigit())

    def test_site_paces(self):
        cases = [
            ("slow-sites", {1: "fast", 2: "average", 3: "slow", 4: "fast", 5: "average", 6: "slow"}),
            ("slow-mail", {1: "average", 2: "average", 3: "average", 4: "slow", 5: "slow", 6: "slow"}),
            ("default", {n: "fast" for n in SITE_PATHS}),
        ]
        labs = {name: self.run_lab("--scenario", name) for name, _ in cases}
        results = {}

        def probe(name, n):
            results[name, n] = timed_fetch(labs[name].layout.site(n), SITE_PATHS[n])

        threads = [threading.Thread(target=probe, args=(name, n)) for name, _ in cases for n in SITE_PATHS]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        for name, grades in cases:
            for n, grade in grades.items():
                with self.subTest(scenario=name, site=n):
                    mbps, seconds = results[name, n]
                    self.assertEqual(rate_comment(mbps), grade, "%.3f Mbit/s" % mbps)
                    self.assertLess(seconds, 3.0)
                    if grade != "fast":   # clear of the grade boundaries
                        self.assertTrue(0.02 < mbps < 0.8 or 1.5 < mbps < 7, mbps)


if __name__ == "__main__":
    unittest.main()
