"""The report form as the platform reads it.

The client writes its form body with one format string and inserts every text
as it is held, in the Windows ANSI code page (GBK on the customers' machines):
nothing is percent-encoded, so an "&" or "=" typed by the user splits or bends
the form exactly as a naive server would see it. We parse the bytes the way
such a server does:

  * split at every "&" byte (never a GBK trail byte, so byte-level splitting
    is safe for Chinese text);
  * a piece is key "=" value, split at its first "="; a piece without "="
    is a key with an empty value;
  * no percent- or plus-decoding (the client sends nothing encoded);
  * a repeated key keeps its last value, as the platform's script would;
  * values are kept as bytes; text is decoded from GBK only for display.

Keys that the client does not send (for example the tail of a user text that
contained "&") are kept as stray pieces so the report can show them.
"""

from dataclasses import dataclass, field

# The keys of the client's form, in the order it writes them.
FORM_KEYS = (
    "seq", "mod", "testlevel", "speed_rtt", "speed_speed", "speed_upload",
    "app_t1", "app_t2", "app_t3", "hoopsWAN", "hoopsLAN", "delayWAN",
    "delayLAN", "lancomment", "traceHoops", "traceDelay", "userinfo",
    "bandwidth",
)

TEXT_ENCODING = "gbk"


def decode_text(raw):
    """GBK bytes to str; undecodable bytes become U+FFFD rather than failing."""
    return raw.decode(TEXT_ENCODING, errors="replace")


@dataclass
class ReportForm:
    pairs: list = field(default_factory=list)  # [(key bytes, value bytes)] in body order

    @property
    def fields(self):
        """Last value of each key, as bytes."""
        out = {}
        for k, v in self.pairs:
            out[k.decode("latin-1")] = v
        return out

    def text(self, key, default=""):
        """The field's text for display: GBK-decoded, line ends trimmed.

        The declared length stops right after the body's first CRLF, so the
        last field (bandwidth) arrives with a trailing CRLF."""
        raw = self.fields.get(key)
        if raw is None:
            return default
        return decode_text(raw).strip("\r\n")

    @property
    def strays(self):
        """Pieces whose key is not one of the client's form keys."""
        return [(k, v) for k, v in self.pairs if k.decode("latin-1") not in FORM_KEYS]

    @property
    def missing(self):
        have = self.fields
        return [k for k in FORM_KEYS if k not in have]

    def hops(self):
        """The hop table: [(address text, delay text)], from the two lists
        joined with "|" (each entry followed by a bar). Split after decoding,
        because "|" can be a GBK trail byte."""
        addrs = _split_bars(self.text("traceHoops"))
        delays = _split_bars(self.text("traceDelay"))
        n = max(len(addrs), len(delays))
        addrs += [""] * (n - len(addrs))
        delays += [""] * (n - len(delays))
        return list(zip(addrs, delays))


def _split_bars(text):
    parts = text.split("|")
    if parts and parts[-1] == "":
        parts.pop()
    return parts


def parse_report_form(body):
    """Parse a report form body (bytes) into a ReportForm."""
    form = ReportForm()
    if not body:
        return form
    for piece in body.split(b"&"):
        key, sep, value = piece.partition(b"=")
        if not key and not sep:
            continue  # "&&" or a trailing "&": an empty piece carries nothing
        form.pairs.append((key, value))
    return form
