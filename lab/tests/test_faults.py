"""Per-endpoint faults, each as the client would meet it."""

import socket
import time
import unittest

from labproc import LabProcess, exchange, get, raw_of, split_reply
from veltrane_lab.config import SITE_SIZES
from veltrane_lab.httpconn import CLOSE_MID_BODY_LIMIT, HUGE_SIZE


class FaultTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        lab = cls.lab = LabProcess(start=False)
        site = lambda n: lab.layout.site(n).address  # noqa: E731
        lab.args += [
            "--fault", site(1) + "=close-after-header",
            "--fault", site(2) + "=close-mid-body",
            "--fault", site(3) + "=huge",
            "--fault", site(4) + "=404-with-body",
            "--fault", site(6) + "=delay:300",
            "--fault", "/getseq.php=split-header",
            "--fault", "/getip.php=header-then-body",
            "--fault", "/version.xml=garbage",
            "--fault", "/download/*=never-answer",
            "--fault", lab.layout.mirror(5).address + "=reset",
        ]
        lab.start()
        cls.p = lab.platform
        cls.page_length = SITE_SIZES   # what each site would normally send

    @classmethod
    def tearDownClass(cls):
        cls.lab.cleanup()

    def site(self, n):
        return self.lab.layout.site(n)

    def test_truncated_and_replaced_bodies(self):
        cases = [
            # (site, expected status, expected body length given the page length)
            (1, 200, lambda n: 0),
            (2, 200, lambda n: min(n // 2, CLOSE_MID_BODY_LIMIT)),
            (3, 200, lambda n: HUGE_SIZE),
            (6, 200, lambda n: n),
        ]
        for n, status, length in cases:
            with self.subTest(site=n):
                st, headers, body = split_reply(get(self.site(n), "/", timeout=10))
                self.assertEqual(st, status)
                self.assertEqual(len(body), length(self.page_length[n]))
                if n != 3:   # the header still announces the whole page
                    self.assertEqual(int(headers["content-length"]), self.page_length[n])

    def test_404_with_body(self):
        status, headers, body = split_reply(get(self.site(4), "/"))
        self.assertEqual(status, 404)
        self.assertIn(b"Not Found", body)
        self.assertEqual(int(headers["content-length"]), len(body))

    def test_delay(self):
        start = time.monotonic()
        get(self.site(6), "/")
        self.assertGreaterEqual(time.monotonic() - start, 0.3)

    def test_garbage(self):
        reply = get(self.p, "/version.xml")
        self.assertGreaterEqual(len(reply), 1024)
        self.assertNotIn(b"HTTP/", reply)

    def test_split_header(self):
        chunks = get(self.p, "/getseq.php?v=1.0.10&User=Orvalen&Pass=580317", chunks=True)
        self.assertGreaterEqual(len(chunks), 4)
        joined = b"".join(chunks)
        status, _, body = split_reply(joined)
        self.assertEqual(status, 200)
        self.assertTrue(body.isdigit())
        # the header's end separator straddles two reads
        ends = [i for i, c in enumerate(chunks) if c.endswith(b"\r\n\r")]
        self.assertEqual(len(ends), 1)
        self.assertTrue(chunks[ends[0] + 1].startswith(b"\n"))
        self.assertFalse(any(b"\r\n\r\n" in c for c in chunks))

    def test_header_then_body(self):
        chunks = get(self.p, "/getip.php", chunks=True, source=("127.0.0.9", 0))
        self.assertTrue(chunks[0].endswith(b"\r\n\r\n"))
        self.assertEqual(chunks[0].count(b"\r\n\r\n"), 1)
        self.assertEqual(b"".join(chunks[1:]), b"127.0.0.9")

    def test_never_answer_holds_the_connection(self):
        with socket.create_connection((self.p.host, self.p.port)) as s:
            s.sendall(b"GET /download/veltrane_2.22.exe HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
            s.settimeout(0.6)
            with self.assertRaises(socket.timeout):
                s.recv(1)
        rec = self.lab.wait_record(lambda r: r["path"] == "/download/veltrane_2.22.exe")
        self.assertEqual(rec["fault"], "never-answer")

    def test_reset(self):
        with self.assertRaises(ConnectionResetError):
            get(self.lab.layout.mirror(5), "/x.iso")
        rec = self.lab.wait_record(lambda r: r["listen"] == self.lab.layout.mirror(5).address)
        self.assertEqual((rec["fault"], rec["path"]), ("reset", "/x.iso"))

    def test_unfaulted_endpoints_still_answer(self):
        self.assertEqual(split_reply(get(self.site(5), "/webmail/"))[0], 200)
        self.assertEqual(split_reply(get(self.p, "/images/testing.png"))[0], 200)

    def test_malformed_requests(self):
        cases = [
            (b"HELLO\r\n\r\n", 400),
            (b"GET / HTTP/1.1 \r\n\r\n", 400),
            (b"GET x HTTP/1.1\r\n\r\n", 400),
            (b"GET /x HTTP/1.1\r\nno colon here\r\n\r\n", 400),
            (b"GET / HTTP/1.1\r\nX: " + b"a" * 70000 + b"\r\n\r\n", 431),
        ]
        for request, status in cases:
            with self.subTest(status=status):
                self.assertEqual(split_reply(exchange(self.p, request))[0], status)
        rec = self.lab.wait_record(lambda r: raw_of(r) == b"HELLO\r\n\r\n")
        self.assertFalse(rec["header_complete"])


if __name__ == "__main__":
    unittest.main()
