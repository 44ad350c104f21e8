"""Malformed requests get an error reply, and the service keeps answering."""

import socket
import unittest

from devservice_process import APP_KEY, DevServiceProcess, authcode, escape_form_value


def setUpModule():
    global service
    service = DevServiceProcess().__enter__()


def tearDownModule():
    service.close()


def cipher_of(text: bytes) -> bytes:
    return escape_form_value(authcode.encode(text, APP_KEY)).encode()


def raw_exchange(data: bytes) -> bytes:
    """Sends bytes on a fresh connection and reads until the service closes it."""
    with socket.create_connection(("127.0.0.1", service.ports["http"]), timeout=30) as conn:
        conn.sendall(data)
        conn.shutdown(socket.SHUT_WR)
        reply = b""
        while chunk := conn.recv(65536):
            reply += chunk
        return reply


class MalformedAccountCalls(unittest.TestCase):
    def tearDown(self):
        # Whatever came before, a proper call still works.
        self.assertEqual(service.call("Software/getInfo", "1")["code"], 200)
        self.assertIsNone(service.process.poll())

    def test_plain_error_replies(self):
        good = b"id=1&data=" + cipher_of(b'{"username":"a","password":"b"}')
        cases = [
            ("no data", "User/login", b"id=1", 400, b"bad form"),
            ("no id", "User/login", b"data=" + cipher_of(b"{}"), 400, b"bad form"),
            ("not a form", "User/login", b"\x00\xff garbage", 400, b"bad form"),
            ("field twice", "User/login", good + b"&id=1", 400, b"twice"),
            ("empty body", "User/login", b"", 400, b"bad form"),
            ("wrong id", "User/login", good.replace(b"id=1", b"id=2"), 403, b"application id"),
            ("bad cipher", "User/login", b"id=1&data=0123notcipher", 400, b"cipher"),
            ("short cipher", "User/login", b"id=1&data=ab", 400, b"cipher"),
            ("other key", "User/login", b"id=1&data=" + escape_form_value(
                authcode.encode(b"{}", b"other")).encode(), 400, b"cipher"),
            ("unknown endpoint", "User/nothing", good, 404, b"unknown endpoint"),
            ("no endpoint", "", good, 404, b"unknown endpoint"),
        ]
        for name, endpoint, body, status, words in cases:
            with self.subTest(name):
                got_status, reply = service.post_form(endpoint, body)
                self.assertEqual(got_status, status)
                self.assertTrue(reply.startswith(b"error: "), reply)
                self.assertIn(words, reply)
                self.assertIsNone(authcode.decode(reply, APP_KEY))

    def test_bad_payloads_get_code_400_in_cipher_text(self):
        cases = {"not JSON": b"{bad", "not an object": b"[1]", "not UTF-8": b'{"a":"\xff"}',
                 "number member": b'{"username":1,"password":"p"}',
                 "lone surrogate": b'{"username":"\\ud800","password":"p"}',
                 "deep": b"[" * 100000}
        for name, payload in cases.items():
            with self.subTest(name):
                status, reply = service.post_form("User/login", b"id=1&data=" + cipher_of(payload))
                self.assertEqual(status, 400)
                plain = authcode.decode(reply, APP_KEY)
                self.assertRegex(plain, rb'^\{"code":400,"data":\{"error":"[^"]+"\}\}$')

    def test_get_on_an_endpoint(self):
        status, reply = service.http("/index.php/api/User/login")
        self.assertEqual(status, 405)
        self.assertTrue(reply.startswith(b"error: "))

    def test_broken_http(self):
        cases = [b"\x16\x03\x01 not http\r\n\r\n",
                 b"POST /index.php/api/User/login HTTP/1.1\r\nContent-Length: 99999999\r\n\r\n",
                 b"POST /index.php/api/User/login HTTP/1.1\r\nContent-Length: -4\r\n\r\n",
                 b"POST /index.php/api/User/login HTTP/1.1\r\nContent-Length: 50\r\n\r\nid=1",
                 b"POST /index.php/api/User/login HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"
                 b"zz\r\n",
                 b"GET /" + b"a" * 70000 + b" HTTP/1.1\r\n\r\n"]
        for data in cases:
            with self.subTest(data=data[:60]):
                reply = raw_exchange(data)
                # A request line without a version is answered the HTTP/0.9 way, body only.
                self.assertRegex(reply, rb"(?s)^HTTP/1\.[01] 4\d\d|^<!DOCTYPE.*Error code: 400")

    def test_chunked_body_is_read(self):
        body = b"id=1&data=" + cipher_of(b"1")
        request = (b"POST /index.php/api/Software/getInfo HTTP/1.1\r\nHost: x\r\n"
                   b"Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n" +
                   b"%x\r\n" % len(body) + body + b"\r\n0\r\n\r\n")
        reply = raw_exchange(request)
        self.assertTrue(reply.startswith(b"HTTP/1.1 200"), reply[:100])
        self.assertIn(b'"code":200', authcode.decode(reply.split(b"\r\n\r\n", 1)[1], APP_KEY))

    def test_a_stalled_client_holds_up_no_one(self):
        with socket.create_connection(("127.0.0.1", service.ports["http"]), timeout=30) as idle:
            idle.sendall(b"POST /index.php/api/User/login HTTP/1.1\r\nContent-Length: 100\r\n\r\n")
            self.assertEqual(service.call("Software/getInfo", "1")["code"], 200)


class MalformedAdminCalls(unittest.TestCase):
    def test_error_replies(self):
        cases = [("accounts", b"{bad", 400), ("accounts", b"[]", 400),
                 ("accounts", b'{"username":"u"}', 400),
                 ("accounts", b'{"username":1,"password":"p"}', 400),
                 ("freeze", b'{"username":"nobody"}', 404),
                 ("config", b'{"raw_utf8":"yes"}', 400), ("nothing", b"{}", 404)]
        for path, body, status in cases:
            with self.subTest(path=path, body=body):
                got_status, reply = service.http("/admin/" + path, body)
                self.assertEqual(got_status, status)
                self.assertIn(b'"ok": false', reply)
        self.assertEqual(service.http("/admin/accounts", b'{"username":"dup","password":"p"}')[0],
                         200)
        self.assertEqual(service.http("/admin/accounts", b'{"username":"dup","password":"p"}')[0],
                         409)
        self.assertEqual(service.http("/admin/reset")[0], 405)  # a GET of a POST call
        self.assertIsNone(service.process.poll())


if __name__ == "__main__":
    unittest.main()
