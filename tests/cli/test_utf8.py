"""veltrane-cli's JSON lines are UTF-8 while the program's texts are GBK
(code page 936 under these tests): the route trace and the diagnosis over a
Chinese tracert transcript (a replay double in the current folder, found
before the system's tracert) print their Chinese verdicts, hop texts and LAN
advice as UTF-8; the diagnostic lines on standard error stay GBK for the
console. No lab: neither command talks to the platform."""
import json
import os
import shutil
import tempfile
import unittest

from clilab import ROOT, run_cli_raw, wine_path

REPLAY = os.path.join(ROOT, "build", "win64", "tests", "vt-replay.exe")
TRANSCRIPT = os.path.join(ROOT, "tests", "data", "tracert", "zh_ten_hops.txt")
TIMED_OUT = "请求超时"  # the hop that did not answer, as tracert words it
SLOW = "198.51.100.9,198.51.100.10,路由延时大于30毫秒，严重影响网速"
MEDIUM = "198.51.100.6,198.51.100.7,198.51.100.8,路由延时大于15毫秒，可能会影响网速"
LAN_ADVICE = "内网层次过于复杂，会影响您的带宽"


def lines_of(out):
    """Standard output decoded strictly as UTF-8, one JSON object a line."""
    return [json.loads(line) for line in out.decode("utf-8", errors="strict").splitlines()]


@unittest.skipUnless(os.path.exists(REPLAY), "no build/win64/tests/vt-replay.exe")
class Utf8Lines(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp(prefix="veltrane-cli-utf8-")
        shutil.copy(REPLAY, os.path.join(cls.folder, "tracert.exe"))
        env = {"VT_REPLAY_FILE": wine_path(TRANSCRIPT)}
        cls.trace = run_cli_raw("trace", "198.51.100.10", cwd=cls.folder, env=env, timeout=120)
        cls.diagnosis = run_cli_raw("diagnose", "198.51.100.10", "--public-ip", "172.32.0.1", cwd=cls.folder,
                                    env=env, timeout=120)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def test_diagnosis_summary_is_utf8(self):
        code, out, err = self.diagnosis
        self.assertEqual(code, 0, err.decode("gbk", errors="replace"))
        summary = lines_of(out)[-1]
        self.assertEqual(summary["hoopsLAN"], 4)
        self.assertEqual(summary["lancomment"], LAN_ADVICE)
        self.assertEqual(summary["traceHoops"].split("|")[2], TIMED_OUT)
        self.assertIn(LAN_ADVICE.encode("utf-8"), out)

    def test_trace_hops_and_verdict_are_utf8(self):
        code, out, err = self.trace
        self.assertEqual(code, 0, err.decode("gbk", errors="replace"))
        lines = lines_of(out)
        hops = [l for l in lines if l.get("msg") == "MSG_TRACE_HOP"]
        self.assertEqual([h["text"] for h in hops][2], TIMED_OUT)
        summary = lines[-1]
        self.assertEqual(summary["hops"][2], {"address": TIMED_OUT, "delay": -1})
        self.assertEqual(summary["line1"], SLOW)
        self.assertEqual(summary["line2"], MEDIUM)
        self.assertEqual(summary["TraceTestStatus"], "<f 4>%s<n>%s</f>" % (SLOW, MEDIUM))

    def test_standard_error_stays_in_the_console_code_page(self):
        self.trace[2].decode("gbk", errors="strict")
        err = self.diagnosis[2]
        err.decode("gbk", errors="strict")
        # The diagnosis logs each transcript line it parses, as it read it.
        self.assertIn((TIMED_OUT + "。").encode("gbk"), err)
        self.assertNotIn(TIMED_OUT.encode("utf-8"), err)


if __name__ == "__main__":
    unittest.main()
