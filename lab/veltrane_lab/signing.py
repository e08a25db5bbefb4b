"""The lab signs its update like the operator does: a fresh ECDSA P-256 key
pair per run (scripts/sign-update, which uses the openssl command), the raw
r||s signature served at the update URL with ".sig" appended, the public key
written to <state-dir>/update-key.hex for the client's server set."""
import os
import subprocess
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SIGN = os.path.join(ROOT, "scripts", "sign-update")


def sign_update(update_bytes, state_dir):
    """The signature of update_bytes, or None when openssl is missing."""
    with tempfile.TemporaryDirectory(prefix="vt-lab-sign-") as work:
        key = os.path.join(work, "key.pem")
        update = os.path.join(work, "update.exe")
        with open(update, "wb") as f:
            f.write(update_bytes or b"")
        try:
            subprocess.run([SIGN, "--new-key", key], check=True, capture_output=True)
            public = subprocess.run([SIGN, "--public-key", key], check=True, capture_output=True).stdout
            subprocess.run([SIGN, key, update], check=True, capture_output=True)
        except (OSError, subprocess.CalledProcessError):
            return None
        with open(os.path.join(state_dir, "update-key.hex"), "wb") as f:
            f.write(public.strip() + b"\n")
        with open(update + ".sig", "rb") as f:
            return f.read()
