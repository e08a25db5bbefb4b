"""Content the lab serves, generated at start-up (deterministic, no files)."""

import random
import struct
import zlib
from xml.sax.saxutils import quoteattr


def make_png(width=160, height=120, seed=718):
    """A real RGB PNG: a colour gradient with noise, so it stays a few tens
    of KB after compression (the client times its download)."""
    rng = random.Random(seed)
    rows = []
    for y in range(height):
        row = bytearray([0])  # filter type 0 (None) for every scanline
        for x in range(width):
            n = rng.randrange(64)
            row += bytes(((x * 255 // width + n) & 255,
                          (y * 255 // height + n) & 255,
                          (128 + n) & 255))
        rows.append(bytes(row))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


_PORTAL_WORDS = ("新闻", "财经", "科技", "体育", "娱乐", "汽车", "房产", "教育", "健康", "旅游",
                 "专线", "宽带", "网络", "城市", "发布", "今日", "热点", "视频", "图片", "评论")
_MAIL_WORDS = ("邮箱", "登录", "注册", "收件箱", "草稿", "附件", "安全", "密码", "企业", "客户端")


def make_site_page(n, size, title, webmail=False):
    """An HTML page of exactly `size` bytes (UTF-8), shaped like a portal home
    page or a webmail entry page."""
    rng = random.Random(n * 7919)
    words = _MAIL_WORDS if webmail else _PORTAL_WORDS
    head = ("<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<title>%s</title>\n<style>body{font-family:SimSun,sans-serif;margin:0}"
            ".nav a{margin:0 6px}.item{padding:4px 8px;border-bottom:1px solid #eee}</style>\n"
            "</head>\n<body>\n<div class=\"nav\">" % title)
    head += "".join("<a href=\"/%s/\">%s</a>" % (i, w) for i, w in enumerate(words))
    head += "</div>\n<h1>%s</h1>\n" % title
    if webmail:
        head += ("<form method=\"post\" action=\"login\"><input name=\"user\">"
                 "<input name=\"pass\" type=\"password\"><button>登录</button></form>\n")
    tail = "</body>\n</html>\n"
    parts = [head]
    total = len(head.encode()) + len(tail.encode())
    i = 0
    while total < size - 200:
        i += 1
        text = "".join(rng.choice(words) for _ in range(rng.randrange(6, 18)))
        item = ("<div class=\"item\"><a href=\"/a/%d/%06d.html\">%s</a>"
                "<span>%02d-%02d</span></div>\n" % (n, i, text, rng.randrange(1, 13), rng.randrange(1, 29)))
        parts.append(item)
        total += len(item.encode())
    pad = size - total - len("<!--  -->\n")
    parts.append("<!-- %s -->\n" % ("x" * max(pad, 0)))
    parts.append(tail)
    page = "".join(parts).encode()
    assert len(page) == size or pad < 0, (len(page), size)
    return page


def make_update_exe():
    """Stand-in for a downloaded client: starts with the DOS "MZ" signature."""
    stub = bytearray(4096)
    stub[0:2] = b"MZ"
    msg = b"This program cannot be run in DOS mode.\r\r\n$"
    stub[0x4E:0x4E + len(msg)] = msg
    stub[0x80:0x90] = b"Veltrane lab stub"[:16]
    return bytes(stub)


def make_version_xml(ver, url, autoupdate="1"):
    return ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<update ver=%s url=%s autoupdate=%s>\n"
            "  <note>Veltrane</note>\n"
            "</update>\n" % (quoteattr(ver), quoteattr(url), quoteattr(autoupdate))).encode()


def make_stream_buffer(size=4 << 20):
    """The repeating content of every large download: a fixed pattern, built once."""
    block = bytes(range(256)) * 16
    return block * (size // len(block))
