"""The lab process: every listener of the layout, one thread per connection.

Start-up binds and listens on every address first (refusing anything outside
127.0.0.0/8), then starts one accept thread over all listening sockets, and
only then prints "lab ready": from that line on every address accepts.
"""

import os
import selectors
import socket
import sys
import threading

from . import assets, sender, signing
from .addresses import Layout, require_loopback
from .faults import find_rule
from .handlers import route
from .httpconn import BadRequest, CannedReply, Conn, text_reply
from .record import RequestLog, make_entry
from .store import Store

LISTEN_BACKLOG = 128


class Lab:
    def __init__(self, config):
        config.validate()
        self.config = config
        self.layout = Layout(config.prefix, config.port_offset, config.benchmark_net)
        self.fault_rules = config.fault_rules()
        self.reply_rules = config.reply_rules()
        self.users = config.encoded_users()
        self.sites = config.sites()
        self.png = assets.make_png()
        self.pages = {n: assets.make_site_page(n, site.size, _site_title(n), webmail=n >= 4)
                      for n, site in self.sites.items()}
        self.update_file = _read(config.update_file) if config.update_file else assets.make_update_exe()
        os.makedirs(config.state_dir, exist_ok=True)
        # A key pair of this run signs the update; its public half is left in
        # the state folder for the client's server set (update-key.hex).
        self.update_signature = signing.sign_update(self.update_file, config.state_dir)
        if config.tamper_update and self.update_file:
            self.update_file = self.update_file[:-1] + bytes([self.update_file[-1] ^ 1])
        self.version_document = self._version_document()
        sender.set_stream_buffer(assets.make_stream_buffer())
        os.makedirs(config.state_dir, exist_ok=True)
        self.store = Store(os.path.join(config.state_dir, "lab.sqlite3"))
        self.log = RequestLog(os.path.join(config.state_dir, "requests.jsonl"), config.append_record)
        self._sockets = []
        self._selector = None
        self._stopping = threading.Event()

    def _version_document(self):
        cfg = self.config
        if cfg.version_xml_file:
            return _read(cfg.version_xml_file)
        ver = cfg.version_to_publish()
        url = cfg.update_url or self.layout.platform_url("/download/veltrane_%s.exe" % _short(ver))
        return assets.make_version_xml(ver, url)

    # -- listening -----------------------------------------------------------

    def bind_all(self):
        for listener in self.layout.all():
            require_loopback(listener.host, self.layout.benchmark_net)
            s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            try:
                s.bind((listener.host, listener.port))
            except OSError as e:
                s.close()
                self.close()
                raise OSError("cannot listen on %s: %s" % (listener.address, e.strerror)) from None
            s.listen(LISTEN_BACKLOG)
            s.setblocking(False)
            self._sockets.append((s, listener))

    def start(self):
        self._selector = selectors.DefaultSelector()
        for s, listener in self._sockets:
            self._selector.register(s, selectors.EVENT_READ, listener)
        threading.Thread(target=self._accept_loop, name="accept", daemon=True).start()

    def _accept_loop(self):
        while not self._stopping.is_set():
            try:
                events = self._selector.select(timeout=0.5)
            except (OSError, ValueError):
                return
            for key, _ in events:
                try:
                    sock, peer = key.fileobj.accept()
                except (BlockingIOError, OSError):
                    continue
                sock.setblocking(True)
                threading.Thread(target=self._serve, args=(sock, key.data, peer),
                                 daemon=True).start()

    def close(self):
        self._stopping.set()
        for s, _ in self._sockets:
            s.close()
        self._sockets = []

    def shutdown(self):
        self.close()
        self.log.close()
        self.store.close()

    # -- one connection --------------------------------------------------------

    def _serve(self, sock, listener, peer):
        conn = Conn(sock, listener, peer)
        try:
            self._exchange(conn)
        except Exception as e:  # a broken exchange must never take the lab down
            print("lab: %s %s: %r" % (listener.address, peer, e), file=sys.stderr, flush=True)
            conn.close()

    def _exchange(self, conn):
        try:
            req = conn.read_request()
        except BadRequest as e:
            conn._take_extra(wait=False)
            self._record(conn, None, e.status, None)
            sender.send_reply(conn, text_reply(e.status, "%s\n" % e, "text/plain"), None, "")
            return
        if req is None:
            if conn.total_in:
                self._record(conn, None, None, None)
            conn.close()
            return
        r = route(conn.listener, req)
        conn.read_body(req, keep=r.keep_body)
        reply = r.respond(self, conn, req)
        canned = find_rule(self.reply_rules, conn.listener.address, req.path)
        if canned is not None:
            reply = CannedReply(canned)
        fault = find_rule(self.fault_rules, conn.listener.address, req.path)
        self._record(conn, req, reply.status, fault)
        if self.config.verbose:
            print("lab: %s %s %s -> %d%s" % (conn.listener.address, req.method, req.target,
                                             reply.status, " [%s]" % fault if fault else ""),
                  file=sys.stderr, flush=True)
        sender.send_reply(conn, reply, fault, req.path)

    def _record(self, conn, req, status, fault):
        try:
            self.log.write(make_entry(conn, req, status, fault))
        except ValueError:  # log closed during shutdown
            pass


def _site_title(n):
    from .config import SITE_TITLES
    return SITE_TITLES[n]


def _short(ver):
    """"2.22.0.1" -> "2.22" for the download's file name."""
    return ".".join(ver.split(".")[:2])


def _read(path):
    with open(path, "rb") as f:
        return f.read()
