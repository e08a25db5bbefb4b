"""What each listener answers.

`route()` looks at a request header and returns a Route: whether the body is
kept (report forms) or only counted (uploads), and the function that builds
the reply once the body is in.
"""

import socket
import urllib.parse
from dataclasses import dataclass
from typing import Callable

from .addresses import SITE_PATHS
from .config import version_older
from .httpconn import Reply, not_found, text_reply
from .reportdoc import build_report_docx
from .reportform import parse_report_form

DATA_LENGTH = 8 << 30               # declared length of every large download
DOCX_TYPE = "application/vnd.openxmlformats-officedocument.wordprocessingml.document"

NEED_UPDATE = b"NEED_UPDATE"
ACCESS_DENY = b"ACCESS_DENY"


@dataclass
class Route:
    respond: Callable            # (lab, conn, request) -> Reply
    keep_body: bool = True       # False: count the body, do not store it


def parse_query(raw):
    """A query string as a naive server splits it: "&" between pairs, the first
    "=" inside one, no decoding (the client sends nothing encoded). A repeated
    key keeps its last value."""
    out = {}
    for piece in raw.split(b"&"):
        if piece:
            key, _, value = piece.partition(b"=")
            out[key] = value
    return out


# -- platform -------------------------------------------------------------

def getip(lab, conn, req):
    return text_reply(200, conn.peer[0], "text/plain")


def version_xml(lab, conn, req):
    return Reply(body=lab.version_document, content_type="text/xml")


def getseq(lab, conn, req):
    cfg = lab.config
    if cfg.has("need-update"):
        answer = NEED_UPDATE
    elif cfg.has("need-update-newline"):
        answer = NEED_UPDATE + b"\r\n"
    else:
        q = parse_query(req.query_bytes)
        v = q.get(b"v")
        user, password = q.get(b"User"), q.get(b"Pass")
        if v is None or version_older(v.decode("latin-1"), cfg.min_version):
            answer = NEED_UPDATE
        elif cfg.has("deny") or user is None or lab.users.get(user) != password:
            answer = ACCESS_DENY
        else:
            answer = lab.store.issue_test_number(user).encode()
    return text_reply(200, answer)


def testing_png(lab, conn, req):
    return Reply(body=lab.png, content_type="image/png")


def _save_report(endpoint):
    def respond(lab, conn, req):
        declared = req.declared_length
        seen = req.body if declared is None else req.body[:declared]
        form = parse_report_form(seen)
        lab.store.save_report(endpoint, conn.listener.address, "%s:%d" % conn.peer,
                              form, req.body, declared)
        return text_reply(200, "OK")
    return respond


def savereport(lab, conn, req):
    q = parse_query(req.query_bytes)
    if q.get(b"c") != b"savereport" or q.get(b"a") != b"save":
        return not_found(req.target)
    return _save_report("save")(lab, conn, req)


def report_docx(lab, conn, req):
    name = req.path[len("/report/"):-len(".docx")]
    seq = urllib.parse.unquote(name, encoding="gbk", errors="replace")
    row = lab.store.latest_report(seq)
    if row is None:
        return not_found(req.path)
    raw, declared, received_at = row
    form = parse_report_form(raw if declared is None else raw[:declared])
    reply = Reply(body=build_report_docx(form, received_at), content_type=DOCX_TYPE)
    reply.headers.append(("Content-Disposition", "inline; filename=\"%s.docx\"" % name))
    return reply


def download(lab, conn, req):
    if req.path.endswith(".sig"):
        if lab.update_signature is None:
            return not_found(req.path)
        return Reply(body=lab.update_signature, content_type="application/octet-stream")
    return Reply(body=lab.update_file, content_type="application/octet-stream")


def index(lab, conn, req):
    lines = ["Veltrane lab platform server (scenarios: %s)" % ", ".join(lab.config.scenarios), ""]
    lines += ["%-6s %s" % (m, p) for p, m in (
        ("/getip.php", "GET"), ("/version.xml", "GET"), ("/getseq.php?v=1.0.10&User=..&Pass=..", "GET"),
        ("/images/testing.png", "GET"), ("/sp/index.php?c=savereport&a=save", "POST"),
        ("/report/query.php", "POST"), ("/report/<seq>.docx", "GET"), ("/download/<file>", "GET"),
        ("/data.iso", "GET"), ("/recv_upload.php", "POST"))]
    return text_reply(200, "\n".join(lines) + "\n", "text/plain")


# -- test servers and mirrors ----------------------------------------------

SO_MAX_PACING_RATE = getattr(socket, "SO_MAX_PACING_RATE", 47)


def data_stream(lab, conn, req):
    if lab.config.stream_pace > 0:
        # The kernel paces the connection itself (TCP's own pacing, no qdisc
        # needed): the client sees data arrive as over a line of that rate,
        # in segments, rather than as fast as loopback can copy it.
        rate = int(lab.config.stream_pace * 1048576 / 8)
        conn.sock.setsockopt(socket.SOL_SOCKET, SO_MAX_PACING_RATE, rate)
    return Reply(stream_length=DATA_LENGTH, content_type="application/octet-stream")


def upload_done(lab, conn, req):
    return text_reply(200, "OK")


# -- application sites -------------------------------------------------------

def site_page(lab, conn, req):
    site = lab.sites[conn.listener.index]
    return Reply(body=lab.pages[conn.listener.index], content_type="text/html; charset=utf-8",
                 rate=site.rate)


def site_redirect(lab, conn, req):
    reply = text_reply(302, "")
    reply.headers.append(("Location", SITE_PATHS[conn.listener.index]))
    return reply


# -- routing -----------------------------------------------------------------

GET, POST = ("GET", "HEAD"), ("POST",)

PLATFORM = {
    "/": (GET, index),
    "/getip.php": (GET, getip),
    "/version.xml": (GET, version_xml),
    "/getseq.php": (GET, getseq),
    "/images/testing.png": (GET, testing_png),
    "/sp/index.php": (POST, savereport),
    "/report/query.php": (POST, _save_report("query")),
    "/data.iso": (GET, data_stream),
    "/recv_upload.php": (POST, upload_done),
}
TEST_SERVER = {
    "/data.iso": (GET, data_stream),
    "/recv_upload.php": (POST, upload_done),
}


def _lookup(listener, path):
    if listener.role == "platform":
        if path in PLATFORM:
            return PLATFORM[path]
        if path.startswith("/report/") and path.endswith(".docx"):
            return GET, report_docx
        if path.startswith("/download/") and len(path) > len("/download/"):
            return GET, download
        return None
    if listener.role == "testserver":
        return TEST_SERVER.get(path)
    if listener.role == "mirror":
        return GET, data_stream
    if listener.role == "site":
        if path == SITE_PATHS[listener.index]:
            return GET, site_page
        if path == "/":
            return GET, site_redirect
    return None


def route(listener, req):
    found = _lookup(listener, req.path)
    if found is None:
        return Route(lambda lab, conn, r: not_found(r.path), keep_body=False)
    methods, respond = found
    if req.method not in methods:
        return Route(lambda lab, conn, r: text_reply(405, "method not allowed\n", "text/plain"),
                     keep_body=False)
    keep = respond is not upload_done
    if req.method == "HEAD":
        def head(lab, conn, r, respond=respond):
            reply = respond(lab, conn, r)
            reply.head_only = True
            return reply
        return Route(head, keep_body=keep)
    return Route(respond, keep_body=keep)
