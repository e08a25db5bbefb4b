"""The lab's SQLite database: issued test numbers and every report submission.

One connection shared by the handler threads behind a lock; every write is
committed at once so a test (or the sqlite3 shell) sees it immediately.
"""

import json
import os
import sqlite3
import threading
import time

SCHEMA = """
CREATE TABLE IF NOT EXISTS test_numbers (
    id        INTEGER PRIMARY KEY AUTOINCREMENT,
    seq       TEXT NOT NULL,
    user      BLOB,
    issued_at REAL NOT NULL
);
CREATE TABLE IF NOT EXISTS reports (
    id              INTEGER PRIMARY KEY AUTOINCREMENT,
    received_at     REAL NOT NULL,
    endpoint        TEXT NOT NULL,      -- 'save' or 'query'
    listen          TEXT NOT NULL,
    peer            TEXT NOT NULL,
    seq             TEXT,               -- GBK-decoded seq field, NULL if absent
    declared_length INTEGER,
    received_length INTEGER NOT NULL,   -- body bytes received, extra bytes included
    raw_body        BLOB NOT NULL,      -- every body byte received
    fields_json     TEXT NOT NULL       -- [[key, value], ...] GBK-decoded, body order
);
CREATE INDEX IF NOT EXISTS reports_seq ON reports(seq);
"""

# Test numbers start here so they look like the platform's six-digit numbers.
FIRST_TEST_NUMBER = 100001


class Store:
    def __init__(self, path):
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
        self.path = path
        self._lock = threading.Lock()
        self._db = sqlite3.connect(path, check_same_thread=False, isolation_level=None)
        self._db.execute("PRAGMA journal_mode=WAL")
        self._db.executescript(SCHEMA)

    def close(self):
        with self._lock:
            self._db.close()

    def issue_test_number(self, user):
        """A fresh test number (digits), never handed out before in this state dir."""
        with self._lock:
            cur = self._db.execute(
                "INSERT INTO test_numbers(seq, user, issued_at) VALUES ('', ?, ?)",
                (user, time.time()))
            seq = str(FIRST_TEST_NUMBER - 1 + cur.lastrowid)
            self._db.execute("UPDATE test_numbers SET seq = ? WHERE id = ?", (seq, cur.lastrowid))
            return seq

    def save_report(self, endpoint, listen, peer, form, raw_body, declared_length):
        from .reportform import decode_text
        fields = [[decode_text(k), decode_text(v)] for k, v in form.pairs]
        seq = form.text("seq", None)
        with self._lock:
            cur = self._db.execute(
                "INSERT INTO reports(received_at, endpoint, listen, peer, seq, declared_length,"
                " received_length, raw_body, fields_json) VALUES (?,?,?,?,?,?,?,?,?)",
                (time.time(), endpoint, listen, peer, seq, declared_length,
                 len(raw_body), raw_body, json.dumps(fields, ensure_ascii=False)))
            return cur.lastrowid

    def latest_report(self, seq):
        """(raw_body, declared_length, received_at) of the newest submission for
        `seq`, or None."""
        with self._lock:
            row = self._db.execute(
                "SELECT raw_body, declared_length, received_at FROM reports"
                " WHERE seq = ? ORDER BY id DESC LIMIT 1", (seq,)).fetchone()
        return row

    def count_reports(self):
        with self._lock:
            return self._db.execute("SELECT COUNT(*) FROM reports").fetchone()[0]
