#!/usr/bin/python3
"""Copies an executable with the file version of its version resource
replaced: patch_version.py IN OUT MAJOR.MINOR.PATCH.BUILD. The self-update
test serves such a copy as the newer version."""
import struct
import sys

src, dst, version = sys.argv[1], sys.argv[2], sys.argv[3]
a, b, c, d = (int(x) for x in version.split("."))
data = bytearray(open(src, "rb").read())
at = data.find(struct.pack("<I", 0xFEEF04BD))
if at < 0:
    sys.exit("no VS_FIXEDFILEINFO in " + src)
# signature, struct version, file version MS/LS, product version MS/LS
struct.pack_into("<IIII", data, at + 8, (a << 16) | b, (c << 16) | d, (a << 16) | b, (c << 16) | d)
open(dst, "wb").write(bytes(data))
