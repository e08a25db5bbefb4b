"""One client connection: reading a request exactly as sent, answering it
(normally or with a fault), and closing without losing the reply.

Constraints this code keeps:
 a) Every byte read is counted, and the first RAW_LIMIT bytes are kept
    verbatim for the request record.
 b) A body is read up to its declared length, then whatever else the client
    already sent (the client declares two bytes less than it sends) is taken
    too, so closing never meets unread data: an unread byte at close makes
    the kernel reset the connection and the client would lose our reply.
 c) After answering we shut down our side and drain until the client
    closes (bounded), for the same reason.
 d) Large bodies (the upload) are counted, never stored.
 e) One request per connection: every reply says "Connection: close".
"""

import select
import socket
import time
from dataclasses import dataclass, field

from .record import RAW_LIMIT

HEADER_LIMIT = 64 * 1024
KEEP_BODY_LIMIT = 1 << 20          # bodies kept in memory (the report is < 4 KiB)
EXTRA_WAIT = 0.1                   # seconds to wait for bytes past the declared length
DRAIN_LIMIT = 5.0                  # seconds to wait for the client to close after our reply
CLOSE_MID_BODY_LIMIT = 1 << 20
HUGE_SIZE = 8 << 20
PIECE_PAUSE = 0.05                 # between the writes of a split header

STATUS_TEXT = {200: "OK", 302: "Found", 400: "Bad Request", 404: "Not Found",
               405: "Method Not Allowed", 431: "Request Header Fields Too Large"}


class ClientGone(Exception):
    pass


@dataclass
class Request:
    method: str
    target: str
    version: str
    headers: list           # [(name, value)] in order, Latin-1 text
    header_length: int      # bytes up to and including the blank line
    declared_length: int = None
    body: bytes = b""
    body_received: int = 0  # body bytes received, extra bytes included
    extra_bytes: int = 0    # bytes received beyond the declared length

    @property
    def path(self):
        return self.target.partition("?")[0]

    @property
    def query(self):
        return self.target.partition("?")[2]

    @property
    def query_bytes(self):
        return self.query.encode("latin-1")

    def header(self, name):
        name = name.lower()
        for k, v in self.headers:
            if k.lower() == name:
                return v
        return None


class BadRequest(Exception):
    def __init__(self, status, why):
        super().__init__(why)
        self.status = status


class Conn:
    def __init__(self, sock, listener, peer):
        self.sock = sock
        self.listener = listener
        self.peer = peer
        self.raw = bytearray()
        self.total_in = 0
        self.pending = bytearray()
        self.eof = False
        sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    # -- reading ---------------------------------------------------------

    def _note(self, data):
        self.total_in += len(data)
        room = RAW_LIMIT - len(self.raw)
        if room > 0:
            self.raw += data[:room]

    def _recv(self, n=65536):
        try:
            data = self.sock.recv(n)
        except (ConnectionError, OSError):
            data = b""
        if not data:
            self.eof = True
        self._note(data)
        return data

    def read_request(self):
        """Read one request header. Returns a Request, None if the client
        closed first; raises BadRequest on a malformed or oversized header."""
        while True:
            end = self.pending.find(b"\r\n\r\n")
            if end >= 0:
                break
            if len(self.pending) > HEADER_LIMIT:
                raise BadRequest(431, "header too large")
            data = self._recv()
            if not data:
                return None
            self.pending += data
        if end > HEADER_LIMIT:
            raise BadRequest(431, "header too large")
        head = bytes(self.pending[:end])
        del self.pending[:end + 4]
        lines = head.split(b"\r\n")
        # The client does not escape its query, so a blank typed into a user
        # name lands inside the target: take method up to the first blank and
        # version after the last, and everything between as the target.
        method, _, rest = lines[0].partition(b" ")
        target, _, version = rest.rpartition(b" ")
        parts = [method, target, version]
        if not method or not target.startswith(b"/") or not version.startswith(b"HTTP/"):
            raise BadRequest(400, "malformed request line")
        headers = []
        for line in lines[1:]:
            name, sep, value = line.partition(b":")
            if not sep:
                raise BadRequest(400, "malformed header line")
            headers.append((name.decode("latin-1"), value.strip().decode("latin-1")))
        req = Request(parts[0].decode("latin-1"), parts[1].decode("latin-1"),
                      parts[2].decode("latin-1"), headers, end + 4)
        length = req.header("Content-Length")
        if length is not None:
            if not length.isdigit():
                raise BadRequest(400, "bad Content-Length")
            req.declared_length = int(length)
        return req

    def read_body(self, req, keep=True):
        """Read the declared body (kept up to KEEP_BODY_LIMIT, or only counted),
        then take any bytes sent beyond it."""
        want = req.declared_length or 0
        kept = bytearray()
        got = 0
        buf = bytearray(1 << 20)
        view = memoryview(buf)
        if self.pending:
            take = bytes(self.pending[:want])
            del self.pending[:want]
            got += len(take)
            if keep:
                kept += take
        while got < want and not self.eof:
            try:
                n = self.sock.recv_into(view, min(len(buf), want - got))
            except (ConnectionError, OSError):
                n = 0
            if n == 0:
                self.eof = True
                break
            self._note(view[:n])
            got += n
            if keep and len(kept) < KEEP_BODY_LIMIT:
                kept += view[:min(n, KEEP_BODY_LIMIT - len(kept))]
        extra = self._take_extra(wait=want > 0 and got >= want)
        req.body = bytes(kept) + (extra if keep else b"")
        req.body_received = got + len(extra)
        req.extra_bytes = len(extra)
        return req

    def _take_extra(self, wait):
        extra = bytes(self.pending)
        self.pending.clear()
        if self.eof:
            return extra
        # Bytes already past the declared length: the rest came in the same
        # send, so only a short wait for stragglers.
        pause = (0.01 if extra else EXTRA_WAIT) if wait else 0
        deadline = time.monotonic() + pause
        while len(extra) < KEEP_BODY_LIMIT:
            left = max(0.0, deadline - time.monotonic())
            ready, _, _ = select.select([self.sock], [], [], left)
            if not ready:
                break
            data = self._recv()
            if not data:
                break
            extra += data
            deadline = time.monotonic() + 0.01  # whatever is already on its way
        return extra

    # -- writing ---------------------------------------------------------

    def send(self, data):
        try:
            self.sock.sendall(data)
        except (ConnectionError, OSError):
            raise ClientGone() from None

    def hold(self):
        """Never answer: read and discard until the client gives up."""
        while not self.eof:
            self._recv()

    def finish(self):
        """Close after a reply: shut down our side, let the client read it all
        and close first (bounded), then close."""
        try:
            self.sock.shutdown(socket.SHUT_WR)
            deadline = time.monotonic() + DRAIN_LIMIT
            while not self.eof:
                left = deadline - time.monotonic()
                if left <= 0:
                    break
                ready, _, _ = select.select([self.sock], [], [], left)
                if ready:
                    self._recv()
        except OSError:
            pass
        self.close()

    def abort(self):
        """Close with a reset instead of a FIN."""
        try:
            self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
        except OSError:
            pass
        self.close()

    def close(self):
        try:
            self.sock.close()
        except OSError:
            pass


@dataclass
class Reply:
    status: int = 200
    body: bytes = b""
    content_type: str = "text/html; charset=gbk"
    stream_length: int = None    # body is the shared stream pattern, this long
    rate: float = None           # bytes per second for the whole reply, None = unpaced
    headers: list = field(default_factory=list)
    head_only: bool = False      # HEAD: the header of the GET reply, no body

    @property
    def length(self):
        return self.stream_length if self.stream_length is not None else len(self.body)

    def header_bytes(self):
        lines = ["HTTP/1.1 %d %s" % (self.status, STATUS_TEXT.get(self.status, "Unknown")),
                 "Server: veltrane-lab",
                 "Content-Type: %s" % self.content_type,
                 "Content-Length: %d" % self.length]
        lines += ["%s: %s" % kv for kv in self.headers]
        lines.append("Connection: close")
        return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1")


class CannedReply(Reply):
    """A reply given whole, header included, sent verbatim."""

    def __init__(self, data):
        super().__init__(status=_status_of(data))
        self.data = data

    def header_bytes(self):
        return self.data


def _status_of(data):
    parts = data.split(b"\r\n", 1)[0].split(b" ")
    if len(parts) >= 2 and parts[0].startswith(b"HTTP/") and parts[1].isdigit():
        return int(parts[1])
    return None


def text_reply(status, text, content_type="text/html; charset=gbk"):
    if isinstance(text, str):
        text = text.encode("gbk")
    return Reply(status=status, body=text, content_type=content_type)


def not_found(path):
    return text_reply(404, "<html><head><title>404 Not Found</title></head><body>"
                           "<h1>Not Found</h1><p>%s</p></body></html>\n" % path.replace("<", "&lt;"))
