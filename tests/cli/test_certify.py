"""veltrane-cli certify against lab/run: the whole certification, the stored
report compared field by field with what the console printed."""
import json
import unittest
import urllib.request

from clilab import Lab, listening, run_cli

ARGS = ["--user", "Orvalen", "--pass", "580317", "--mode", "2", "--level", "16"]
INFO = "某公司 A&B"


class Certified(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lab = Lab()
        try:
            cls.code, cls.lines, cls.err = run_cli("certify", *ARGS, "--bandwidth", "100", "--userinfo", INFO,
                                                   "--json", timeout=900)
            cls.reports = cls.lab.reports()
            final = cls.lines[-1] if cls.lines else {}
            cls.docx = b""
            if final.get("document"):
                with urllib.request.urlopen(final["document"], timeout=10) as reply:
                    cls.docx = reply.read()
        finally:
            cls.lab.stop()

    def test_every_phase_ran_in_order(self):
        self.assertEqual(self.code, 0, self.err)
        kinds = [l.get("msg") for l in self.lines if "msg" in l]
        firsts = [kinds.index(k) for k in ("MSG_TEST_NUMBER", "MSG_DOWNLOAD_DONE", "MSG_PING_DONE", "MSG_UPLOAD_DONE",
                                           "MSG_APP_TEST_DONE", "MSG_TRACE_DONE", "MSG_TROUBLE_RESULT")]
        self.assertEqual(firsts, sorted(firsts))
        self.assertEqual(kinds.count("MSG_APP_ITEM_RESULT"), 7)

    def test_stored_report_equals_the_printed_one(self):
        final = self.lines[-1]
        self.assertEqual(final["verdict"], "certified")
        self.assertEqual([r[0] for r in self.reports], ["save", "query"])
        self.assertEqual(self.reports[0][2], self.reports[1][2])  # the same body, save first
        fields = dict(json.loads(self.reports[0][1]))
        for key in ("seq", "mod", "testlevel", "speed_rtt", "speed_speed", "speed_upload", "app_t1", "app_t2",
                    "app_t3", "hoopsWAN", "hoopsLAN", "delayWAN", "delayLAN", "lancomment", "traceHoops",
                    "traceDelay", "bandwidth"):
            printed = final[key]
            want = "%.2f" % printed if isinstance(printed, float) else str(printed)
            # The platform reads the declared length, which ends in the body's
            # first "\r\n": the last field carries it.
            self.assertEqual(fields[key].rstrip("\r\n"), want, key)
        # The user information goes in unescaped, so its "&" splits it as a
        # naive form reader splits it: the raw body holds it whole.
        self.assertIn(("&userinfo=" + INFO + "&bandwidth=100\r\n\r\n").encode("gbk"), self.reports[0][2])
        self.assertEqual(final["seq"], final["test_number"])
        self.assertTrue(final["traceHoops"].endswith("|"))

    def test_report_document_opens(self):
        final = self.lines[-1]
        self.assertEqual(final["document"], "http://127.0.80.1:80/report/%s.docx" % final["seq"])
        self.assertEqual(self.docx[:2], b"PK")  # a Word document is a zip archive


    def test_line_quality_covers_the_whole_run(self):
        q = self.lines[-1]["line_quality"]
        self.assertGreaterEqual(q["probes_per_second"], 20)
        self.assertGreaterEqual(q["probes"], 500)  # over a minute of certification
        self.assertEqual((q["lost"], q["loss"]), (0, "0.00% of {:,}".format(q["probes"])))  # loopback
        for phase in ("idle", "download", "upload"):
            self.assertGreater(q[phase + "_probes"], 20, phase)
        self.assertLess(q["idle_median_ms"], 5)  # loopback, even on a busy machine
        self.assertLessEqual(q["idle_median_ms"], q["idle_p90_ms"])
        self.assertAlmostEqual(q["download_added_ms"], q["download_median_ms"] - q["idle_median_ms"], delta=0.02)
        self.assertIn("quality", self.err)
        # The platform receives the report as before, nothing of the prober.
        for report in self.reports:
            self.assertNotIn(b"probe", report[2])
            self.assertNotIn(b"quality", report[2])


class NotCertified(unittest.TestCase):
    def test_below_ninety_percent_is_submitted_without_a_document(self):
        lab = Lab()
        try:
            # Loopback is capped at 999.99 Mbit/s, below 90 % of 2000.
            code, lines, err = run_cli("certify", *ARGS, "--bandwidth", "2000", timeout=900)
            reports = lab.reports()
        finally:
            lab.stop()
        self.assertEqual(code, 6, err)
        self.assertEqual(lines[-1]["verdict"], "below-90-percent")
        self.assertNotIn("document", lines[-1])
        self.assertEqual(len(reports), 2)

    def test_refusals_end_the_run_with_their_own_codes(self):
        for lab_args, user_args, code_wanted, verdict in (
                ([], ["--user", "Orvalen", "--pass", "nope"], 3, "refused"),
                (["--scenario", "need-update"], ["--user", "Orvalen", "--pass", "580317"], 4, "need-update")):
            lab = Lab(*lab_args)
            try:
                code, lines, err = run_cli("certify", *user_args, "--mode", "1", "--level", "4", "--bandwidth", "100",
                                           timeout=120)
            finally:
                lab.stop()
            self.assertEqual(code, code_wanted, err)
            self.assertEqual(lines[-1]["verdict"], verdict)
            self.assertFalse([r for r in lab.requests() if r["method"] == "POST"])

    def test_unreachable_platform(self):
        if listening("127.0.80.1", 80):
            self.skipTest("a lab is listening on the lab profile's addresses")
        code, lines, err = run_cli("certify", *ARGS, "--bandwidth", "100", timeout=120)
        self.assertEqual(code, 5, err)
        self.assertEqual(lines[-1]["verdict"], "unreachable")

    def test_bad_arguments_are_named(self):
        for args, bad in ((ARGS + ["--bandwidth", "abc"], "abc"), (ARGS[:-2] + ["--level", "5", "--bandwidth", "1"], "5"),
                          (ARGS[:-2] + ["--level", "12x", "--bandwidth", "1"], "12x"),
                          (ARGS[2:] + ["--bandwidth", "100"], "--user"), (ARGS + ["--bandwidth", "100", "--x", "1"], "--x")):
            code, lines, err = run_cli("certify", *args, timeout=60)
            self.assertEqual(code, 2, args)
            self.assertEqual(lines, [])
            self.assertIn("'%s'" % bad, err)


if __name__ == "__main__":
    unittest.main()
