"""The request record: one JSON object per line in <state-dir>/requests.jsonl.

Written once per request, when the lab has read all of it (header, declared
body, and any bytes the client sent beyond the declared length), just before
it answers; flushed at once. Text fields hold the request bytes decoded as
Latin-1, one character per byte, so `s.encode("latin-1")` gives the exact
bytes back; `raw` holds the first bytes of the connection as received.
"""

import base64
import json
import threading
import time

RAW_LIMIT = 4096


class RequestLog:
    def __init__(self, path, append=False):
        self.path = path
        self._lock = threading.Lock()
        self._file = open(path, "a" if append else "w", encoding="utf-8")
        self._n = 0

    def close(self):
        with self._lock:
            self._file.close()

    def write(self, entry):
        with self._lock:
            self._n += 1
            entry = dict(entry, n=self._n)
            self._file.write(json.dumps(entry, ensure_ascii=False) + "\n")
            self._file.flush()


def make_entry(conn, request, status=None, fault=None):
    """Build the record of one request (request may be None when the client
    sent no complete header)."""
    raw = bytes(conn.raw[:RAW_LIMIT])
    entry = {
        "time": round(time.time(), 6),
        "listen": conn.listener.address,
        "role": conn.listener.role,
        "index": conn.listener.index,
        "peer": "%s:%d" % conn.peer,
        "header_complete": request is not None,
        "method": None, "target": None, "path": None, "query": None, "version": None,
        "headers": [],
        "header_length": None,
        "declared_length": None,
        "body_received": 0,
        "extra_bytes": 0,
        "bytes_received": conn.total_in,
        "status": status,
        "fault": str(fault) if fault else None,
        "raw_length": len(raw),
        "raw": base64.b64encode(raw).decode("ascii"),
    }
    if request is not None:
        entry.update({
            "method": request.method, "target": request.target, "path": request.path,
            "query": request.query, "version": request.version,
            "headers": [[k, v] for k, v in request.headers],
            "header_length": request.header_length,
            "declared_length": request.declared_length,
            "body_received": request.body_received,
            "extra_bytes": request.extra_bytes,
        })
    return entry
