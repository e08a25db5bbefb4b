"""Writing a reply to the client, normally or with a fault applied.

Large bodies (the download files) are never built: they are the shared
stream pattern sent again and again through a memoryview, so one connection
costs no copying in Python and the GIL is released for each large sendall.
"""

import random
import time

from .httpconn import (CLOSE_MID_BODY_LIMIT, HUGE_SIZE, PIECE_PAUSE, ClientGone, Reply,
                       not_found)

STREAM = None  # set once by the server: memoryview of the stream pattern
PACE_SLOTS_PER_SECOND = 100
PACE_MIN_CHUNK = 1460


def set_stream_buffer(data):
    global STREAM
    STREAM = memoryview(data)


def _body_pieces(reply, limit=None):
    """Yield the body as memoryviews/bytes, at most `limit` bytes in total."""
    total = reply.length if limit is None else min(limit, reply.length)
    if reply.stream_length is None:
        if total:
            yield memoryview(reply.body)[:total]
        return
    step = len(STREAM)
    sent = 0
    while sent < total:
        n = min(step, total - sent)
        yield STREAM[:n]
        sent += n


def _send_plain(conn, reply, limit=None):
    conn.send(reply.header_bytes())
    if reply.head_only:
        return
    for piece in _body_pieces(reply, limit):
        conn.send(piece)


def _send_paced(conn, reply):
    """Send header and body so the whole reply takes length/rate seconds:
    each chunk leaves at the end of its time slot, so the client never sees
    more than the configured rate."""
    data = reply.header_bytes() + (b"" if reply.head_only else bytes(reply.body))
    chunk = max(PACE_MIN_CHUNK, int(reply.rate / PACE_SLOTS_PER_SECOND))
    start = time.monotonic()
    sent = 0
    while sent < len(data):
        n = min(chunk, len(data) - sent)
        due = start + (sent + n) / reply.rate
        pause = due - time.monotonic()
        if pause > 0:
            time.sleep(pause)
        conn.send(data[sent:sent + n])
        sent += n


def _split_points(header):
    """Cut points for a header written in pieces: inside "HTTP/", in the middle
    of the status line, in the middle of a header name, and between the
    "\\r\\n\\r" and the "\\n" of the final blank line."""
    points = {3, header.find(b" ") + 2, len(header) - 1}
    second = header.find(b"\r\n") + 2
    colon = header.find(b":", second)
    if second < colon:
        points.add((second + colon) // 2)
    return sorted(p for p in points if 0 < p < len(header))


def _send_split(conn, reply, points):
    header = reply.header_bytes()
    cuts = [0] + points + [len(header)]
    for a, b in zip(cuts, cuts[1:]):
        conn.send(header[a:b])
        time.sleep(PIECE_PAUSE)
    if not reply.head_only:
        for piece in _body_pieces(reply):
            conn.send(piece)


def _garbage():
    rng = random.Random()
    junk = bytes(rng.randrange(256) for _ in range(1024))
    return b"\x00\x1b" + junk.replace(b"HTTP", b"PTTH")


def _huge(reply):
    seed = bytes(reply.body) or b"0"
    body = (seed * (HUGE_SIZE // len(seed) + 1))[:HUGE_SIZE]
    return Reply(status=200, body=body, content_type=reply.content_type, headers=reply.headers)


def send_reply(conn, reply, fault, path):
    """Answer on `conn` and close it. Returns nothing; a client that goes
    away mid-reply just ends the exchange."""
    try:
        kind = fault.kind if fault else None
        if kind == "never-answer":
            conn.hold()
            conn.close()
            return
        if kind == "reset":
            conn.abort()
            return
        if kind == "delay":
            time.sleep(fault.delay_ms / 1000.0)
        if kind == "404-with-body":
            reply = not_found(path)
        elif kind == "huge":
            reply = _huge(reply)

        if kind == "garbage":
            conn.send(_garbage())
        elif kind == "close-after-header":
            conn.send(reply.header_bytes())
        elif kind == "close-mid-body":
            _send_plain(conn, reply, limit=min(reply.length // 2, CLOSE_MID_BODY_LIMIT))
        elif kind == "split-header":
            _send_split(conn, reply, _split_points(reply.header_bytes()))
        elif kind == "header-then-body":
            _send_split(conn, reply, [])
        elif reply.rate:
            _send_paced(conn, reply)
        else:
            _send_plain(conn, reply)
        conn.finish()
    except ClientGone:
        conn.close()
