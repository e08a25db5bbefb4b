"""Test servers, download mirrors and application sites."""

import socket
import time
import unittest

from labproc import CLIENT_AGENT, LabProcess, exchange, get, raw_of, split_reply
from veltrane_lab.addresses import MIRRORS, SITE_PATHS, TEST_SERVERS
from veltrane_lab.handlers import DATA_LENGTH

UPLOAD_LENGTH = 2097152000


def stream_head(listener, path, want=1 << 20):
    """GET a large download, read its header and `want` body bytes, hang up."""
    with socket.create_connection((listener.host, listener.port), timeout=5) as s:
        s.sendall(b"GET " + path + b" HTTP/1.1\r\nHost: " + listener.host.encode()
                  + b"\r\nUser-Agent: " + CLIENT_AGENT + b"\r\nConnection: close\r\n\r\n")
        data = b""
        while b"\r\n\r\n" not in data or len(data.partition(b"\r\n\r\n")[2]) < want:
            chunk = s.recv(1 << 20)
            if not chunk:
                break
            data += chunk
    return split_reply(data)


def upload_request(listener):
    return (b"POST /recv_upload.php HTTP/1.1\r\nHost: " + listener.host.encode()
            + b"\r\nUser-Agent: " + CLIENT_AGENT + b"\r\nConnection: keep-alive\r\n"
            b"Cache-Control: no-cache\r\nContent-Length: 2097152000\r\n\r\n")


class DataPlaneTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lab = LabProcess()
        cls.layout = cls.lab.layout

    @classmethod
    def tearDownClass(cls):
        cls.lab.cleanup()

    def test_data_iso_everywhere(self):
        servers = [self.layout.platform] + [self.layout.test_server(n) for n in range(1, TEST_SERVERS + 1)]
        for listener in servers:
            with self.subTest(listener=listener.address):
                status, headers, body = stream_head(listener, b"/data.iso")
                self.assertEqual(status, 200)
                self.assertEqual(int(headers["content-length"]), DATA_LENGTH)
                self.assertEqual(headers["connection"], "close")
                self.assertGreaterEqual(len(body), 1 << 20)

    def test_mirrors_stream_any_path(self):
        for n in range(1, MIRRORS + 1):
            with self.subTest(mirror=n):
                path = b"/pub/%d/image-%d.iso" % (n, n)
                status, headers, body = stream_head(self.layout.mirror(n), path, want=256 << 10)
                self.assertEqual((status, int(headers["content-length"])), (200, DATA_LENGTH))
                rec = self.lab.wait_record(lambda r: r["path"] == path.decode())
                self.assertEqual(rec["listen"], self.layout.mirror(n).address)

    def test_upload_is_read_until_the_client_closes(self):
        for listener in (self.layout.test_server(8), self.layout.platform, self.layout.test_server(3)):
            with self.subTest(listener=listener.address):
                sent = 0
                block = bytes(102400)
                with socket.create_connection((listener.host, listener.port), timeout=5) as s:
                    header = upload_request(listener)
                    s.sendall(header)
                    # far more than any socket buffer: only a reading server lets this finish
                    for _ in range(200):
                        s.sendall(block)
                        sent += len(block)
                    s.settimeout(0.2)
                    with self.assertRaises(socket.timeout):
                        s.recv(1)   # nothing is answered while the body is incomplete
                rec = self.lab.wait_record(lambda r: r["listen"] == listener.address
                                           and r["path"] == "/recv_upload.php")
                self.assertEqual(rec["declared_length"], UPLOAD_LENGTH)
                self.assertEqual(rec["body_received"], sent)
                self.assertEqual(raw_of(rec)[:len(header)], header)
                self.assertEqual(rec["bytes_received"], len(header) + sent)

    def test_sites(self):
        sizes = []
        for n, path in SITE_PATHS.items():
            with self.subTest(site=n):
                status, headers, body = split_reply(get(self.layout.site(n), path))
                self.assertEqual(status, 200)
                self.assertTrue(headers["content-type"].startswith("text/html"))
                self.assertTrue(100_000 <= len(body) <= 300_000, len(body))
                self.assertTrue(body.startswith(b"<!DOCTYPE html>") and body.endswith(b"</html>\n"))
                sizes.append(len(body))
        self.assertEqual(len(set(sizes)), len(sizes), "sites should differ")
        status, headers, _ = split_reply(get(self.layout.site(5), "/"))
        self.assertEqual((status, headers["location"]), (302, "/webmail/"))
        self.assertEqual(split_reply(get(self.layout.site(1), "/webmail/"))[0], 404)

    def test_head_sends_the_header_only(self):
        site = self.layout.site(2)
        _, _, page = split_reply(get(site, "/"))
        status, headers, body = split_reply(exchange(site, b"HEAD / HTTP/1.1\r\nHost: x\r\n\r\n"))
        self.assertEqual((status, body), (200, b""))
        self.assertEqual(int(headers["content-length"]), len(page))


if __name__ == "__main__":
    unittest.main()


class PacedStreamTest(unittest.TestCase):
    """--stream-pace: each test-server stream arrives at the set rate."""

    def test_stream_arrives_at_the_paced_rate(self):
        lab = LabProcess("--stream-pace", "16")  # 2 MiB/s per stream
        try:
            server = lab.layout.test_server(1)
            with socket.create_connection((server.host, server.port), timeout=5) as s:
                s.sendall(b"GET /data.iso HTTP/1.1\r\nHost: " + server.host.encode()
                          + b"\r\nConnection: close\r\n\r\n")
                got, start = 0, time.monotonic()
                while time.monotonic() - start < 1.5:
                    chunk = s.recv(1 << 16)
                    if not chunk:
                        break
                    got += len(chunk)
                elapsed = time.monotonic() - start
            rate = got / elapsed
            # The first moment's burst (the initial window) rides on top.
            self.assertGreater(rate, 1.5 * 1048576)
            self.assertLess(rate, 2.6 * 1048576)
        finally:
            lab.cleanup()
