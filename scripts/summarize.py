#!/usr/bin/python3
"""Adds up the results of every test layer and prints the closing line.

Arguments: LAYER=PATH pairs. PATH is either a ctest JUnit file (the GoogleTest
XML files that each ctest entry wrote are looked up beside it, in the same
test-results folder, as <entry>.xml) or a text file whose last line reads
"<layer>: N passed, N failed[, N skipped]".
A ctest entry that failed without a failing test case of its own (a crash, a
time-out), or that passed without a readable result file, counts as one
failure.
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

# ctest entries that are no GoogleTest executable and write no results of
# their own: each fuzz target run over its seeds in the native layer.
NO_XML_PREFIXES = ("fuzz-smoke.",)
LINE = re.compile(r"(\d+) passed, (\d+) failed(?:, (\d+) skipped)?")


def gtest_counts(path):
    root = ET.parse(path).getroot()
    tests = failed = skipped = 0
    for case in root.iter("testcase"):
        tests += 1
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.get("result") == "skipped" or case.find("skipped") is not None:
            skipped += 1
    return tests - failed - skipped, failed, skipped


def ctest_layer(junit):
    passed = failed = skipped = 0
    results = os.path.dirname(junit)
    try:
        root = ET.parse(junit).getroot()
    except (OSError, ET.ParseError):
        return 0, 1, 0, ["no ctest results in %s" % junit]
    notes = []
    for case in root.iter("testcase"):
        name = case.get("name")
        entry_failed = case.get("status") == "fail" or case.find("failure") is not None
        gx = os.path.join(results, name + ".xml")
        p = f = s = 0
        readable = False
        if os.path.exists(gx):
            try:
                p, f, s = gtest_counts(gx)
                readable = True
            except ET.ParseError:
                pass
        if entry_failed and f == 0:
            f = 1
            notes.append("%s ended without a test failure of its own (crash or time-out)" % name)
        elif not readable and not name.startswith(NO_XML_PREFIXES):
            # A run that "passed" but left no results ran nothing we can count
            # (a process that never got going, or died before writing them).
            f = 1
            notes.append("%s passed but left no readable results (%s)" % (name, gx))
        passed, failed, skipped = passed + p, failed + f, skipped + s
    return passed, failed, skipped, notes


def text_layer(path):
    try:
        with open(path, errors="replace") as fh:
            lines = [l for l in fh.read().splitlines() if l.strip()]
    except OSError:
        return 0, 1, 0, ["no result file %s" % path]
    m = LINE.search(lines[-1]) if lines else None
    if not m:
        return 0, 1, 0, ["no summary line in %s" % path]
    return int(m.group(1)), int(m.group(2)), int(m.group(3) or 0), []


def main(args):
    total = [0, 0, 0]
    for arg in args:
        layer, _, path = arg.partition("=")
        if path.endswith(".junit.xml"):
            p, f, s, notes = ctest_layer(path)
        else:
            p, f, s, notes = text_layer(path)
        for note in notes:
            print("  %s: %s" % (layer, note))
        print("%-12s %d passed, %d failed%s" % (layer + ":", p, f, ", %d skipped" % s if s else ""))
        total[0] += p
        total[1] += f
        total[2] += s
    line = "%d passed, %d failed" % (total[0], total[1])
    if total[2]:
        line += ", %d skipped" % total[2]
    print(line)
    return 1 if total[1] else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
