"""Platform endpoints of a lab in the default scenario, spoken to with the
client's exact request bytes."""

import sqlite3
import struct
import unittest
import xml.etree.ElementTree as ET
import zlib

from labproc import LabProcess, exchange, get, post_request, raw_of, split_reply
from test_reportdoc import read_docx
from test_units import client_body


class PlatformTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lab = LabProcess()
        cls.p = cls.lab.platform

    @classmethod
    def tearDownClass(cls):
        cls.lab.cleanup()

    def get(self, path, **kw):
        return split_reply(get(self.p, path, **kw))

    def test_getip_is_the_callers_address(self):
        for source in ("127.0.0.1", "127.0.0.77"):
            with self.subTest(source=source):
                status, headers, body = self.get("/getip.php", source=(source, 0))
                self.assertEqual((status, body), (200, source.encode()))

    def test_version_document(self):
        status, headers, body = self.get("/version.xml")
        self.assertEqual(status, 200)
        first = ET.fromstring(body)
        self.assertEqual(first.get("ver"), "2.21.2.718")
        self.assertEqual(first.get("autoupdate"), "1")
        url = first.get("url")
        prefix = "http://%s/download/" % self.p.host
        self.assertTrue(url.startswith(prefix), url)
        status, headers, exe = self.get("/" + url[len("http://%s/" % self.p.host):])
        self.assertEqual(status, 200)
        self.assertEqual(exe[:2], b"MZ")
        self.assertEqual(int(headers["content-length"]), len(exe))

    def test_test_numbers(self):
        cases = [
            (b"v=1.0.10&User=Orvalen&Pass=580317", None),
            (b"v=1.0.10&User=custdemo&Pass=246810", None),
            (b"v=1.0.10&User=" + "测试员".encode("gbk") + b"&Pass=8888", None),
            (b"v=1.0.10&User=Orvalen&Pass=580317&x", None),     # trailing piece ignored
            (b"v=1.0.10&User=Orvalen&Pass=5803", b"ACCESS_DENY"),
            (b"v=1.0.10&User=Orvalen&Pass=58&0317", b"ACCESS_DENY"),  # "&" splits the password
            (b"v=1.0.10&User=orvalen&Pass=580317", b"ACCESS_DENY"),
            (b"v=1.0.10", b"ACCESS_DENY"),
            (b"v=1.0.10&User=Orvalen x&Pass=580317", b"ACCESS_DENY"),  # a blank stays in the name
            (b"v=1.0.9&User=Orvalen&Pass=580317", b"NEED_UPDATE"),
            (b"User=Orvalen&Pass=580317", b"NEED_UPDATE"),
            (b"v=1.1.0&User=Orvalen&Pass=580317", None),
        ]
        granted = []
        for query, expected in cases:
            with self.subTest(query=query):
                status, _, body = self.get(b"/getseq.php?" + query)
                self.assertEqual(status, 200)
                if expected is None:
                    self.assertTrue(body.isdigit(), body)
                    granted.append(body.decode())
                else:
                    self.assertEqual(body, expected)
        self.assertEqual(len(set(granted)), len(granted), "test numbers must be fresh")
        with sqlite3.connect(self.lab.db_path) as db:
            issued = {seq: user for seq, user in db.execute("SELECT seq, user FROM test_numbers")}
        self.assertEqual(issued[granted[2]], "测试员".encode("gbk"))
        self.assertTrue(set(granted) <= set(issued))

    def test_testing_png_is_a_real_png(self):
        status, headers, png = self.get("/images/testing.png")
        self.assertEqual((status, headers["content-type"]), (200, "image/png"))
        self.assertTrue(20_000 <= len(png) <= 100_000, len(png))
        self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n")
        pos, chunks = 8, {}
        while pos < len(png):
            (n,) = struct.unpack(">I", png[pos:pos + 4])
            kind, data = png[pos + 4:pos + 8], png[pos + 8:pos + 8 + n]
            (crc,) = struct.unpack(">I", png[pos + 8 + n:pos + 12 + n])
            self.assertEqual(crc, zlib.crc32(kind + data), kind)
            chunks.setdefault(kind, b"")
            chunks[kind] += data
            pos += 12 + n
        width, height, depth, colour = struct.unpack(">IIBB", chunks[b"IHDR"][:10])
        self.assertEqual((depth, colour), (8, 2))
        self.assertEqual(len(zlib.decompress(chunks[b"IDAT"])), height * (1 + 3 * width))
        self.assertIn(b"IEND", chunks)

    def test_report_round_trip(self):
        body = client_body(seq="424242", userinfo="王五 & 测试=1")
        replies = {}
        for path in (b"/sp/index.php?c=savereport&a=save", b"/report/query.php"):
            request = post_request(self.p.host, path, body)
            reply = exchange(self.p, request)   # a reset would raise here
            status, _, _ = split_reply(reply)
            replies[path] = status
            rec = self.lab.wait_record(lambda r: r["target"] == path.decode()
                                       and raw_of(r) == request)
            self.assertEqual((rec["declared_length"], rec["body_received"], rec["extra_bytes"]),
                             (len(body) - 2, len(body), 2))
        self.assertEqual(set(replies.values()), {200})
        with sqlite3.connect(self.lab.db_path) as db:
            rows = db.execute("SELECT endpoint, raw_body, declared_length FROM reports WHERE seq = ?"
                              " ORDER BY id", ("424242",)).fetchall()
        self.assertEqual(rows, [("save", body, len(body) - 2), ("query", body, len(body) - 2)])

        status, headers, doc = self.get("/report/424242.docx")
        self.assertEqual(status, 200)
        self.assertIn("wordprocessingml", headers["content-type"])
        paragraphs, tables = read_docx(doc)
        self.assertIn("测试号：424242", paragraphs)
        self.assertIn(["用户信息", "王五 "], tables[0])
        self.assertIn("多余字段： 测试=1", paragraphs)

    def test_refusals_and_unknowns(self):
        cases = [
            (b"GET", b"/report/999999999.docx", 404),
            (b"GET", b"/nonesuch.php", 404),
            (b"GET", b"/getseq.php/", 404),
            (b"POST", b"/sp/index.php?c=other&a=save", 404),
            (b"POST", b"/getip.php", 405),
            (b"GET", b"/recv_upload.php", 405),
        ]
        for method, path, expected in cases:
            with self.subTest(path=path):
                if method == b"GET":
                    reply = get(self.p, path)
                else:
                    reply = exchange(self.p, post_request(self.p.host, path, b"seq=1\r\n\r\n"))
                status, headers, body = split_reply(reply)
                self.assertEqual(status, expected)
                self.assertTrue(body)
                self.assertEqual(int(headers["content-length"]), len(body))

    def test_record_of_a_get(self):
        request = b"GET /getseq.php?v=1.0.10&User=\xb2\xe2&Pass=1 HTTP/1.1\r\nHost: x\r\nX-A:  b \r\n\r\n"
        exchange(self.p, request)
        rec = self.lab.wait_record(lambda r: raw_of(r) == request)
        self.assertEqual(rec["listen"], self.p.address)
        self.assertEqual((rec["role"], rec["method"], rec["path"]), ("platform", "GET", "/getseq.php"))
        self.assertEqual(rec["query"].encode("latin-1"), b"v=1.0.10&User=\xb2\xe2&Pass=1")
        self.assertEqual(rec["headers"], [["Host", "x"], ["X-A", "b"]])
        self.assertEqual((rec["declared_length"], rec["body_received"], rec["status"]), (None, 0, 200))
        self.assertEqual(rec["header_length"], len(request))


if __name__ == "__main__":
    unittest.main()
