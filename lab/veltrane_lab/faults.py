"""Per-endpoint faults: `--fault WHERE=KIND`.

WHERE selects requests by the path (query excluded), optionally with the
listener in front, shell-style wildcards allowed:

    /getseq.php                 that path on every listener
    /download/*                 any path under /download/
    127.0.80.11:8000/data.iso   that path on one listener
    127.0.81.3:80               every path on one listener
    *                           everything

KIND is one of FAULT_KINDS; "delay:MS" waits MS milliseconds and then answers
normally. The first rule that matches a request wins.
"""

import fnmatch
from dataclasses import dataclass

FAULT_KINDS = {
    "never-answer": "accept and read the request, never send a byte; hold the connection",
    "close-after-header": "send the reply header, then close without a body",
    "close-mid-body": "send the header and half the body (at most 1 MiB), then close",
    "garbage": "answer 1 KiB of bytes that are not HTTP, then close",
    "404-with-body": "answer 404 Not Found with an HTML body",
    "split-header": "send the header in pieces split mid-line and inside the final "
                    "CRLFCRLF, each piece its own write, then the body",
    "header-then-body": "send the whole header in one write ending exactly at its "
                        "CRLFCRLF, pause, then the body in a later write",
    "huge": "answer 200 with an 8 MiB body (the normal body repeated)",
    "reset": "abort the connection (RST) right after reading the request",
    "delay:MS": "wait MS milliseconds, then answer normally",
}


@dataclass(frozen=True)
class Fault:
    kind: str
    delay_ms: int = 0

    def __str__(self):
        return "delay:%d" % self.delay_ms if self.kind == "delay" else self.kind


def parse_kind(text):
    if text.startswith("delay:"):
        ms = text[len("delay:"):]
        if not ms.isdigit():
            raise ValueError("delay needs milliseconds, e.g. delay:6000")
        return Fault("delay", int(ms))
    if text not in FAULT_KINDS or text == "delay:MS":
        raise ValueError("unknown fault kind %r (kinds: %s)" % (text, ", ".join(FAULT_KINDS)))
    return Fault(text)


@dataclass(frozen=True)
class Rule:
    listener: str  # "host:port" or "" for every listener
    path: str      # glob on the request path, "" for every path
    value: object  # a Fault, or whatever else the rule carries (a canned reply)

    def matches(self, listen, path):
        if self.listener and self.listener != listen:
            return False
        return not self.path or fnmatch.fnmatchcase(path, self.path)

    @property
    def fault(self):
        return self.value


def parse_where(text, what="KIND"):
    """Split "WHERE=VALUE" (at the first "=") into (listener, path glob, VALUE)."""
    where, sep, value = text.partition("=")
    if not sep or not where or not value:
        raise ValueError("expected WHERE=%s, got %r" % (what, text))
    if where == "*":
        return "", "", value
    slash = where.find("/")
    if slash == 0:
        return "", where, value
    listener, path = (where, "") if slash < 0 else (where[:slash], where[slash:])
    if ":" not in listener:
        raise ValueError("listener must be HOST:PORT, got %r" % (listener,))
    return listener, path, value


def parse_rule(text):
    """Parse a fault "WHERE=KIND" into a Rule carrying a Fault."""
    listener, path, kind = parse_where(text)
    return Rule(listener, path, parse_kind(kind))


def find_rule(rules, listen, path):
    for rule in rules:
        if rule.matches(listen, path):
            return rule.value
    return None


find_fault = find_rule
