"""lab/run as a process: start-up, refusals, signals, state kept across runs."""

import os
import signal
import socket
import subprocess
import unittest

from labproc import RUN, LabProcess, get, split_reply

STAFF = "/getseq.php?v=1.0.10&User=Orvalen&Pass=580317"


class ProcessTest(unittest.TestCase):
    def test_stops_cleanly_on_signals(self):
        for sig in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(sig=sig):
                lab = LabProcess()
                try:
                    self.assertEqual(split_reply(get(lab.platform, "/getip.php"))[0], 200)
                    code, err = lab.stop(sig)
                    self.assertEqual(code, 0, err)
                    with self.assertRaises(ConnectionRefusedError):
                        socket.create_connection((lab.platform.host, lab.platform.port), timeout=2)
                finally:
                    lab.cleanup()

    def test_refuses_to_start(self):
        cases = [
            (["--prefix", "10.0"], "loopback"),
            (["--prefix", "192.168"], "loopback"),
            (["--scenario", "nonesuch"], "unknown scenario"),
            (["--fault", "/x=explode"], "unknown fault kind"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                proc = subprocess.run([RUN, "--state-dir", "/tmp/veltrane-lab-refused"] + args,
                                      capture_output=True, timeout=10, stdin=subprocess.DEVNULL)
                self.assertEqual(proc.returncode, 2)
                self.assertNotIn(b"lab ready", proc.stdout)
                self.assertIn(message, proc.stderr.decode())

    def test_address_in_use(self):
        first = LabProcess()
        self.addCleanup(first.cleanup)
        second = LabProcess(prefix=first.prefix, start=False)
        self.addCleanup(second.cleanup)
        with self.assertRaises(RuntimeError) as caught:
            second.start()
        self.assertIn("cannot listen on %s" % first.platform.address, str(caught.exception))

    def test_state_survives_a_restart(self):
        lab = LabProcess()
        self.addCleanup(lab.cleanup)
        first = int(split_reply(get(lab.platform, STAFF))[2])
        lab.stop()
        lab.start()
        second = int(split_reply(get(lab.platform, STAFF))[2])
        self.assertGreater(second, first)
        # the request record starts afresh with each run
        self.assertEqual([r["path"] for r in lab.records()], ["/getseq.php"])

    @unittest.skipUnless(os.geteuid() == 0, "ports 80 and 8000 need root")
    def test_default_addresses(self):
        lab = LabProcess(prefix="127.0")
        self.addCleanup(lab.cleanup)
        listeners = lab.layout.all()
        self.assertEqual(lab.platform.address, "127.0.80.1:80")
        for listener in listeners:
            with self.subTest(listener=listener.address):
                with socket.create_connection((listener.host, listener.port), timeout=2):
                    pass
        self.assertEqual(split_reply(get(lab.platform, "/getip.php"))[0], 200)


if __name__ == "__main__":
    unittest.main()
