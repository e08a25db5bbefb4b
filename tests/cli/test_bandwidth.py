"""veltrane-cli bandwidth against lab/run: the acceptance of issue 4."""
import unittest

from clilab import Lab, listening, run_cli

CAPPED = 999.99


def kinds(lines):
    return [l.get("msg") or "summary" for l in lines]


PING = ["MSG_PING_REPLY"] * 8 + ["MSG_PING_DONE"]


class MetroLevel16(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lab = Lab()
        try:
            cls.code, cls.lines, cls.err = run_cli("bandwidth", "--mode", "2", "--level", "16")
        finally:
            cls.lab.stop()
        cls.requests = cls.lab.requests()

    def test_messages_in_order(self):
        self.assertEqual(self.code, 0, self.err)
        expected = (["MSG_DOWNLOAD_SAMPLE"] * 16 + ["MSG_DOWNLOAD_DONE"] + PING +
                    ["MSG_UPLOAD_SAMPLE"] * 15 + ["MSG_UPLOAD_DONE", "summary"])
        self.assertEqual(kinds(self.lines), expected)
        for line in self.lines[:16]:
            self.assertGreater(line["wParam"], 0)
            self.assertEqual(line["lParam"], 0)
        self.assertEqual(self.lines[-2]["wParam"], self.lines[-3]["wParam"])  # final = last running mean

    def test_summary_is_what_the_window_stores(self):
        done = self.lines[16]["wParam"]
        upload = self.lines[-2]["wParam"]
        convert = lambda v: min_cap((v & 0xFFFFFFFF) * 7.62939453125e-6 * 1.0847)
        summary = self.lines[-1]
        self.assertEqual(set(summary), {"speed_speed", "speed_rtt", "speed_upload", "line_quality"})
        self.assertAlmostEqual(summary["speed_speed"], round(convert(done), 2), places=2)
        self.assertAlmostEqual(summary["speed_upload"], round(convert(upload), 2), places=2)
        ping_done = [l for l in self.lines if l.get("msg") == "MSG_PING_DONE"]
        self.assertEqual(summary["speed_rtt"], ping_done[0]["wParam"])  # the ping between the phases

    def test_line_quality_has_each_phase(self):
        q = self.lines[-1]["line_quality"]
        self.assertGreaterEqual(q["probes_per_second"], 20)
        self.assertGreaterEqual(q["idle_probes"], 60)  # the 3 s lead at rest
        self.assertGreater(q["download_probes"], 20)
        self.assertGreater(q["upload_probes"], 20)
        self.assertEqual(q["lost"], 0)

    def test_lab_saw_eight_downloads_then_twelve_uploads(self):
        downloads = [(r["listen"], r["path"]) for r in self.requests if r["method"] == "GET"]
        uploads = [(r["listen"], r["path"]) for r in self.requests if r["method"] == "POST"]
        ts = lambda n: ("127.0.80.%d:8000" % (10 + n), "/data.iso")
        p = ("127.0.80.1:80", "/data.iso")
        # The job list is test server 1, platform, test server 2, platform,
        # platform, platform, test server 3, platform (BandwidthJobsTest);
        # the workers start in that order but connect at once, and the lab
        # records each request when it has read it, so the record's order
        # among them is a race: compare the connections as a multiset.
        self.assertEqual(sorted(downloads), sorted([ts(1), p, ts(2), p, p, p, ts(3), p]))
        self.assertEqual(len(uploads), 12)
        up = sorted(uploads)
        expected = sorted([("127.0.80.%d:8000" % (10 + n), "/recv_upload.php") for n in (1, 2, 3, 4, 5, 6, 7)] +
                          [("127.0.80.1:80", "/recv_upload.php")] * 5)
        self.assertEqual(up, expected)
        for r in self.requests:
            if r["method"] == "POST":
                self.assertEqual(r["declared_length"], 2097152000)
                self.assertGreater(r["body_received"], 0)


def min_cap(v):
    return CAPPED if v > 1000 else v


class NoServerAnswers(unittest.TestCase):
    """Every connection refused: the download phase ends at once with 0, the
    ping runs, the upload phase still posts its 15 samples, the diagnostic lines go to
    standard error and standard output stays JSON."""

    def test_refused_everywhere(self):
        if listening("127.0.80.11", 8000) or listening("127.0.80.1", 80):
            self.skipTest("a lab is listening on the lab profile's addresses")
        code, lines, err = run_cli("bandwidth", "--mode", "2", "--level", "4", "--prober", "off")
        self.assertEqual(code, 0, err)
        self.assertNotIn("line_quality", lines[-1])
        # The ping of the platform's loopback address still answers.
        self.assertEqual(kinds(lines), ["MSG_DOWNLOAD_DONE"] + PING + ["MSG_UPLOAD_SAMPLE"] * 15 +
                         ["MSG_UPLOAD_DONE", "summary"], err)
        self.assertEqual(lines[0]["wParam"], 0)
        self.assertEqual(lines[-1]["speed_speed"], 0.0)
        self.assertEqual(lines[-1]["speed_upload"], 0.0)
        self.assertIn("connnect failed", err)


class BadArguments(unittest.TestCase):
    def test_usage(self):
        for args in (["bandwidth"], ["bandwidth", "--mode", "3", "--level", "16"],
                     ["bandwidth", "--mode", "2", "--level", "5"], ["bandwidth", "--mode", "2"],
                     ["bandwidth", "--mode", "2", "--level", "16x"],
                     ["bandwidth", "--mode", "2", "--level", "16", "--prober", "yes"]):
            code, lines, err = run_cli(*args, timeout=60)
            self.assertEqual(code, 2, args)
            self.assertEqual(lines, [])
            self.assertIn("usage", err)


if __name__ == "__main__":
    unittest.main()
