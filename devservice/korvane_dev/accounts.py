"""Accounts in SQLite: salted scrypt hashes of the password and super password, sign-in tokens."""

import hashlib
import hmac
import os
import secrets
import sqlite3
import threading
import time

# Light scrypt parameters: this store only ever serves loopback tests and demos, and every
# sign-in pays for one hash. They are stored per row, so stronger ones can come later.
SCRYPT_N, SCRYPT_R, SCRYPT_P = 2048, 8, 1
SALT_BYTES = 16
HASH_BYTES = 32

_SCHEMA = """
CREATE TABLE IF NOT EXISTS accounts (
    username TEXT PRIMARY KEY,
    password_hash TEXT NOT NULL,
    super_password_hash TEXT NOT NULL,
    comment TEXT NOT NULL DEFAULT '',
    user_data TEXT NOT NULL DEFAULT '',
    frozen INTEGER NOT NULL DEFAULT 0,
    created REAL NOT NULL
);
CREATE TABLE IF NOT EXISTS tokens (
    token TEXT PRIMARY KEY,
    username TEXT NOT NULL REFERENCES accounts(username),
    created REAL NOT NULL
);
"""


def hash_secret(secret: str) -> str:
    salt = os.urandom(SALT_BYTES)
    digest = hashlib.scrypt(secret.encode("utf-8", "surrogatepass"), salt=salt, n=SCRYPT_N,
                            r=SCRYPT_R, p=SCRYPT_P, dklen=HASH_BYTES)
    return f"scrypt${SCRYPT_N}${SCRYPT_R}${SCRYPT_P}${salt.hex()}${digest.hex()}"


def check_secret(secret: str, stored: str) -> bool:
    try:
        scheme, n, r, p, salt, digest = stored.split("$")
        if scheme != "scrypt":
            return False
        expected = bytes.fromhex(digest)
        actual = hashlib.scrypt(secret.encode("utf-8", "surrogatepass"), salt=bytes.fromhex(salt),
                                n=int(n), r=int(r), p=int(p), dklen=len(expected))
    except ValueError:
        return False
    return hmac.compare_digest(actual, expected)


class AccountStore:
    """All methods are safe to call from several threads; one connection behind a lock."""

    def __init__(self, path: str):
        self._lock = threading.Lock()
        self._db = sqlite3.connect(path, check_same_thread=False, isolation_level=None)
        self._db.execute("PRAGMA journal_mode=WAL")
        self._db.executescript(_SCHEMA)

    def close(self) -> None:
        with self._lock:
            self._db.close()

    def create(self, username: str, password: str, super_password: str, comment: str = "",
               user_data: str = "") -> bool:
        """False when the name is taken."""
        row = (username, hash_secret(password), hash_secret(super_password), comment, user_data,
               time.time())
        with self._lock:
            try:
                self._db.execute("INSERT INTO accounts (username, password_hash, "
                                 "super_password_hash, comment, user_data, created) "
                                 "VALUES (?, ?, ?, ?, ?, ?)", row)
            except sqlite3.IntegrityError:
                return False
        return True

    def _row(self, username: str):
        with self._lock:
            return self._db.execute(
                "SELECT password_hash, super_password_hash, frozen FROM accounts "
                "WHERE username = ?", (username,)).fetchone()

    def exists(self, username: str) -> bool:
        return self._row(username) is not None

    def check(self, username: str, password: str) -> str:
        """"unknown", "wrong", "frozen" or "ok"."""
        row = self._row(username)
        if row is None:
            return "unknown"
        if not check_secret(password, row[0]):
            return "wrong"
        return "frozen" if row[2] else "ok"

    def check_super(self, username: str, super_password: str) -> str:
        """"unknown", "wrong", "frozen" or "ok", for the super password."""
        row = self._row(username)
        if row is None:
            return "unknown"
        if not check_secret(super_password, row[1]):
            return "wrong"
        return "frozen" if row[2] else "ok"

    def set_frozen(self, username: str, frozen: bool) -> bool:
        with self._lock:
            cur = self._db.execute("UPDATE accounts SET frozen = ? WHERE username = ?",
                                   (1 if frozen else 0, username))
        return cur.rowcount == 1

    def set_password(self, username: str, password: str) -> None:
        """A new password also ends every open session of the account."""
        digest = hash_secret(password)
        with self._lock:
            self._db.execute("UPDATE accounts SET password_hash = ? WHERE username = ?",
                             (digest, username))
            self._db.execute("DELETE FROM tokens WHERE username = ?", (username,))

    def user_data(self, username: str) -> str:
        with self._lock:
            row = self._db.execute("SELECT user_data FROM accounts WHERE username = ?",
                                   (username,)).fetchone()
        return row[0] if row else ""

    def set_user_data(self, username: str, user_data: str) -> None:
        with self._lock:
            self._db.execute("UPDATE accounts SET user_data = ? WHERE username = ?",
                             (user_data, username))

    def new_token(self, username: str) -> str:
        token = secrets.token_hex(16)
        with self._lock:
            self._db.execute("INSERT INTO tokens (token, username, created) VALUES (?, ?, ?)",
                             (token, username, time.time()))
        return token

    def end_token(self, username: str, token: str) -> bool:
        """False when the token is not an open session of that account."""
        with self._lock:
            cur = self._db.execute("DELETE FROM tokens WHERE token = ? AND username = ?",
                                   (token, username))
        return cur.rowcount == 1

    def listing(self) -> list:
        with self._lock:
            rows = self._db.execute(
                "SELECT a.username, a.comment, a.user_data, a.frozen, "
                "(SELECT COUNT(*) FROM tokens t WHERE t.username = a.username) "
                "FROM accounts a ORDER BY a.created, a.username").fetchall()
        return [{"username": u, "comment": c, "user_data": d, "frozen": bool(f), "sessions": s}
                for u, c, d, f, s in rows]
