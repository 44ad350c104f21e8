"""The SMTP server: AUTH LOGIN or PLAIN with the client's account is required; mail is kept."""

import asyncio
import email
import email.policy
import logging
import socket
import threading
import warnings

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

from . import console
from .sms_gateway import code_in

USER = b"korvane"
PASSWORD = b"RHVWKOZPJDNCEQLU"
MAX_MAIL = 1 << 20
IDLE_TIMEOUT = 30
STOP_TIMEOUT = 5

# Plain AUTH on loopback is the point here; aiosmtpd's advice against it would only be noise.
logging.getLogger("mail.log").setLevel(logging.ERROR)
warnings.filterwarnings("ignore", message="Requiring AUTH while not requiring TLS")


def authenticate(_server, _session, _envelope, _mechanism, auth_data) -> AuthResult:
    if (isinstance(auth_data, LoginPassword) and auth_data.login == USER
            and auth_data.password == PASSWORD):
        return AuthResult(success=True, auth_data=auth_data)
    # handled=False makes aiosmtpd answer 535; with handled=True it would say nothing at all.
    return AuthResult(success=False, handled=False)


def _text_part(message):
    """(decoded text of the plain-text part, its declared character set)."""
    part = message.get_body(preferencelist=("plain",))
    if part is None:
        return "", None
    charset = part.get_content_charset()
    try:
        text = part.get_content()
    except (LookupError, UnicodeError, KeyError):
        text = part.get_payload(decode=True).decode(charset or "utf-8", "replace")
    return text.replace("\r\n", "\n").rstrip("\n"), charset


def describe(envelope, login) -> dict:
    raw = envelope.original_content or b""
    entry = {"from": envelope.mail_from, "to": list(envelope.rcpt_tos), "subject": "",
             "body": "", "charset": None, "raw": raw.decode("utf-8", "replace"),
             "auth_user": login, "code": ""}
    try:
        message = email.message_from_bytes(raw, policy=email.policy.default)
        entry["subject"] = str(message.get("subject", ""))
        entry["body"], entry["charset"] = _text_part(message)
    except Exception as error:  # a mail we cannot read is still recorded, raw
        entry["error"] = f"unreadable mail: {error}"
    entry["code"] = code_in(entry["body"])
    return entry


class MailHandler:
    def __init__(self, records):
        self._records = records

    async def handle_DATA(self, _server, session, envelope):
        login = session.login_data.decode("utf-8", "replace") if session.login_data else None
        entry = describe(envelope, login)
        self._records.add("mail", entry)
        console.say(f"Mail to {', '.join(entry['to'])}: code {entry['code'] or '(none)'}")
        return "250 2.0.0 OK: message accepted"


class SmtpServer:
    """Listens from construction on; serves on its own thread between start() and stop()."""

    def __init__(self, host: str, port: int, records):
        self._loop = asyncio.new_event_loop()
        sock = socket.create_server((host, port))
        self.port = sock.getsockname()[1]
        handler = MailHandler(records)

        def protocol():
            return SMTP(handler, hostname="korvane.test", loop=self._loop,
                        authenticator=authenticate, auth_required=True, auth_require_tls=False,
                        data_size_limit=MAX_MAIL, timeout=IDLE_TIMEOUT)

        self._server = self._loop.run_until_complete(
            self._loop.create_server(protocol, sock=sock))
        self._thread = threading.Thread(target=self._loop.run_forever, name="smtp", daemon=True)

    def start(self) -> None:
        self._thread.start()

    def stop(self) -> None:
        def close():
            self._server.close()
            self._loop.stop()

        self._loop.call_soon_threadsafe(close)
        self._thread.join(STOP_TIMEOUT)
