"""Where veltrane-cli takes its servers from: --config FILE (before the
command), veltrane.ini beside the executable, or the compiled-in production
set; a file that cannot be used whole stops it with one message and exit
code 2 before anything is sent."""
import os
import shutil
import tempfile
import unittest

from clilab import CLI, LAB_INI, Lab, run_cli, wine_path


def lab_text():
    with open(LAB_INI, "rb") as f:
        return f.read().decode("ascii")


def changed(old, new):
    text = lab_text()
    assert old in text, old
    return text.replace(old, new, 1)


class Config(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.mkdtemp(prefix="veltrane-cli-config-")
        # A copy of the program in a folder of its own: nothing beside it
        # until a test puts a veltrane.ini there.
        cls.exe = os.path.join(cls.dir, "app", "veltrane-cli.exe")
        os.makedirs(os.path.dirname(cls.exe))
        shutil.copy(CLI, cls.exe)
        cls.lab = Lab()

    @classmethod
    def tearDownClass(cls):
        cls.lab.stop()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def setUp(self):
        self.seen = len(self.lab.requests())
        beside = os.path.join(self.dir, "app", "veltrane.ini")
        if os.path.exists(beside):
            os.remove(beside)

    def new_requests(self):
        return self.lab.requests()[self.seen:]

    def write(self, name, text):
        path = os.path.join(self.dir, name)
        with open(path, "wb") as f:
            f.write(text.encode("ascii"))
        return path

    def assert_one_message(self, code, lines, err, message):
        self.assertEqual(code, 2, err)
        self.assertEqual(lines, [])
        self.assertEqual(err.splitlines(), ["veltrane-cli: " + message])
        self.assertEqual(self.new_requests(), [], "nothing may be sent")

    def test_malformed_files_stop_with_one_message(self):
        cases = [
            ("unknown section", lab_text() + "[proxy]\r\nhost=1.2.3.4\r\n", "[proxy]: unknown section"),
            ("unknown key", changed("platform=127.0.80.1", "platform=127.0.80.1\r\nport=80"),
             "[servers] port: unknown key"),
            ("missing entry", changed("16=http://127.0.81.16/", "; 16=http://127.0.81.16/"),
             "[internet_download] 16: missing"),
            ("malformed entry", changed("2=http://127.0.80.12:8000/data.iso", "2=http://127.0.80.12:8000"),
             "[metro_download] 2: no path after the host (\"/\" at least)"),
            ("host not plain", changed("platform=127.0.80.1", "platform=127.0.80.1/x"),
             "[servers] platform: not a plain host name or dotted IPv4 address: \"127.0.80.1/x\""),
            ("over-long value", changed("1=http://127.0.82.1/", "1=http://127.0.82.1/" + "a" * 600),
             "[app_sites] 1: longer than 512 characters"),
        ]
        for name, text, message in cases:
            with self.subTest(name):
                path = self.write("bad.ini", text)
                code, lines, err = run_cli("version", config=path, timeout=60)
                self.assert_one_message(code, lines, err, wine_path(path) + ": " + message)

    def test_unreadable_file_named_by_config(self):
        path = os.path.join(self.dir, "no-such.ini")
        code, lines, err = run_cli("version", config=path, timeout=60)
        self.assertEqual(code, 2, err)
        self.assertEqual(len(err.splitlines()), 1, err)
        self.assertTrue(err.startswith("veltrane-cli: %s: cannot be read: " % wine_path(path)), err)
        self.assertEqual(self.new_requests(), [])

    def test_without_a_file_no_lab_address_is_contacted(self):
        # The production set: its platform does not resolve here, so the
        # version check finds nothing; the lab on loopback hears nothing.
        code, lines, err = run_cli("version", config=None, exe=self.exe, timeout=90)
        self.assertIn("servers: platform platform.veltrane.example, update key none, compiled-in", err.splitlines())
        self.assertEqual(code, 5, err)
        self.assertEqual(self.new_requests(), [], "a program without an ini contacted the lab")

    def test_file_beside_the_executable(self):
        shutil.copy(LAB_INI, os.path.join(self.dir, "app", "veltrane.ini"))
        code, lines, err = run_cli("version", config=None, exe=self.exe, timeout=60)
        self.assertEqual(code, 0, err)
        self.assertEqual(lines[-1]["document_version"], "2.21.2.718")
        self.assertIn("servers: platform 127.0.80.1, update key none, from %s" %
                      wine_path(os.path.join(self.dir, "app", "veltrane.ini")), err.splitlines())
        self.assertEqual([r["path"] for r in self.new_requests()], ["/version.xml"])
        # A broken one beside it stops the program like a named one.
        self.seen = len(self.lab.requests())
        beside = self.write(os.path.join("app", "veltrane.ini"), changed("platform=127.0.80.1", "platform="))
        code, lines, err = run_cli("version", config=None, exe=self.exe, timeout=60)
        self.assert_one_message(code, lines, err, wine_path(beside) + ": [servers] platform: empty")

    def test_config_goes_before_the_command(self):
        code, lines, err = run_cli("version", timeout=60)  # --config LAB_INI first
        self.assertEqual(code, 0, err)
        self.assertIn("servers: platform 127.0.80.1, update key none, from " + wine_path(LAB_INI), err.splitlines())
        for args in (["version", "--config", wine_path(LAB_INI)], ["--config"], ["--config", wine_path(LAB_INI)]):
            with self.subTest(args):
                code, lines, err = run_cli(*args, config=None, timeout=60)
                self.assertEqual(code, 2, err)
                self.assertEqual(lines, [])
                self.assertIn("usage: veltrane-cli [--config FILE] [--log FILE] COMMAND", err)


if __name__ == "__main__":
    unittest.main()
