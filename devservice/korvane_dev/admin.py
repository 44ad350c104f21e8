"""The admin interface tests and demos use: create or freeze accounts, read what arrived."""

import json


class AdminError(Exception):
    def __init__(self, status: int, message: str):
        super().__init__(message)
        self.status = status


def _object(body: bytes) -> dict:
    try:
        value = json.loads(body.decode("utf-8")) if body.strip() else {}
    except (UnicodeDecodeError, ValueError, RecursionError):
        raise AdminError(400, "body is not JSON") from None
    if not isinstance(value, dict):
        raise AdminError(400, "body is not a JSON object")
    return value


def _member(fields: dict, name: str, kind, default=None):
    if name not in fields:
        if default is None:
            raise AdminError(400, f"member {name} missing")
        return default
    value = fields[name]
    if not isinstance(value, kind):
        raise AdminError(400, f"member {name} has the wrong type")
    if isinstance(value, str):
        try:
            value.encode("utf-8")
        except UnicodeEncodeError:
            raise AdminError(400, f"member {name} is not valid Unicode text") from None
    return value


class Admin:
    def __init__(self, accounts, records, settings):
        self._accounts = accounts
        self._records = records
        self._settings = settings
        self._routes = {
            ("GET", "requests"): lambda _: {"requests": self._records.list("requests")},
            ("GET", "sms"): lambda _: {"sms": self._records.list("sms")},
            ("GET", "mail"): lambda _: {"mail": self._records.list("mail")},
            ("GET", "accounts"): lambda _: {"accounts": self._accounts.listing()},
            ("GET", "config"): lambda _: self._settings.snapshot(),
            ("POST", "accounts"): self._create_account,
            ("POST", "freeze"): self._freeze,
            ("POST", "config"): self._config,
            ("POST", "reset"): self._reset,
        }

    def handle(self, method: str, path: str, body: bytes):
        """(HTTP status, JSON value) of one admin call; failures are {"ok": false, "error"}."""
        route = self._routes.get((method, path.strip("/")))
        if route is None:
            known = any(p == path.strip("/") for _, p in self._routes)
            status = 405 if known else 404
            return status, {"ok": False, "error": f"no admin call {method} /admin/{path}"}
        try:
            return 200, route(body)
        except AdminError as error:
            return error.status, {"ok": False, "error": str(error)}

    def _create_account(self, body: bytes) -> dict:
        fields = _object(body)
        username = _member(fields, "username", str)
        values = (username, _member(fields, "password", str),
                  _member(fields, "super_password", str, ""), _member(fields, "comment", str, ""),
                  _member(fields, "user_data", str, ""))
        frozen = _member(fields, "frozen", bool, False)
        if not self._accounts.create(*values):
            raise AdminError(409, "account exists")
        if frozen:
            self._accounts.set_frozen(username, True)
        return {"ok": True}

    def _freeze(self, body: bytes) -> dict:
        fields = _object(body)
        if not self._accounts.set_frozen(_member(fields, "username", str),
                                         _member(fields, "frozen", bool, True)):
            raise AdminError(404, "no such account")
        return {"ok": True}

    def _config(self, body: bytes) -> dict:
        fields = _object(body)
        notice = _member(fields, "notice", str, False) if "notice" in fields else None
        raw_utf8 = _member(fields, "raw_utf8", bool) if "raw_utf8" in fields else None
        self._settings.update(notice=notice, raw_utf8=raw_utf8)
        return {"ok": True, **self._settings.snapshot()}

    def _reset(self, _body: bytes) -> dict:
        self._records.reset()
        return {"ok": True}
