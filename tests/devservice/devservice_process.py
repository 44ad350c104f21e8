"""Starts a devservice for a test and talks to it the way the client does."""

import atexit
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

SOURCE_DIR = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", ".."))
SERVICE = os.path.join(SOURCE_DIR, "devservice", "korvane_devservice.py")
sys.path.insert(0, os.path.join(SOURCE_DIR, "devservice"))

from korvane_dev import authcode  # noqa: E402

PYTHON = "/usr/bin/python3"
APP_KEY = b"Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb0"
START_TIMEOUT = 60
STOP_TIMEOUT = 10
CALL_TIMEOUT = 30

_shared_ca_dir = None


def shared_ca_dir() -> str:
    """One CA for the whole test program, made by the first service that starts."""
    global _shared_ca_dir
    if _shared_ca_dir is None:
        _shared_ca_dir = tempfile.mkdtemp(prefix="korvane-test-ca-")
        atexit.register(shutil.rmtree, _shared_ca_dir, True)
    return _shared_ca_dir


def escape_form_value(cipher: str) -> str:
    return cipher.replace("+", "%2B").replace("&", "%26").replace("/", "%2F")


class DevServiceProcess:
    def __init__(self, *extra_args, ca_dir=None, data_dir=None):
        self._own_data = data_dir is None
        self.data_dir = data_dir or tempfile.mkdtemp(prefix="korvane-test-data-")
        self.ca_dir = ca_dir or shared_ca_dir()
        self.log_path = os.path.join(self.data_dir, "devservice.log")
        self._log = open(self.log_path, "wb")
        self.process = subprocess.Popen(
            [PYTHON, SERVICE, "--data", self.data_dir, "--ca-dir", self.ca_dir,
             "--http-port", "0", "--sms-port", "0", "--smtp-port", "0", *extra_args],
            stdin=subprocess.DEVNULL, stdout=self._log, stderr=subprocess.STDOUT)
        self.ports = None

    def wait_ready(self) -> bool:
        ports_file = os.path.join(self.data_dir, "ports.json")
        deadline = time.monotonic() + START_TIMEOUT
        while time.monotonic() < deadline and self.process.poll() is None:
            if os.path.exists(ports_file):
                with open(ports_file, encoding="ascii") as f:
                    self.ports = json.load(f)
                return True
            time.sleep(0.01)
        return False

    def output(self) -> str:
        self._log.flush()
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def stop(self, signum=signal.SIGTERM) -> int:
        if self.process.poll() is None:
            self.process.send_signal(signum)
            try:
                self.process.wait(STOP_TIMEOUT)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        return self.process.returncode

    def close(self) -> None:
        self.stop()
        self._log.close()
        if self._own_data:
            shutil.rmtree(self.data_dir, ignore_errors=True)

    def __enter__(self):
        if not self.wait_ready():
            output = self.output()
            self.close()
            raise RuntimeError(f"devservice did not start:\n{output}")
        return self

    def __exit__(self, *_):
        self.close()

    # -- talking to it -------------------------------------------------------------------

    def url(self, path: str) -> str:
        return f"http://127.0.0.1:{self.ports['http']}{path}"

    def http(self, path: str, body: bytes = None, method: str = None):
        """(status, body bytes) of one request; error statuses are answers too."""
        request = urllib.request.Request(self.url(path), data=body, method=method)
        try:
            with urllib.request.urlopen(request, timeout=CALL_TIMEOUT) as reply:
                return reply.status, reply.read()
        except urllib.error.HTTPError as error:
            return error.code, error.read()

    def post_form(self, endpoint: str, body: bytes):
        return self.http("/index.php/api/" + endpoint, body)

    def call_bytes(self, endpoint: str, payload, key: bytes = APP_KEY):
        """The decrypted reply bytes of one account call as the client makes it, or None."""
        text = payload if isinstance(payload, str) else json.dumps(payload, ensure_ascii=False,
                                                                   separators=(",", ":"))
        cipher = escape_form_value(authcode.encode(text.encode("utf-8"), key))
        _, reply = self.post_form(endpoint, b"id=1&data=" + cipher.encode("ascii"))
        return authcode.decode(reply, APP_KEY)

    def call(self, endpoint: str, payload, key: bytes = APP_KEY):
        """The decrypted reply object of one account call, or None."""
        plain = self.call_bytes(endpoint, payload, key)
        return None if plain is None else json.loads(plain.decode("utf-8"))

    def admin(self, name: str, value=None):
        body = None if value is None else json.dumps(value).encode("utf-8")
        status, reply = self.http("/admin/" + name, body, "POST" if value is not None else "GET")
        return status, json.loads(reply.decode("ascii"))
