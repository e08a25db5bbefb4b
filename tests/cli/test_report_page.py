"""The local result record of a lab certification (veltrane-cli certify
--report-dir) and its report page rendered in a real browser: headless
Chromium (Debian's chromium) makes a PNG and an A4 PDF, kept as artefacts
in build/win64/artefacts/report/, and a measuring copy of the page reports
its chart points and anything wider than A4. Chromium runs with every
request of its own sent to a dead loopback proxy, and its network log
shows whether the page asked for anything.

The printed PDF is read back with poppler (pdftotext -bbox): A4 pages, the
verdict and the test number in the text, and no word outside the printable
width; its first page becomes a PNG artefact too.

Also `veltrane-cli history` on the same folder, and a folder that cannot
be written, which must not stop the report reaching the platform.
"""
import html.parser
import json
import os
import re
import shutil
import subprocess
import tempfile
import unittest

from clilab import ROOT, Lab, run_cli, wine_path

ART = os.path.join(ROOT, "build", "win64", "artefacts", "report")
ARGS = ["--user", "Orvalen", "--pass", "580317", "--mode", "2", "--level", "12", "--bandwidth", "100"]
# Outside text the page must show as text, never as markup.
HOSTILE = "某公司 <script>alert(1)</script> & <img src=http://127.0.0.1:9/x.png>"
A4_WIDTH_PX = 794  # 210 mm at 96 px per inch
CHROMIUM = shutil.which("chromium")


def chromium(*args, profile, timeout=120):
    """Headless Chromium that cannot reach anything: its own background
    requests (time, updates, accounts) go to a proxy on a loopback port
    where nothing listens, and no name resolves."""
    cmd = [CHROMIUM, "--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
           "--no-default-browser-check", "--disable-background-networking", "--disable-component-update",
           "--disable-sync", "--disable-extensions", "--disable-default-apps", "--proxy-server=http://127.0.0.1:9",
           "--host-resolver-rules=MAP * ~NOTFOUND", "--user-data-dir=" + profile, *args]
    return subprocess.run(cmd, capture_output=True, timeout=timeout, stdin=subprocess.DEVNULL)


def page_requests(netlog_path):
    """URLs the page itself asked for, from Chromium's network log: requests
    started on behalf of a document (the browser's own have no origin)."""
    with open(netlog_path) as f:
        log = json.load(f)
    names = {v: k for k, v in log["constants"]["logEventTypes"].items()}
    urls = []
    for event in log["events"]:
        params = event.get("params", {})
        if names.get(event["type"]) == "URL_REQUEST_START_JOB" and "url" in params:
            if params.get("initiator") != "not an origin" or "file://" in params.get("network_isolation_key", ""):
                urls.append(params["url"])
    return urls


class FetchingTags(html.parser.HTMLParser):
    """Every tag attribute that would make a browser fetch something."""

    def __init__(self):
        super().__init__()
        self.found = []

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if name in ("src", "href", "xlink:href", "srcset", "poster", "data", "action", "background"):
                self.found.append("%s %s=%s" % (tag, name, value))
            if name == "style" and "url(" in (value or ""):
                self.found.append("%s style=%s" % (tag, value))


# Injected into a measuring copy of the page (the page itself runs no
# script, and its policy forbids one): counts the charts' points and lists
# elements that reach past the A4 width.
MEASURE = """<script>
const limit = document.documentElement.clientWidth;
const over = [...document.querySelectorAll('body *')].filter(e => e.getBoundingClientRect().right > limit + 0.5)
  .map(e => e.tagName + '.' + (e.getAttribute('class') || '') + ' ' + Math.round(e.getBoundingClientRect().right));
document.body.setAttribute('data-measured', JSON.stringify({
  down: document.querySelectorAll('circle.pt-down').length, up: document.querySelectorAll('circle.pt-up').length,
  hops: document.querySelectorAll('rect.hop').length, apps: document.querySelectorAll('rect.app').length,
  svgs: document.querySelectorAll('svg.chart').length, width: limit,
  scroll: document.documentElement.scrollWidth, height: document.documentElement.scrollHeight, over: over}));
</script>"""


@unittest.skipUnless(CHROMIUM, "chromium is not installed (tests/apt-packages)")
class LabReportPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="vt-report-page-")
        cls.dir = os.path.join(cls.tmp, "reports")
        lab = Lab()
        try:
            cls.code, cls.lines, cls.err = run_cli("certify", *ARGS, "--userinfo", HOSTILE, "--report-dir",
                                                   wine_path(cls.dir), timeout=900)
            cls.stored = lab.reports()
        finally:
            lab.stop()
        cls.final = cls.lines[-1] if cls.lines else {}
        names = sorted(os.listdir(cls.dir)) if os.path.isdir(cls.dir) else []
        cls.names = names
        cls.record = cls.page = None
        jsons = [n for n in names if n.endswith(".json")]
        if len(jsons) == 1:
            with open(os.path.join(cls.dir, jsons[0]), "rb") as f:
                cls.raw = f.read()
            cls.record = json.loads(cls.raw.decode("utf-8"))
            cls.page_path = os.path.join(cls.dir, jsons[0][:-5] + ".html")
            with open(cls.page_path, encoding="utf-8") as f:
                cls.page = f.read()
        os.makedirs(ART, exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    _measured = None

    def measure(self):
        """The measuring copy's findings, rendered once at the A4 width."""
        if LabReportPage._measured is None:
            copy = os.path.join(self.tmp, "measure.html")
            measuring = re.sub(r'<meta http-equiv="Content-Security-Policy"[^>]*>', "", self.page)
            with open(copy, "w", encoding="utf-8") as f:
                f.write(measuring.replace("</body>", MEASURE + "</body>"))
            dom = chromium("--window-size=%d,1200" % A4_WIDTH_PX, "--hide-scrollbars", "--dump-dom",
                           "file://" + copy, profile=os.path.join(self.tmp, "chromium")).stdout.decode("utf-8")
            m = re.search(r"data-measured=\"([^\"]*)\"", dom)
            self.assertIsNotNone(m, dom[-2000:])
            LabReportPage._measured = json.loads(m.group(1).replace("&quot;", '"').replace("&amp;", "&"))
        return LabReportPage._measured

    def test_record_and_page_are_written_beside_each_other(self):
        self.assertEqual(self.code, 0, self.err)
        self.assertEqual(len(self.names), 2, self.names)
        self.assertRegex(self.names[0], r"^veltrane-\d{8}-\d{6}-%s\.html$" % self.final["seq"])
        self.assertEqual(self.names[1], self.names[0][:-5] + ".json")
        self.assertEqual(self.final["record"], wine_path(os.path.join(self.dir, self.names[1])))
        self.assertEqual(self.final["report_page"], wine_path(os.path.join(self.dir, self.names[0])))
        shutil.copyfile(self.page_path, os.path.join(ART, "local-report.html"))
        with open(os.path.join(ART, "local-report.json"), "wb") as f:
            f.write(self.raw)

    def test_record_holds_what_the_pages_showed_and_the_lab_stored(self):
        r = self.record
        self.assertIsNotNone(r)
        self.assertEqual((r["schema"], r["schema_version"]), ("veltrane-result", 1))
        self.assertEqual(r["verdict"], "certified")
        self.assertEqual(r["test_number"], self.final["seq"])
        self.assertEqual(r["line"]["user_info"], HOSTILE)  # UTF-8 in the file, GBK on the wire
        # The background prober's figures at the end of the run, as printed.
        self.assertEqual(r["line_quality"]["probes"], self.final["line_quality"]["probes"])
        self.assertEqual(r["line_quality"]["lost"], 0)  # loopback
        # The form as the console printed it and as the lab stored it.
        stored = {k: v.rstrip("\r\n") for k, v in json.loads(self.stored[0][1])}
        form = r["report"]["form"]
        for key in ("seq", "mod", "testlevel", "speed_rtt", "speed_speed", "speed_upload", "app_t1", "app_t2",
                    "app_t3", "hoopsWAN", "hoopsLAN", "delayWAN", "delayLAN", "lancomment", "traceHoops",
                    "traceDelay", "bandwidth"):
            value = form[key]
            text = "%.2f" % value if isinstance(value, float) else str(value)
            self.assertEqual(text, stored[key], key)
            self.assertEqual(value, self.final[key], key)
        self.assertEqual(r["report"]["state"], "accepted")
        self.assertEqual(r["report"]["document"], self.final["document"])
        # The per-second figures behind the figures the report sent.
        bw = r["bandwidth"]
        self.assertEqual(len(bw["download_samples_mbps"]), 16)
        self.assertEqual(len(bw["upload_running_means_mbps"]), 15)
        self.assertEqual(bw["download_mbps"], form["speed_speed"])
        self.assertEqual(bw["upload_mbps"], form["speed_upload"])
        self.assertEqual(bw["ping_mean_ms"], form["speed_rtt"])
        self.assertEqual(len(bw["ping_replies_ms"]), 8)
        self.assertEqual([h["address"] for h in r["diagnosis"]["hops"]], form["traceHoops"].split("|")[:-1])
        self.assertGreaterEqual(len(r["route"]["hops"]), 1)
        self.assertEqual(r["applications"]["web"]["mbps"], form["app_t1"])
        self.assertEqual(len(r["applications"]["items"]), 7)

    def test_page_names_nothing_to_fetch_and_escapes_outside_text(self):
        self.assertIsNotNone(self.page)
        tags = FetchingTags()
        tags.feed(self.page)
        self.assertEqual(tags.found, [])
        self.assertNotIn("@import", self.page)
        self.assertNotIn("<script", self.page)
        self.assertIn("某公司 &lt;script&gt;alert(1)&lt;/script&gt; &amp; &lt;img src=http://127.0.0.1:9/x.png&gt;",
                      self.page)

    def test_rendered_in_chromium_to_png_and_a4_pdf(self):
        self.assertIsNotNone(self.page)
        profile = os.path.join(self.tmp, "chromium")
        png = os.path.join(ART, "local-report.png")
        pdf = os.path.join(ART, "local-report.pdf")
        netlog = os.path.join(self.tmp, "netlog.json")
        url = "file://" + self.page_path
        height = min(max(self.measure()["height"], 600), 8000)  # the whole page, within reason
        shot = chromium("--window-size=%d,%d" % (A4_WIDTH_PX, height), "--hide-scrollbars", "--screenshot=" + png,
                        "--log-net-log=" + netlog, url, profile=profile)
        self.assertTrue(os.path.getsize(png) > 20000, shot.stderr[-2000:])
        self.assertEqual(page_requests(netlog), [], "the page asked for something")
        printed = chromium("--no-pdf-header-footer", "--print-to-pdf=" + pdf, url, profile=profile)
        with open(pdf, "rb") as f:
            data = f.read()
        self.assertEqual(data[:5], b"%PDF-", printed.stderr[-2000:])
        boxes = re.findall(rb"/MediaBox\s*\[\s*0 0 ([\d.]+) ([\d.]+)\s*\]", data)
        self.assertTrue(boxes)
        for w, h in boxes:  # A4 is 595.3 x 841.9 points
            self.assertAlmostEqual(float(w), 595.3, delta=1.5)
            self.assertAlmostEqual(float(h), 841.9, delta=1.5)
        pages = len(re.findall(rb"/Type\s*/Page[^s]", data))
        self.assertTrue(1 <= pages <= 6, pages)
        if not shutil.which("pdftotext"):
            self.skipTest("poppler-utils is not installed (tests/apt-packages)")
        # Every word on the paper: inside the page less a margin, and the
        # headline's texts among them.
        layout = subprocess.run(["pdftotext", "-bbox", pdf, "-"], capture_output=True, timeout=60).stdout.decode()
        words = re.findall(r'<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>', layout)
        self.assertGreater(len(words), 100)
        page_width = float(boxes[0][0])
        for x0, x1, word in words:
            self.assertGreaterEqual(float(x0), 20, word)
            self.assertLessEqual(float(x1), page_width - 20, word)
        text = " ".join(w for _, _, w in words)
        for wanted in ("达标", self.final["seq"], "带宽测试", "路由质量", "应用体验", "内外网故障诊断"):
            self.assertIn(wanted, text)
        if shutil.which("pdftoppm"):
            subprocess.run(["pdftoppm", "-r", "80", "-png", "-f", "1", "-l", "1", "-singlefile", pdf,
                            os.path.join(ART, "local-report-a4-page1")], timeout=60, check=True)

    def test_measured_in_chromium_chart_points_and_a4_width(self):
        self.assertIsNotNone(self.page)
        measured = self.measure()
        bw = self.record["bandwidth"]
        self.assertEqual(measured["down"], len(bw["download_samples_mbps"]))
        self.assertEqual(measured["up"], len(bw["upload_running_means_mbps"]))
        self.assertEqual(measured["hops"], len(self.record["route"]["hops"]))
        self.assertEqual(measured["apps"], 3)
        self.assertEqual(measured["svgs"], 3)
        self.assertLessEqual(measured["width"], A4_WIDTH_PX)
        self.assertLessEqual(measured["scroll"], measured["width"])
        self.assertEqual(measured["over"], [])

    def test_history_lists_the_run(self):
        code, lines, err = run_cli("history", "--report-dir", wine_path(self.dir))
        self.assertEqual(code, 0, err)
        self.assertEqual(len(lines), 1, lines)
        self.assertEqual(lines[0]["test_number"], self.final["seq"])
        self.assertEqual(lines[0]["verdict"], "certified")
        self.assertEqual(lines[0]["download_mbps"], self.final["speed_speed"])
        self.assertEqual(lines[0]["record"], self.final["record"])
        self.assertIn(self.final["seq"], err)  # the table for people


class Detector(unittest.TestCase):
    @unittest.skipUnless(CHROMIUM, "chromium is not installed (tests/apt-packages)")
    def test_the_network_log_sees_a_page_that_fetches(self):
        """The check above would see a fetch: a page with one image has
        exactly that request in the log (sent to the dead proxy)."""
        tmp = tempfile.mkdtemp(prefix="vt-report-detector-")
        try:
            page = os.path.join(tmp, "fetches.html")
            with open(page, "w") as f:
                f.write('<!doctype html><p>x<img src="http://veltrane-detector.invalid/a.png">')
            netlog = os.path.join(tmp, "netlog.json")
            chromium("--dump-dom", "--log-net-log=" + netlog, "file://" + page, profile=os.path.join(tmp, "p"))
            self.assertEqual(page_requests(netlog), ["http://veltrane-detector.invalid/a.png"])
        finally:
            shutil.rmtree(tmp, ignore_errors=True)


class UnwritableFolder(unittest.TestCase):
    def test_the_report_still_reaches_the_platform(self):
        tmp = tempfile.mkdtemp(prefix="vt-report-blocked-")
        blocker = os.path.join(tmp, "file")
        open(blocker, "w").close()
        lab = Lab()
        try:
            code, lines, err = run_cli("certify", *ARGS, "--report-dir", wine_path(os.path.join(blocker, "reports")),
                                       timeout=900)
            stored = lab.reports()
        finally:
            lab.stop()
            shutil.rmtree(tmp, ignore_errors=True)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines[-1]["verdict"], "certified")
        self.assertEqual([r[0] for r in stored], ["save", "query"])
        self.assertIn("report_error", lines[-1])
        self.assertNotIn("record", lines[-1])
        self.assertIn("local record", err)
        self.assertIn("not saved", err)


if __name__ == "__main__":
    unittest.main()
