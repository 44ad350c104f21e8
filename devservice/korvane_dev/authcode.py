"""The authcode cipher: a keyed RC4-style stream with salt, expiry and integrity check.

Text travels as 4 salt characters followed by Base64 without "=". The plain block is a
10-digit expiry, 16 check characters and the payload bytes.
"""

import hashlib
import re
import secrets
import time

SALT_LENGTH = 4
_ALPHABET = b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
_DECODE_TABLE = [-1] * 256
for _value, _char in enumerate(_ALPHABET):
    _DECODE_TABLE[_char] = _value
_EQUALS = ord("=")

# Numeric forms a loose script comparison accepts for the expiry field.
_DECIMAL = re.compile(r"[+-]?(?:Infinity|\d+\.?\d*(?:[eE][+-]?\d+)?|\.\d+(?:[eE][+-]?\d+)?)")
_HEX = re.compile(r"0[xX][0-9a-fA-F]+")


def md5_hex(data: bytes) -> str:
    return hashlib.md5(data).hexdigest()


def _derived_keys(key: bytes):
    k = md5_hex(key)
    keya = md5_hex(k[:16].encode())
    keyb = md5_hex(k[16:].encode())
    return keya, keyb


def _crypt(cryptkey: bytes, data: bytes) -> bytes:
    box = list(range(256))
    rndkey = [cryptkey[i % len(cryptkey)] for i in range(256)]
    j = 0
    for i in range(256):
        j = (j + box[i] + rndkey[i]) % 256
        box[i], box[j] = box[j], box[i]
    out = bytearray(len(data))
    a = j = 0
    for n, byte in enumerate(data):
        a = (a + 1) % 256
        j = (j + box[a]) % 256
        box[a], box[j] = box[j], box[a]
        out[n] = byte ^ box[(box[a] + box[j]) % 256]
    return bytes(out)


def _base64_encode(data: bytes) -> bytes:
    out = bytearray()
    for i in range(0, len(data), 3):
        group = data[i:i + 3]
        bits = int.from_bytes(group + b"\0" * (3 - len(group)), "big")
        chars = [_ALPHABET[(bits >> shift) & 0x3F] for shift in (18, 12, 6, 0)]
        out += bytes(chars[:len(group) + 1])  # the "=" padding is never written
    return bytes(out)


def base64_decode(text: bytes) -> bytes:
    """Lenient Base64: skips characters outside the alphabet, stops at "=" or a short end."""
    out = bytearray()
    n = len(text)
    i = 0

    def member(stop_at_equals: bool):
        nonlocal i
        while True:
            raw = text[i] if i < n else 0
            i += 1
            if stop_at_equals and raw == _EQUALS:
                return None
            value = _DECODE_TABLE[raw]
            if not (i < n and value == -1):
                return value

    while i < n:
        c1 = member(False)
        if c1 == -1:
            break
        c2 = member(False)
        if c2 == -1:
            break
        out.append((c1 << 2) | ((c2 & 0x30) >> 4))
        c3 = member(True)
        if c3 is None:
            return bytes(out)
        if c3 == -1:
            break
        out.append(((c2 & 0x0F) << 4) | ((c3 & 0x3C) >> 2))
        c4 = member(True)
        if c4 is None:
            return bytes(out)
        if c4 == -1:
            break
        out.append(((c3 & 0x03) << 6) | c4)
    return bytes(out)


def _loose_number(field: bytes) -> float:
    """The number a script engine's loose comparison reads from the expiry field (NaN if none)."""
    text = field.decode("latin-1").strip(" \t\n\v\f\r\xa0")
    if text == "":
        return 0.0
    if _HEX.fullmatch(text):
        return float(int(text, 16))
    if _DECIMAL.fullmatch(text):
        return float(text.replace("Infinity", "inf"))
    return float("nan")


def encode(data: bytes, key: bytes, expiry: int = 0, salt: str = "") -> str:
    """Cipher text of data. expiry is an absolute Unix time (0: never); salt: 4 hex digits."""
    keya, keyb = _derived_keys(key)
    keyc = salt or secrets.token_hex(SALT_LENGTH // 2)
    cryptkey = (keya + md5_hex((keya + keyc).encode())).encode()
    block = b"%010d" % expiry + md5_hex(data + keyb.encode())[:16].encode() + data
    return keyc + _base64_encode(_crypt(cryptkey, block)).decode("ascii")


def decode(cipher: bytes, key: bytes, now: float = None) -> bytes:
    """The payload, or None when the text does not check out or has expired."""
    if len(cipher) < SALT_LENGTH:
        return None
    keya, keyb = _derived_keys(key)
    keyc = cipher[:SALT_LENGTH]
    cryptkey = (keya + md5_hex(keya.encode() + keyc)).encode()
    block = _crypt(cryptkey, base64_decode(cipher[SALT_LENGTH:]))
    expiry = _loose_number(block[:10])
    current = time.time() if now is None else now
    if not (expiry == 0 or expiry - int(current) > 0):
        return None
    data = block[26:]
    if block[10:26] != md5_hex(data + keyb.encode())[:16].encode():
        return None
    return data
