"""The account endpoints: a decrypted payload in, a reply object {"code", "data"} out."""

import json

# Reply codes. The login and register ones are what the client knows; the rest are ours.
NOTICE = 200
REGISTERED, NAME_TAKEN, MISSING_FIELD = 203, 201, 202
SIGNED_IN, UNKNOWN_USER, WRONG_PASSWORD, FROZEN = 608, 601, 603, 604
SIGNED_OUT, BAD_TOKEN = 610, 612
PASSWORD_CHANGED, WRONG_SUPER_PASSWORD = 620, 622
USER_DATA, USER_DATA_STORED = 630, 640
BAD_PAYLOAD = 400


class PayloadError(Exception):
    """The payload is not what the endpoint takes; the message says why."""


def parse_payload(payload: bytes):
    """The payload as a JSON object (dict), or raises PayloadError."""
    try:
        text = payload.decode("utf-8")
    except UnicodeDecodeError:
        raise PayloadError("payload is not UTF-8 text") from None
    try:
        value = json.loads(text)
    except (ValueError, RecursionError):
        raise PayloadError("payload is not JSON") from None
    if not isinstance(value, dict):
        raise PayloadError("payload is not a JSON object")
    return value


def _text(payload: dict, name: str) -> str:
    """A string member; a missing one reads as the empty text."""
    value = payload.get(name, "")
    if not isinstance(value, str):
        raise PayloadError(f"member {name} is not a string")
    try:
        value.encode("utf-8")
    except UnicodeEncodeError:
        raise PayloadError(f"member {name} is not valid Unicode text") from None
    return value


def _reply(code: int, **data) -> dict:
    return {"code": code, "data": data}


class AccountApi:
    def __init__(self, accounts, settings):
        self._accounts = accounts
        self._settings = settings
        self._endpoints = {
            "Software/getInfo": self._get_info,
            "User/login": self._login,
            "User/register": self._register,
            "User/logout": self._logout,
            "User/passwordChange": self._password_change,
            "User/getUserData": self._get_user_data,
            "User/setUserData": self._set_user_data,
        }

    def knows(self, endpoint: str) -> bool:
        return endpoint in self._endpoints

    def call(self, endpoint: str, payload: bytes) -> dict:
        """The reply object; a payload the endpoint cannot take gets code 400 with data.error."""
        try:
            return self._endpoints[endpoint](payload)
        except PayloadError as error:
            return _reply(BAD_PAYLOAD, error=str(error))

    def _get_info(self, _payload: bytes) -> dict:
        # The client sends the bare text "1"; any payload gets the notice.
        return _reply(NOTICE, notice=self._settings.snapshot()["notice"])

    def _signed_in_check(self, payload: dict):
        """(username, None) when name and password check out, else (username, error reply)."""
        username = _text(payload, "username")
        result = self._accounts.check(username, _text(payload, "password"))
        failures = {"unknown": UNKNOWN_USER, "wrong": WRONG_PASSWORD, "frozen": FROZEN}
        return username, (_reply(failures[result]) if result in failures else None)

    def _login(self, payload: bytes) -> dict:
        username, failure = self._signed_in_check(parse_payload(payload))
        if failure:
            return failure
        return _reply(SIGNED_IN, token=self._accounts.new_token(username), username=username)

    def _register(self, payload: bytes) -> dict:
        fields = parse_payload(payload)
        username = _text(fields, "username")
        password = _text(fields, "password")
        super_password = _text(fields, "super_password")
        comment = _text(fields, "comment")
        user_data = _text(fields, "user_data")
        if not username or not password or not super_password:
            return _reply(MISSING_FIELD)
        if not self._accounts.create(username, password, super_password, comment, user_data):
            return _reply(NAME_TAKEN)
        return _reply(REGISTERED, username=username)

    def _logout(self, payload: bytes) -> dict:
        fields = parse_payload(payload)
        token = _text(fields, "token")
        username = _text(fields, "username")
        result = self._accounts.check(username, _text(fields, "password"))
        # A frozen account may still end its sessions.
        if result == "unknown":
            return _reply(UNKNOWN_USER)
        if result == "wrong":
            return _reply(WRONG_PASSWORD)
        if not self._accounts.end_token(username, token):
            return _reply(BAD_TOKEN)
        return _reply(SIGNED_OUT)

    def _password_change(self, payload: bytes) -> dict:
        fields = parse_payload(payload)
        username = _text(fields, "username")
        password = _text(fields, "password")
        super_password = _text(fields, "super_password")
        if not username or not password or not super_password:
            return _reply(MISSING_FIELD)
        result = self._accounts.check_super(username, super_password)
        failures = {"unknown": UNKNOWN_USER, "wrong": WRONG_SUPER_PASSWORD, "frozen": FROZEN}
        if result in failures:
            return _reply(failures[result])
        self._accounts.set_password(username, password)
        return _reply(PASSWORD_CHANGED)

    def _get_user_data(self, payload: bytes) -> dict:
        username, failure = self._signed_in_check(parse_payload(payload))
        if failure:
            return failure
        return _reply(USER_DATA, user_data=self._accounts.user_data(username))

    def _set_user_data(self, payload: bytes) -> dict:
        fields = parse_payload(payload)
        username, failure = self._signed_in_check(fields)
        if failure:
            return failure
        self._accounts.set_user_data(username, _text(fields, "user_data"))
        return _reply(USER_DATA_STORED)
