"""Lab settings: scenarios, accounts, published version, site pacing."""

from dataclasses import dataclass, field

from .faults import Rule, parse_rule, parse_where

CLIENT_VERSION = "2.21.2.718"      # what the client reports in its own version resource
UPDATE_VERSION = "2.22.0.1"
DEFAULT_MIN_VERSION = "1.0.10"     # the client sends v=1.0.10

# Known accounts (user -> password), compared as the bytes the client sends:
# GBK text, unescaped. The Chinese account exercises non-ASCII queries.
DEFAULT_USERS = {
    "Orvalen": "580317",     # installation and maintenance staff
    "custdemo": "246810",    # a customer
    "测试员": "8888",          # staff account with a Chinese name
}

# Application sites: page size in bytes, as a portal or webmail entry page.
SITE_SIZES = {1: 240_000, 2: 200_000, 3: 160_000, 4: 120_000, 5: 100_000, 6: 140_000}
SITE_TITLES = {1: "新闻门户一", 2: "新闻门户二", 3: "新闻门户三",
               4: "电子邮箱一", 5: "企业邮箱", 6: "电子邮箱三"}

BYTES_PER_MBIT = 1048576 // 8   # the client's megabit is 2^20 bits

SCENARIOS = {
    "default": "everything works; the published version is the client's own",
    "update": "version.xml publishes %s with a downloadable executable" % UPDATE_VERSION,
    "deny": "every test-number request gets ACCESS_DENY",
    "need-update": "every test-number request gets NEED_UPDATE",
    "need-update-newline": "test-number requests get \"NEED_UPDATE\\r\\n\" (not the exact text)",
    "stall": "version.xml and the update download accept and never answer",
    "update-stall": "an update is published, but its download never answers",
    "slow-sites": "sites paced per site: 1 and 4 fast (40 Mbit/s), 2 and 5 average "
                  "(4 Mbit/s), 3 and 6 slow (0.4 Mbit/s, 100 KB pages)",
    "slow-mail": "portals average (4 Mbit/s), webmail sites slow (0.04 Mbit/s, 8 KB pages)",
}

# Per scenario: {site: (Mbit/s, page size or None for the default size)}
SITE_PACES = {
    "slow-sites": {1: (40, None), 2: (4, None), 3: (0.4, 100_000),
                   4: (40, None), 5: (4, None), 6: (0.4, 100_000)},
    "slow-mail": {1: (4, None), 2: (4, None), 3: (4, None),
                  4: (0.04, 8_000), 5: (0.04, 8_000), 6: (0.04, 8_000)},
}

SCENARIO_FAULTS = {
    "stall": ["/version.xml=never-answer", "/download/*=never-answer"],
    "update-stall": ["/download/*=never-answer"],
}


def version_tuple(text):
    """"1.0.10" -> (1, 0, 10); each piece read like C atoi (leading digits, else 0)."""
    out = []
    for piece in text.split("."):
        digits = ""
        for ch in piece.strip():
            if not ch.isdigit():
                break
            digits += ch
        out.append(int(digits) if digits else 0)
    return tuple(out)


def version_older(version, minimum):
    a, b = list(version_tuple(version)), list(version_tuple(minimum))
    n = max(len(a), len(b))
    return a + [0] * (n - len(a)) < b + [0] * (n - len(b))


@dataclass
class Site:
    size: int
    rate: float = None   # bytes per second, None = as fast as the socket goes


@dataclass
class LabConfig:
    scenarios: tuple = ("default",)
    state_dir: str = "/tmp/veltrane-lab"
    min_version: str = DEFAULT_MIN_VERSION
    published_version: str = None
    update_url: str = None
    update_file: str = None
    tamper_update: bool = False
    version_xml_file: str = None
    users: dict = field(default_factory=lambda: dict(DEFAULT_USERS))
    fault_args: list = field(default_factory=list)
    reply_args: list = field(default_factory=list)  # "WHERE=FILE": canned replies
    site_rates: dict = field(default_factory=dict)   # site -> Mbit/s (overrides)
    site_sizes: dict = field(default_factory=dict)   # site -> bytes (overrides)
    stream_pace: float = 0.0  # Mbit/s (2^20 bits) per test-server stream, 0 = unpaced
    prefix: str = "127.0"
    port_offset: int = 0
    benchmark_net: bool = False  # also accept a prefix in 198.18.0.0/15 (lab/netlab)
    append_record: bool = False
    verbose: bool = False

    def validate(self):
        for s in self.scenarios:
            if s not in SCENARIOS:
                raise ValueError("unknown scenario %r (scenarios: %s)" % (s, ", ".join(SCENARIOS)))
        self.fault_rules()  # raises on a bad rule
        for text in self.reply_args:
            parse_where(text, "FILE")

    def has(self, scenario):
        return scenario in self.scenarios

    def fault_rules(self):
        rule_texts = list(self.fault_args)  # explicit faults take precedence
        for s in self.scenarios:
            rule_texts += SCENARIO_FAULTS.get(s, [])
        return [parse_rule(text) for text in rule_texts]

    def reply_rules(self):
        """[Rule] whose value is the bytes of the file to send verbatim."""
        rules = []
        for text in self.reply_args:
            listener, path, name = parse_where(text, "FILE")
            with open(name, "rb") as f:
                rules.append(Rule(listener, path, f.read()))
        return rules

    def version_to_publish(self):
        if self.published_version:
            return self.published_version
        if self.has("update") or self.has("update-stall"):
            return UPDATE_VERSION
        return CLIENT_VERSION

    def sites(self):
        out = {n: Site(size) for n, size in SITE_SIZES.items()}
        for s in self.scenarios:
            for n, (mbps, size) in SITE_PACES.get(s, {}).items():
                out[n] = Site(size or out[n].size, mbps * BYTES_PER_MBIT)
        for n, mbps in self.site_rates.items():
            out[n].rate = mbps * BYTES_PER_MBIT if mbps > 0 else None
        for n, size in self.site_sizes.items():
            out[n].size = size
        return out

    def encoded_users(self):
        return {u.encode("gbk"): p.encode("gbk") for u, p in self.users.items()}
