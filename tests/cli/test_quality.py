"""veltrane-cli quality: the background prober alone, on loopback."""
import unittest

from clilab import run_cli


class Quality(unittest.TestCase):
    def test_loopback_answers_every_probe(self):
        code, lines, err = run_cli("quality", "127.0.0.1", "--seconds", "2", timeout=60, config=None)
        self.assertEqual(code, 0, err)
        q = lines[-1]
        self.assertGreaterEqual(q["probes"], 45)  # 25 a second
        self.assertEqual((q["lost"], q["longest_loss_run"]), (0, 0))
        self.assertEqual(q["idle_probes"], q["probes"])
        self.assertEqual((q["download_probes"], q["upload_probes"]), (0, 0))
        self.assertLess(q["idle_median_ms"], 5)

    def test_usage(self):
        for args in (["quality"], ["quality", "127.0.0.1"], ["quality", "127.0.0.1", "--seconds", "0"],
                     ["quality", "127.0.0.1", "--seconds", "2x"], ["quality", "--seconds", "2"]):
            code, lines, err = run_cli(*args, timeout=60, config=None)
            self.assertEqual(code, 2, args)
            self.assertEqual(lines, [])
            self.assertIn("usage", err)

    def test_host_without_an_ipv4_address(self):
        code, lines, err = run_cli("quality", "::1", "--seconds", "1", timeout=60, config=None)
        self.assertEqual(code, 5, err)
        self.assertEqual(lines, [])


if __name__ == "__main__":
    unittest.main()
