"""Known answers and edge cases of devservice's own authcode cipher."""

import base64
import math
import os
import time
import unittest

from devservice_process import APP_KEY, authcode


def flip(text: str, index: int) -> str:
    """text with the Base64 character at index replaced by one of another value."""
    return text[:index] + ("B" if text[index] == "A" else "A") + text[index + 1:]


class CipherTextShape(unittest.TestCase):
    def test_empty_payload_gives_39_characters(self):
        cipher = authcode.encode(b"", APP_KEY)
        self.assertEqual(len(cipher), 39)
        self.assertRegex(cipher[:4], "^[0-9a-f]{4}$")

    def test_length_formula_and_no_padding_for_every_remainder(self):
        for n in range(0, 40):
            with self.subTest(n=n):
                cipher = authcode.encode(b"x" * n, APP_KEY)
                self.assertEqual(len(cipher), 4 + math.ceil(4 * (26 + n) / 3))
                self.assertNotIn("=", cipher)
                self.assertRegex(cipher[4:], "^[A-Za-z0-9+/]*$")

    def test_base64_matches_the_standard_alphabet(self):
        for n in (1, 2, 3, 31):
            data = os.urandom(n)
            self.assertEqual(authcode._base64_encode(data).decode(),
                             base64.b64encode(data).decode().rstrip("="))
            self.assertEqual(authcode.base64_decode(base64.b64encode(data)), data)

    def test_stream_core_is_rc4(self):
        # Published RC4 vectors: the core is RC4 keyed with the repeated cryptkey.
        vectors = [(b"Key", b"Plaintext", "bbf316e8d940af0ad3"),
                   (b"Wiki", b"pedia", "1021bf0420"),
                   (b"Secret", b"Attack at dawn", "45a01f645fc35b383552544b9bf5")]
        for key, plain, cipher in vectors:
            self.assertEqual(authcode._crypt(key, plain).hex(), cipher)


class Decoding(unittest.TestCase):
    def test_round_trip_with_the_key_and_nothing_with_another(self):
        for data in (b"", b"1", '{"username":"用户"}'.encode(), bytes(range(256))):
            cipher = authcode.encode(data, APP_KEY).encode()
            self.assertEqual(authcode.decode(cipher, APP_KEY), data)
            self.assertIsNone(authcode.decode(cipher, b"another key"))

    def test_damaged_cipher_text_decodes_to_nothing(self):
        cipher = authcode.encode(b'{"code":608}', APP_KEY)
        salt = ("0" if cipher[0] != "0" else "1") + cipher[1:]
        cases = {"salt": salt, "check": flip(cipher, 4 + 16), "data": flip(cipher, 4 + 36),
                 "truncated": cipher[:-6], "empty": "", "three": cipher[:3], "salt only":
                 cipher[:4]}
        for name, text in cases.items():
            with self.subTest(name):
                self.assertIsNone(authcode.decode(text.encode(), APP_KEY))

    def test_characters_outside_the_alphabet_are_ignored(self):
        data = b'{"code":203,"data":{}}'
        cipher = authcode.encode(data, APP_KEY)
        body = cipher[4:]
        broken = cipher[:4] + "\r\n".join(body[i:i + 10] for i in range(0, len(body), 10))
        for text in (broken + "\n", cipher + "==", cipher[:4] + " \t" + body + "\x00\xff"):
            with self.subTest(text=text):
                self.assertEqual(authcode.decode(text.encode("latin-1"), APP_KEY), data)

    def test_expiry(self):
        now = time.time()
        never = authcode.encode(b"x", APP_KEY).encode()
        self.assertEqual(authcode.decode(never, APP_KEY, now=4e9), b"x")
        past = authcode.encode(b"x", APP_KEY, expiry=int(now) - 10).encode()
        self.assertIsNone(authcode.decode(past, APP_KEY))
        future = authcode.encode(b"x", APP_KEY, expiry=int(now) + 3600).encode()
        self.assertEqual(authcode.decode(future, APP_KEY), b"x")
        self.assertIsNone(authcode.decode(future, APP_KEY, now=now + 7200))

    def test_loose_reading_of_the_expiry_field(self):
        cases = {b"0000000000": 0, b"          ": 0, b"": 0, b" 12 ": 12, b"0x1A": 26,
                 b"1e3": 1000}
        for field, number in cases.items():
            self.assertEqual(authcode._loose_number(field), number, field)
        for field in (b"abc", b"12abc", b"1_0", b"inf"):
            self.assertTrue(math.isnan(authcode._loose_number(field)), field)


if __name__ == "__main__":
    unittest.main()
