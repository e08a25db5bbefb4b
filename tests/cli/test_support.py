"""What the console leaves for the support desk: --log FILE (every
diagnostic line stamped, masked, appended) and support-bundle OUT.zip (the
week's logs, the crash reports and the recent result records of a local
data folder)."""
import datetime
import os
import re
import shutil
import tempfile
import time
import unittest
import zipfile

from clilab import Lab, run_cli, wine_path

STAMP = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[\d+\] ")


class LogOption(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="veltrane-cli-log-")
        cls.lab = Lab()

    @classmethod
    def tearDownClass(cls):
        cls.lab.stop()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def read_lines(self, path):
        with open(path, "rb") as f:
            data = f.read()
        self.assertTrue(data.endswith(b"\r\n"), data[-40:])
        return data.decode("gbk").split("\r\n")[:-1]

    def test_lines_are_stamped_masked_and_appended(self):
        log = os.path.join(self.dir, "console.log")
        password = "se&cr et;580317"
        code, lines, err = run_cli("--log", wine_path(log), "testnumber", "--user", "Orvalen", "--pass", password,
                                   timeout=60)
        self.assertIn(code, (0, 3), err)
        first = self.read_lines(log)
        for line in first:
            self.assertRegex(line, STAMP)
        text = "\n".join(first)
        self.assertRegex(first[0], STAMP.pattern + r"veltrane-cli 2\.21\.2\.718 \(x64\) started: Windows .*"
                         r"code page 936, process \d+, .*veltrane-cli\.exe$")
        self.assertIn("] servers: platform 127.0.80.1", text)
        exchange = [l for l in first if "/getseq.php" in l]
        self.assertEqual(len(exchange), 1, text)
        self.assertRegex(exchange[0], r"\] platform: GET status 200, \d+ body bytes, whole: "
                         r"http://127\.0\.80\.1/getseq\.php\?v=1\.0\.10&User=Orvalen&Pass=\*\*\*$")
        for piece in ("se&cr", "cr et", "580317"):
            self.assertNotIn(piece, text)
        # Standard error keeps its lines, unstamped.
        self.assertIn("servers: platform 127.0.80.1, update key none, from " + wine_path(os.path.join(
            os.path.dirname(os.path.dirname(os.path.dirname(os.path.realpath(__file__)))), "config", "lab.ini")),
            err.splitlines())
        # A second run appends.
        code, lines, err = run_cli("--log", wine_path(log), "version", timeout=60)
        self.assertEqual(code, 0, err)
        both = self.read_lines(log)
        self.assertEqual(both[:len(first)], first)
        self.assertTrue(any("] platform: GET status 200" in l and l.endswith("/version.xml") for l in both[len(first):]),
                        both[len(first):])

    def test_a_log_file_that_cannot_be_opened_stops_the_command(self):
        seen = len(self.lab.requests())
        code, lines, err = run_cli("--log", wine_path(self.dir), "version", timeout=60)  # a folder
        self.assertEqual(code, 2)
        self.assertEqual(lines, [])
        self.assertEqual(err.splitlines(), ["veltrane-cli: cannot open log file " + wine_path(self.dir)])
        self.assertEqual(self.lab.requests()[seen:], [], "nothing may be sent")


def days_ago(n):
    return datetime.date.today() - datetime.timedelta(days=n)


class SupportBundle(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="veltrane-cli-bundle-")
        self.data = os.path.join(self.dir, "Veltrane")
        os.makedirs(os.path.join(self.data, "logs"))
        os.makedirs(os.path.join(self.data, "reports"))

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def put(self, relative, data, age_days=0):
        path = os.path.join(self.data, relative)
        with open(path, "wb") as f:
            f.write(data)
        when = time.time() - age_days * 86400
        os.utime(path, (when, when))
        return data

    def bundle(self, *extra):
        out = os.path.join(self.dir, "bundle.zip")
        code, lines, err = run_cli("support-bundle", wine_path(out), *extra, timeout=120)
        return code, lines, err, out

    def test_packs_the_week_the_crashes_and_recent_reports(self):
        today = "veltrane-%s.log" % days_ago(0).strftime("%Y%m%d")
        six = "veltrane-%s.log" % days_ago(6).strftime("%Y%m%d")
        eight = "veltrane-%s.log" % days_ago(8).strftime("%Y%m%d")
        want = {
            "logs/" + today: self.put("logs/" + today, "2026-12-11 00:00:00.000 [1] 页面 recv err\r\n".encode("gbk")),
            "logs/" + six: self.put("logs/" + six, b"x" * 300000, 6),
            "logs/crash-20260101-101010-7.txt": self.put("logs/crash-20260101-101010-7.txt", b"crash text", 300),
            "logs/crash-20260101-101010-7.dmp": self.put("logs/crash-20260101-101010-7.dmp", os.urandom(50000), 300),
            "reports/r1.json": self.put("reports/r1.json", b'{"v":1}', 1),
        }
        self.put("logs/" + eight, b"old", 8)
        self.put("reports/old.json", b"{}", 9)
        self.put("logs/desktop.ini", b"[x]")
        code, lines, err, out = self.bundle("--from", wine_path(self.data))
        self.assertEqual(code, 0, err)
        self.assertEqual(len(lines), 1, lines)
        self.assertEqual(lines[0]["files"], 5)
        self.assertEqual(lines[0]["left_out"], 3)
        with zipfile.ZipFile(out) as z:
            self.assertIsNone(z.testzip())
            names = set(z.namelist())
            self.assertEqual(names, set(want) | {"bundle.txt"})
            for name, data in want.items():
                self.assertEqual(z.read(name), data, name)
            note = z.read("bundle.txt").decode("gbk")
        self.assertIn("made by: veltrane-cli 2.21.2.718", note)
        self.assertIn("from: " + wine_path(self.data) + "\r\n", note)
        self.assertIn("  logs/%s: older than 7 days\r\n" % eight, note)
        self.assertIn("  reports/old.json: older than 7 days\r\n", note)
        self.assertIn("  logs/desktop.ini: not a log file\r\n", note)

    def test_an_empty_folder_gives_a_bundle_that_says_so(self):
        code, lines, err, out = self.bundle("--from", wine_path(self.data))
        self.assertEqual(code, 0, err)
        with zipfile.ZipFile(out) as z:
            self.assertEqual(z.namelist(), ["bundle.txt"])
            self.assertIn("(no log, crash report or result record found)", z.read("bundle.txt").decode("gbk"))

    def test_bad_arguments_and_unwritable_archives(self):
        for args in ([], ["--from"], ["a.zip", "b.zip"], ["a.zip", "--bogus"]):
            code, lines, err = run_cli("support-bundle", *args, timeout=60)
            self.assertEqual(code, 2, args)
            self.assertEqual(lines, [])
        code, lines, err = run_cli("support-bundle", wine_path(os.path.join(self.dir, "no", "such", "x.zip")),
                                   "--from", wine_path(self.data), timeout=60)
        self.assertEqual(code, 1, err)
        self.assertIn("veltrane-cli: cannot write", err)


if __name__ == "__main__":
    unittest.main()
