"""Command line of lab/run."""

import argparse
import signal
import sys
import threading

from .addresses import NotLoopback
from .config import DEFAULT_MIN_VERSION, SCENARIOS, LabConfig
from .faults import FAULT_KINDS


def _site_setting(text, kind):
    n, sep, value = text.partition("=")
    if not sep or not n.isdigit() or not 1 <= int(n) <= 6:
        raise argparse.ArgumentTypeError("expected N=VALUE with site N in 1..6")
    try:
        v = kind(value)
    except ValueError:
        raise argparse.ArgumentTypeError("bad value %r" % value) from None
    return int(n), v


def _user(text):
    user, sep, password = text.partition(":")
    if not sep or not user:
        raise argparse.ArgumentTypeError("expected NAME:PASSWORD")
    return user, password


def build_parser():
    epilog = ["scenarios (combine with commas or repeat --scenario):"]
    epilog += ["  %-20s %s" % kv for kv in SCENARIOS.items()]
    epilog += ["", "fault kinds (--fault WHERE=KIND; WHERE is a path, HOST:PORT/PATH, HOST:PORT or *;"
               " wildcards allowed):"]
    epilog += ["  %-20s %s" % kv for kv in FAULT_KINDS.items()]
    p = argparse.ArgumentParser(
        prog="lab/run", description="Local stand-in for the Veltrane platform server, test "
        "servers, download mirrors and application sites (loopback only).",
        epilog="\n".join(epilog), formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--scenario", action="append", default=[], metavar="NAME",
                   help="scenario to run (default: default)")
    p.add_argument("--fault", action="append", default=[], metavar="WHERE=KIND",
                   help="make requests matching WHERE fail as KIND (repeatable)")
    p.add_argument("--reply", action="append", default=[], metavar="WHERE=FILE",
                   help="answer requests matching WHERE with the bytes of FILE, verbatim "
                        "(a whole reply, header included; repeatable)")
    p.add_argument("--state-dir", default="/tmp/veltrane-lab",
                   help="where the SQLite database and requests.jsonl live (default %(default)s)")
    p.add_argument("--append-record", action="store_true",
                   help="append to requests.jsonl instead of starting it afresh")
    p.add_argument("--min-version", default=DEFAULT_MIN_VERSION,
                   help="getseq.php answers NEED_UPDATE below this v (default %(default)s)")
    p.add_argument("--version", dest="published_version", metavar="VER",
                   help="version published in version.xml (overrides the scenario)")
    p.add_argument("--update-url", help="url published in version.xml")
    p.add_argument("--tamper-update", action="store_true",
                   help="serve the update with one byte changed after it was signed")
    p.add_argument("--update-file", metavar="PATH",
                   help="file served as the update download (default: a small MZ stub)")
    p.add_argument("--version-xml", dest="version_xml_file", metavar="PATH",
                   help="serve this file verbatim as version.xml")
    p.add_argument("--user", action="append", default=[], type=_user, metavar="NAME:PASSWORD",
                   help="add a known account (repeatable)")
    p.add_argument("--site-rate", action="append", default=[], metavar="N=MBPS",
                   type=lambda t: _site_setting(t, float),
                   help="pace site N at MBPS Mbit/s (2^20 bits), 0 = unpaced")
    p.add_argument("--site-size", action="append", default=[], metavar="N=BYTES",
                   type=lambda t: _site_setting(t, int), help="page size of site N")
    p.add_argument("--stream-pace", type=float, default=0.0, metavar="MBPS",
                   help="pace each test-server download stream at MBPS Mbit/s (2^20 bits) by the "
                        "kernel's TCP pacing: a line of that rate per connection on loopback")
    p.add_argument("--prefix", default="127.0",
                   help="listen on PREFIX.80.1 etc. instead of 127.0.80.1 (must be 127.N)")
    p.add_argument("--benchmark-net", action="store_true",
                   help="also accept a prefix in 198.18.0.0/15 (198.18.N or 198.19.N): the "
                        "operator-side namespace of the shaped-line lab, lab/netlab")
    p.add_argument("--port-offset", type=int, default=0,
                   help="add this to every port (80 and 8000)")
    p.add_argument("--verbose", action="store_true", help="log each request to stderr")
    return p


def config_from_args(args):
    scenarios = []
    for s in args.scenario or ["default"]:
        scenarios += [x.strip() for x in s.split(",") if x.strip()]
    cfg = LabConfig(
        scenarios=tuple(scenarios), state_dir=args.state_dir, min_version=args.min_version,
        published_version=args.published_version, update_url=args.update_url,
        update_file=args.update_file, tamper_update=args.tamper_update, version_xml_file=args.version_xml_file,
        fault_args=list(args.fault), reply_args=list(args.reply), site_rates=dict(args.site_rate),
        site_sizes=dict(args.site_size), stream_pace=args.stream_pace, prefix=args.prefix, port_offset=args.port_offset,
        benchmark_net=args.benchmark_net,
        append_record=args.append_record, verbose=args.verbose)
    cfg.users.update(dict(args.user))
    return cfg


def main(argv=None):
    from .server import Lab
    args = build_parser().parse_args(argv)
    try:
        lab = Lab(config_from_args(args))
        lab.bind_all()
    except (ValueError, NotLoopback, OSError) as e:
        print("lab: %s" % e, file=sys.stderr, flush=True)
        return 2

    stop = threading.Event()

    def on_signal(signum, frame):
        stop.set()

    signal.signal(signal.SIGINT, on_signal)
    signal.signal(signal.SIGTERM, on_signal)
    lab.start()
    print("lab ready", flush=True)
    while not stop.wait(0.1):
        pass
    lab.shutdown()
    print("lab stopped", file=sys.stderr, flush=True)
    return 0
