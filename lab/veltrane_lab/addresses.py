"""Where the lab listens.

The default layout is the client's `lab` server profile:

    platform            127.0.80.1:80
    test server N       127.0.80.(10+N):8000 for N = 1..7, 127.0.80.18:80
    download mirror N   127.0.81.N:80 for N = 1..16
    application site N  127.0.82.N:80 for N = 1..6

Tests move the whole layout to another 127.X network (`prefix`) and/or shift
every port (`port_offset`) so several labs can run side by side. Only
addresses inside 127.0.0.0/8 are ever produced or accepted, unless the lab is
told it runs in the operator-side namespace of the shaped-line lab
(`benchmark_net`, `lab/netlab`): then a prefix inside 198.18.0.0/15, the
benchmarking range, is accepted too (198.19 in `lab/netlab`), and nothing else.
"""

import ipaddress
from dataclasses import dataclass

LOOPBACK_NET = ipaddress.IPv4Network("127.0.0.0/8")
BENCHMARK_NET = ipaddress.IPv4Network("198.18.0.0/15")

TEST_SERVERS = 8
MIRRORS = 16
SITES = 6

# Application site N serves its page at this path (site 7 of the client is the
# platform's test image).
SITE_PATHS = {1: "/", 2: "/", 3: "/", 4: "/", 5: "/webmail/", 6: "/"}


class NotLoopback(ValueError):
    pass


def require_loopback(host, benchmark_net=False):
    """Return `host` if it is a dotted IPv4 address in 127.0.0.0/8 (or, with
    `benchmark_net`, in 198.18.0.0/15), else raise."""
    try:
        addr = ipaddress.IPv4Address(host)
    except ValueError:
        raise NotLoopback("not an IPv4 address: %r" % (host,)) from None
    if addr in LOOPBACK_NET or (benchmark_net and addr in BENCHMARK_NET):
        return host
    if benchmark_net:
        raise NotLoopback("refusing to listen on %s: neither loopback nor 198.18.0.0/15" % host)
    raise NotLoopback("refusing to listen on non-loopback address %s" % host)
    return host


@dataclass(frozen=True)
class Listener:
    host: str
    port: int
    role: str  # "platform", "testserver", "mirror" or "site"
    index: int  # 1-based number within the role (the platform is 0)

    @property
    def address(self):
        return "%s:%d" % (self.host, self.port)


class Layout:
    def __init__(self, prefix="127.0", port_offset=0, benchmark_net=False):
        parts = prefix.split(".")
        if len(parts) != 2 or not all(p.isdigit() and 0 <= int(p) <= 255 for p in parts):
            raise NotLoopback("prefix must look like 127.N, got %r" % (prefix,))
        self.benchmark_net = benchmark_net
        require_loopback(prefix + ".0.1", benchmark_net)
        if not 0 <= port_offset <= 40000:
            raise ValueError("port offset out of range: %d" % port_offset)
        self.prefix = prefix
        self.port_offset = port_offset

    def _host(self, third, fourth):
        return require_loopback("%s.%d.%d" % (self.prefix, third, fourth), self.benchmark_net)

    def _port(self, port):
        return port + self.port_offset

    @property
    def platform(self):
        return Listener(self._host(80, 1), self._port(80), "platform", 0)

    def test_server(self, n):
        port = 80 if n == 8 else 8000
        return Listener(self._host(80, 10 + n), self._port(port), "testserver", n)

    def mirror(self, n):
        return Listener(self._host(81, n), self._port(80), "mirror", n)

    def site(self, n):
        return Listener(self._host(82, n), self._port(80), "site", n)

    def all(self):
        out = [self.platform]
        out += [self.test_server(n) for n in range(1, TEST_SERVERS + 1)]
        out += [self.mirror(n) for n in range(1, MIRRORS + 1)]
        out += [self.site(n) for n in range(1, SITES + 1)]
        return out

    def platform_url(self, path):
        p = self.platform
        hostport = p.host if p.port == 80 else p.address
        return "http://%s%s" % (hostport, path)
