"""veltrane-cli version, publicip, testnumber and apps against lab/run."""
import unittest

from clilab import Lab, listening, run_cli


def last(lines):
    return lines[-1] if lines else {}


class Version(unittest.TestCase):
    def run_version(self, *lab_args):
        lab = Lab(*lab_args)
        try:
            return run_cli("version", timeout=60)
        finally:
            lab.stop()

    def test_same_version_is_not_due(self):
        code, lines, err = self.run_version()
        self.assertEqual(code, 0, err)
        out = last(lines)
        self.assertEqual((out["own_major"], out["own_minor"]), (2, 21))
        self.assertEqual(out["document_version"], "2.21.2.718")
        self.assertIs(out["update_due"], False)

    def test_newer_version_names_its_file(self):
        code, lines, err = self.run_version("--scenario", "update")
        self.assertEqual(code, 0, err)
        out = last(lines)
        self.assertIs(out["update_due"], True)
        self.assertEqual(out["file_name"], "veltrane_2.22.exe")
        self.assertNotIn("refused", out)

    def test_hostile_file_name_is_refused(self):
        for url in ("http://127.0.80.1/download/x.exe&calc", "http://127.0.80.1/download/..%5c..%5cx.exe",
                    "http://127.0.80.1/download/a%20b.exe", "http://127.0.80.1/download/"):
            code, lines, err = self.run_version("--scenario", "update", "--update-url", url)
            out = last(lines)
            self.assertIs(out["update_due"], True, url)
            self.assertEqual(out["file_name"], "", url)
            self.assertIn("refused", out, url)

    def test_stalled_document_gives_up_after_five_seconds(self):
        import time
        start = time.monotonic()
        code, lines, err = self.run_version("--scenario", "stall")
        self.assertEqual(code, 5, err)
        self.assertLess(time.monotonic() - start, 30)
        self.assertIn("document", last(lines))


class PublicIpAndTestNumber(unittest.TestCase):
    def test_replies_of_each_kind(self):
        cases = [([], ["--user", "Orvalen", "--pass", "580317"], 0, "granted"),
                 ([], ["--user", "Orvalen", "--pass", "wrong"], 3, "ACCESS_DENY"),
                 (["--scenario", "need-update"], ["--user", "Orvalen", "--pass", "580317"], 4, "NEED_UPDATE"),
                 (["--scenario", "need-update-newline"], ["--user", "Orvalen", "--pass", "580317"], 0, "granted")]
        for lab_args, cli_args, want_code, want_reply in cases:
            lab = Lab(*lab_args)
            try:
                code, lines, err = run_cli("testnumber", *cli_args, timeout=60)
            finally:
                lab.stop()
            self.assertEqual(code, want_code, (lab_args, cli_args, err))
            self.assertEqual(last(lines)["reply"], want_reply, (lab_args, cli_args))
            self.assertEqual(lines[0]["msg"], "MSG_TEST_NUMBER")
            if want_reply == "granted":
                self.assertTrue(last(lines)["test_number"], lines)
            requests = [r for r in lab.requests() if r["path"] == "/getseq.php"]
            self.assertEqual(requests[0]["query"], "v=1.0.10&User=%s&Pass=%s" % (cli_args[1], cli_args[3]))

    def test_public_address(self):
        lab = Lab()
        try:
            code, lines, err = run_cli("publicip", timeout=60)
        finally:
            lab.stop()
        self.assertEqual(code, 0, err)
        self.assertEqual(lines[0]["msg"], "MSG_TROUBLE_RESULT")
        self.assertEqual(lines[0]["wParam"], 1)
        self.assertEqual(last(lines)["public_ip"], "127.0.0.1")

    def test_unreachable_platform_is_not_a_test_number(self):
        if listening("127.0.80.1", 80):
            self.skipTest("a lab is listening on the lab profile's addresses")
        code, lines, err = run_cli("testnumber", "--user", "Orvalen", "--pass", "580317", timeout=60)
        self.assertEqual(code, 5, err)
        self.assertEqual(last(lines)["reply"], "no answer")


class Apps(unittest.TestCase):
    def test_three_boxes_three_grades(self):
        # Portals at 4 Mbit/s, webmail at 0.04 Mbit/s, and the download box
        # from a 50 Mbit/s bandwidth result: average, slow, fast.
        lab = Lab("--scenario", "slow-mail")
        try:
            code, lines, err = run_cli("apps", "--download-mbps", "50", timeout=200)
        finally:
            lab.stop()
        self.assertEqual(code, 0, err)
        items = [l for l in lines if l.get("msg") == "MSG_APP_ITEM_RESULT"]
        self.assertEqual([l["lParam"] for l in items], list(range(1, 8)))
        self.assertEqual(lines[-2]["msg"], "MSG_APP_TEST_DONE")
        out = last(lines)
        self.assertGreater(out["app_t1"], 1.0)
        self.assertLess(out["app_t1"], 8.0)
        self.assertEqual(out["WebTestComment"], "一般")
        # Measured 0.04 Mbit/s each, lifted by at most 1 Mbit/s at random.
        self.assertLess(out["app_t2"], 1.1)
        self.assertEqual(out["SMTPTestComment"], "很慢" if out["app_t2"] <= 1.0 else "一般")
        self.assertAlmostEqual(out["app_t3"], 47.5, places=2)
        self.assertEqual(out["FTPTestComment"], "很快")
        self.assertEqual(out["FTPTestResult"], "47.50Mbps")
        # Each site was fetched three times.
        gets = [r["listen"] for r in lab.requests() if r["listen"].startswith("127.0.82.")]
        self.assertEqual(len(gets), 18)


if __name__ == "__main__":
    unittest.main()
