"""The HTTPS SMS gateway: GET /sms?u=..&p=..&m=<phone>&c=<percent-encoded text>."""

import re
import ssl
import urllib.parse

from . import console
from .http_common import BoundedHandler, QuietServer

ACCOUNT = "Korvane"
PASSWORD_DIGEST = "c4e1a97b03d8f25e6a0b14c9d7f38e52"
_CODE = re.compile(r"\d{4,8}")


def code_in(text: str) -> str:
    """The verification code a message carries: its first run of 4 to 8 digits."""
    found = _CODE.search(text)
    return found.group(0) if found else ""


class SmsHandler(BoundedHandler):
    records = None  # set on the class made for one server

    def setup(self):
        super().setup()
        # The handshake runs here, in this connection's thread, under the socket time-out,
        # so a client that never completes it holds up no one else.
        self.request.do_handshake()

    def do_GET(self):
        self.guarded(self._get)

    def do_POST(self):
        self.guarded(lambda: self.send_text(405, "error: the gateway takes GET /sms\n"))

    def _get(self) -> None:
        parts = urllib.parse.urlsplit(self.path)
        if parts.path != "/sms":
            self.send_text(404, f"error: no such path {parts.path}\n")
            return
        fields = {}
        for name, value in urllib.parse.parse_qsl(parts.query, keep_blank_values=True,
                                                  encoding="utf-8", errors="replace"):
            fields.setdefault(name, value)
        accepted = fields.get("u") == ACCOUNT and fields.get("p") == PASSWORD_DIGEST
        text = fields.get("c", "")
        entry = {"u": fields.get("u"), "p": fields.get("p"), "m": fields.get("m"), "c": text,
                 "query": parts.query, "code": code_in(text), "accepted": accepted}
        self.records.add("sms", entry)
        if not accepted:
            self.send_text(403, "error: unknown gateway account\n")
            return
        if not entry["m"]:
            self.send_text(400, "error: no phone number\n")
            return
        console.say(f"SMS to {entry['m']}: code {entry['code'] or '(none)'}  [{text}]")
        self.send_text(200, "OK\n")


def make_server(host: str, port: int, records, cert: str, key: str) -> QuietServer:
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.minimum_version = ssl.TLSVersion.TLSv1_2
    context.load_cert_chain(cert, key)
    handler = type("BoundSmsHandler", (SmsHandler,), {"records": records})
    server = QuietServer((host, port), handler)
    server.socket = context.wrap_socket(server.socket, server_side=True,
                                        do_handshake_on_connect=False)
    return server
