"""Form parsing, fault rules, version comparison, address layout."""

import unittest

import labproc  # noqa: F401  (puts the lab on sys.path)
from veltrane_lab.addresses import Layout, NotLoopback, require_loopback
from veltrane_lab.config import BYTES_PER_MBIT, LabConfig, version_older
from veltrane_lab.faults import Fault, find_fault, parse_rule
from veltrane_lab.handlers import parse_query
from veltrane_lab.reportform import FORM_KEYS, parse_report_form

FORMAT = ("seq=%s&mod=%d&testlevel=%d&speed_rtt=%d&speed_speed=%.2f&speed_upload=%.2f"
          "&app_t1=%.2f&app_t2=%.2f&app_t3=%.2f&hoopsWAN=%d&hoopsLAN=%d&delayWAN=%d"
          "&delayLAN=%d&lancomment=%s&traceHoops=%s&traceDelay=%s&userinfo=%s&bandwidth=%s\r\n\r\n")


def client_body(seq="100001", userinfo="张三", bandwidth="100", hops="192.168.1.1|请求超时|",
                delays="1|-1|", lancomment="", numbers=(1, 12, 3, 95.2, 40.11, 12.0, 9.1, 90.44, 3, 2, 22, 4)):
    """A form body exactly as the client formats it, in GBK."""
    mod, level, rtt, *rest = numbers
    text = FORMAT % ((seq, mod, level, rtt) + tuple(rest) + (lancomment, hops, delays, userinfo, bandwidth))
    return text.encode("gbk")


def declared_part(body):
    return body[:len(body) - 2]


class ReportFormTest(unittest.TestCase):
    def test_client_body_yields_every_key(self):
        form = parse_report_form(declared_part(client_body()))
        self.assertEqual([k.decode() for k, _ in form.pairs], list(FORM_KEYS))
        self.assertEqual(form.missing, [])
        self.assertEqual(form.strays, [])
        self.assertEqual(form.text("speed_speed"), "95.20")
        self.assertEqual(form.text("userinfo"), "张三")
        # the declared length stops after the first CRLF: the raw value keeps it
        self.assertEqual(form.fields["bandwidth"], b"100\r\n")
        self.assertEqual(form.text("bandwidth"), "100")

    def test_unescaped_text_splits_like_a_naive_server(self):
        cases = [
            # (userinfo typed, userinfo as parsed, stray pieces)
            ("张三 & 公司", "张三 ", [(" 公司", "")]),
            ("a=b", "a=b", []),
            ("x&bandwidth=5", "x", []),               # overrides the real bandwidth (last wins)
            ("&&", "", []),
            ("50%+off", "50%+off", []),                # nothing is percent- or plus-decoded
        ]
        for typed, parsed, strays in cases:
            with self.subTest(typed=typed):
                form = parse_report_form(declared_part(client_body(userinfo=typed)))
                self.assertEqual(form.text("userinfo"), parsed)
                self.assertEqual([(k.decode("gbk"), v.decode("gbk")) for k, v in form.strays], strays)
        form = parse_report_form(declared_part(client_body(userinfo="x&bandwidth=5")))
        self.assertEqual(form.text("bandwidth"), "100")   # the client's own field comes last

    def test_hop_lists(self):
        cases = [
            ("192.168.1.1|10.0.0.1|请求超时|", "1|3|-1|",
             [("192.168.1.1", "1"), ("10.0.0.1", "3"), ("请求超时", "-1")]),
            ("", "", []),
            ("1.1.1.1|", "", [("1.1.1.1", "")]),           # uneven lists are padded
            ("亅|2.2.2.2|", "5|6|", [("亅", "5"), ("2.2.2.2", "6")]),  # 0x7C as a GBK trail byte
        ]
        for hops, delays, expected in cases:
            with self.subTest(hops=hops):
                form = parse_report_form(declared_part(client_body(hops=hops, delays=delays)))
                self.assertEqual(form.hops(), expected)

    def test_truncated_body_reports_missing_keys(self):
        body = declared_part(client_body())
        form = parse_report_form(body[:body.index(b"&app_t1")])
        self.assertEqual(form.missing, list(FORM_KEYS[FORM_KEYS.index("app_t1"):]))
        self.assertEqual(parse_report_form(b"").pairs, [])


class QueryTest(unittest.TestCase):
    def test_split(self):
        cases = [
            (b"v=1.0.10&User=Orvalen&Pass=580317", {b"v": b"1.0.10", b"User": b"Orvalen", b"Pass": b"580317"}),
            (b"v=1&Pass=a&b", {b"v": b"1", b"Pass": b"a", b"b": b""}),
            (b"User=x&User=y", {b"User": b"y"}),
            (b"User=a b%20", {b"User": b"a b%20"}),
            (b"", {}),
        ]
        for raw, expected in cases:
            with self.subTest(raw=raw):
                self.assertEqual(parse_query(raw), expected)


class FaultRuleTest(unittest.TestCase):
    def test_matching(self):
        rules = [parse_rule(s) for s in (
            "127.0.80.11:8000/data.iso=reset", "/data.iso=close-mid-body",
            "/download/*=never-answer", "127.0.81.3:80=garbage", "/version.xml=delay:250")]
        cases = [
            ("127.0.80.11:8000", "/data.iso", Fault("reset")),
            ("127.0.80.12:8000", "/data.iso", Fault("close-mid-body")),
            ("127.0.80.1:80", "/download/veltrane_2.22.exe", Fault("never-answer")),
            ("127.0.80.1:80", "/download", None),
            ("127.0.81.3:80", "/any/file.iso", Fault("garbage")),
            ("127.0.81.4:80", "/any/file.iso", None),
            ("127.0.80.1:80", "/version.xml", Fault("delay", 250)),
        ]
        for listen, path, expected in cases:
            with self.subTest(listen=listen, path=path):
                self.assertEqual(find_fault(rules, listen, path), expected)
        self.assertEqual(find_fault([parse_rule("*=huge")], "127.0.82.1:80", "/"), Fault("huge"))

    def test_bad_rules(self):
        for text in ("/x", "/x=explode", "=huge", "host/x=huge", "/x=delay:soon"):
            with self.subTest(text=text):
                self.assertRaises(ValueError, parse_rule, text)


class ConfigTest(unittest.TestCase):
    def test_version_older(self):
        cases = [("1.0.9", "1.0.10", True), ("1.0.10", "1.0.10", False), ("1.0.11", "1.0.10", False),
                 ("1.0", "1.0.10", True), ("2", "1.0.10", False), ("", "1.0.10", True),
                 ("1.0.10b", "1.0.10", False), ("0.9.99", "1.0.10", True)]
        for v, minimum, older in cases:
            with self.subTest(v=v):
                self.assertEqual(version_older(v, minimum), older)

    def test_scenarios(self):
        self.assertEqual(LabConfig().version_to_publish(), "2.21.2.718")
        self.assertEqual(LabConfig(scenarios=("update",)).version_to_publish(), "2.22.0.1")
        sites = LabConfig(scenarios=("slow-sites",), site_rates={2: 0}).sites()
        self.assertEqual(sites[1].rate, 40 * BYTES_PER_MBIT)
        self.assertIsNone(sites[2].rate)          # an explicit 0 unpaces
        self.assertEqual(sites[3].size, 100_000)
        self.assertTrue(all(s.rate is None for s in LabConfig().sites().values()))
        rules = LabConfig(scenarios=("stall",), fault_args=["/version.xml=garbage"]).fault_rules()
        self.assertEqual(find_fault(rules, "h:80", "/version.xml"), Fault("garbage"))
        self.assertEqual(find_fault(rules, "h:80", "/download/a.exe"), Fault("never-answer"))
        self.assertRaises(ValueError, LabConfig(scenarios=("nonesuch",)).validate)


class AddressTest(unittest.TestCase):
    def test_default_layout(self):
        layout = Layout()
        cases = [
            (layout.platform, "127.0.80.1:80"),
            (layout.test_server(1), "127.0.80.11:8000"),
            (layout.test_server(7), "127.0.80.17:8000"),
            (layout.test_server(8), "127.0.80.18:80"),
            (layout.mirror(1), "127.0.81.1:80"),
            (layout.mirror(16), "127.0.81.16:80"),
            (layout.site(5), "127.0.82.5:80"),
        ]
        for listener, address in cases:
            self.assertEqual(listener.address, address)
        addresses = [l.address for l in layout.all()]
        self.assertEqual(len(addresses), 31)
        self.assertEqual(len(set(addresses)), 31)
        self.assertEqual(Layout("127.5", 20000).test_server(8).address, "127.5.80.18:20080")
        self.assertEqual(Layout("127.0", 100).platform_url("/x"), "http://127.0.80.1:180/x")

    def test_only_loopback(self):
        for prefix in ("10.0", "128.0", "127", "127.300", "0.0", "127.0.0"):
            with self.subTest(prefix=prefix):
                self.assertRaises(NotLoopback, Layout, prefix)
        for host in ("192.168.1.1", "::1", "localhost", "0.0.0.0"):
            with self.subTest(host=host):
                self.assertRaises(NotLoopback, require_loopback, host)
        self.assertEqual(require_loopback("127.255.0.9"), "127.255.0.9")
        self.assertRaises(NotLoopback, Layout, "198.19")

    def test_benchmark_net_only_with_its_option(self):
        self.assertEqual(Layout("198.19", benchmark_net=True).mirror(3).address, "198.19.81.3:80")
        self.assertEqual(Layout("127.0", benchmark_net=True).platform.address, "127.0.80.1:80")
        for prefix in ("198.20", "198.17", "10.0", "192.168"):
            with self.subTest(prefix=prefix):
                self.assertRaises(NotLoopback, Layout, prefix, 0, True)
        self.assertRaises(NotLoopback, require_loopback, "198.18.0.1")
        self.assertEqual(require_loopback("198.18.0.1", True), "198.18.0.1")


if __name__ == "__main__":
    unittest.main()
