"""The HTTP port: the account API under /index.php/api/ and the admin interface under /admin/."""

import json
import urllib.parse

from . import account_api, authcode
from .http_common import BoundedHandler, QuietServer

API_PREFIX = "/index.php/api/"
APP_ID = "1"
APP_KEY = b"Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb0"


class PlainError(Exception):
    """A request too broken to answer in cipher text."""

    def __init__(self, status: int, message: str):
        super().__init__(message)
        self.status = status


def parse_form(body: bytes) -> dict:
    """The fields id and data of a form body, data as the bytes it carries."""
    try:
        pairs = urllib.parse.parse_qsl(body.decode("latin-1"), keep_blank_values=True,
                                       strict_parsing=True, encoding="latin-1",
                                       errors="strict", max_num_fields=16)
    except ValueError:
        raise PlainError(400, "bad form: expected id=...&data=...") from None
    fields = {}
    for name, value in pairs:
        if name in fields:
            raise PlainError(400, f"bad form: field {name} given twice")
        fields[name] = value
    for name in ("id", "data"):
        if name not in fields:
            raise PlainError(400, f"bad form: no field {name}")
    return fields


def payload_view(payload: bytes):
    """What the admin listing shows: the JSON object itself, or the text when it is not one."""
    text = payload.decode("utf-8", "replace")
    try:
        value = json.loads(text)
    except (ValueError, RecursionError):
        return text, text
    return (value if isinstance(value, dict) else text), text


class ApiHandler(BoundedHandler):
    # Set on the class made for one server: AccountApi, Records, Settings, Admin.
    api = records = settings = admin = None

    def do_GET(self):
        self.guarded(lambda: self._route("GET"))

    def do_POST(self):
        self.guarded(lambda: self._route("POST"))

    def _route(self, method: str) -> None:
        path = urllib.parse.urlsplit(self.path).path
        if path.startswith(API_PREFIX):
            body = self.read_body() if method == "POST" else b""
            self._account_call(method, path[len(API_PREFIX):], body)
        elif path.startswith("/admin/"):
            body = self.read_body() if method == "POST" else b""
            status, value = self.admin.handle(method, path[len("/admin/"):], body)
            self.send_json(status, value)
        elif path == "/" and method == "GET":
            self.send_text(200, "Korvane devservice\n")
        else:
            self.send_text(404, f"error: no such path {path}\n")

    def _account_call(self, method: str, endpoint: str, body: bytes) -> None:
        entry = {"endpoint": endpoint, "id": None, "payload": None, "payload_text": None,
                 "body": body.decode("latin-1"), "code": None, "status": None, "error": None}
        try:
            status, reply = self._answer(method, endpoint, body, entry)
            entry["code"] = reply["code"]
            raw = self.settings.snapshot()["raw_utf8"]
            reply_text = json.dumps(reply, ensure_ascii=not raw, separators=(",", ":"))
            cipher = authcode.encode(reply_text.encode("utf-8"), APP_KEY)
            entry["status"] = status
            self.records.add("requests", entry)
            self.send_bytes(status, cipher.encode("ascii"), "text/plain; charset=utf-8")
        except PlainError as error:
            entry["status"] = error.status
            entry["error"] = str(error)
            self.records.add("requests", entry)
            self.send_text(error.status, f"error: {error}\n")

    def _answer(self, method: str, endpoint: str, body: bytes, entry: dict):
        if not self.api.knows(endpoint):
            raise PlainError(404, f"unknown endpoint {endpoint}")
        if method != "POST":
            raise PlainError(405, "account calls are POST requests")
        fields = parse_form(body)
        entry["id"] = fields["id"]
        if fields["id"] != APP_ID:
            raise PlainError(403, "unknown application id")
        payload = authcode.decode(fields["data"].encode("latin-1"), APP_KEY)
        if payload is None:
            raise PlainError(400, "data is not cipher text under the application key")
        entry["payload"], entry["payload_text"] = payload_view(payload)
        reply = self.api.call(endpoint, payload)
        return (400 if reply["code"] == account_api.BAD_PAYLOAD else 200), reply


def make_server(host: str, port: int, api, records, settings, admin) -> QuietServer:
    handler = type("BoundApiHandler", (ApiHandler,),
                   {"api": api, "records": records, "settings": settings, "admin": admin})
    return QuietServer((host, port), handler)
