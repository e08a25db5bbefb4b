"""The impairment element's logic (lab/impair/impair_test.c), built natively
with the sanitizers and run: release times, loss models, super-packet runs."""

import os
import subprocess
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
BUILD = os.path.join(os.path.dirname(HERE), "impair", "build")


class ImpairElementLogicTest(unittest.TestCase):
    def test_self_test_passes(self):
        with tempfile.TemporaryDirectory() as out:
            r = subprocess.run([BUILD, out], capture_output=True, text=True)
            self.assertEqual(r.returncode, 0, r.stderr)
            self.assertTrue(os.access(os.path.join(out, "impair"), os.X_OK), "the element itself did not build")
            r = subprocess.run([os.path.join(out, "impair_test")], capture_output=True, text=True, timeout=60)
        last = r.stdout.strip().splitlines()[-1] if r.stdout.strip() else ""
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertRegex(last, r"^impair_test: [1-9]\d* passed, 0 failed$", r.stdout)


if __name__ == "__main__":
    unittest.main()
