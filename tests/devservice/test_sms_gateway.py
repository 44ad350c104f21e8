"""The SMS gateway over HTTPS, trusted through the development CA."""

import os
import ssl
import subprocess
import unittest
import urllib.error
import urllib.request

from devservice_process import DevServiceProcess

DIGEST = "c4e1a97b03d8f25e6a0b14c9d7f38e52"
ENCODED_TEXT = ("%E3%80%90Korvane%E3%80%91%E6%82%A8%E6%AD%A3%E5%9C%A8%E8%BF%9B%E8%A1%8C%E6%89%8B"
                "%E6%9C%BA%E8%AE%A4%E8%AF%81%EF%BC%8C%E9%AA%8C%E8%AF%81%E7%A0%81123456"
                "%EF%BC%8C5%E5%88%86%E9%92%9F%E5%86%85%E6%9C%89%E6%95%88")


def setUpModule():
    global service, trusting
    service = DevServiceProcess().__enter__()
    trusting = ssl.create_default_context(cafile=os.path.join(service.ca_dir, "ca.pem"))


def tearDownModule():
    service.close()


def get(query: str, host="127.0.0.1", context=None, path="/sms"):
    url = f"https://{host}:{service.ports['sms']}{path}?{query}"
    try:
        with urllib.request.urlopen(url, timeout=30, context=context or trusting) as reply:
            return reply.status, reply.read()
    except urllib.error.HTTPError as error:
        return error.code, error.read()


class Gateway(unittest.TestCase):
    def setUp(self):
        service.admin("reset", {})

    def test_a_message_is_recorded_and_its_code_printed(self):
        query = f"u=Korvane&p={DIGEST}&m=13800000000&c={ENCODED_TEXT}"
        self.assertEqual(get(query), (200, b"OK\n"))
        _, listing = service.admin("sms")
        self.assertEqual(listing["sms"], [{
            "u": "Korvane", "p": DIGEST, "m": "13800000000",
            "c": "【Korvane】您正在进行手机认证，验证码123456，5分钟内有效",
            "query": query, "code": "123456", "accepted": True}])
        self.assertIn("SMS to 13800000000: code 123456", service.output())

    def test_the_certificate_serves_127_0_0_1_and_localhost(self):
        for host in ("127.0.0.1", "localhost"):
            with self.subTest(host=host):
                self.assertEqual(get(f"u=Korvane&p={DIGEST}&m=1&c=x", host=host)[0], 200)
        verify = subprocess.run(["openssl", "verify", "-purpose", "sslserver", "-CAfile",
                                 os.path.join(service.ca_dir, "ca.pem"),
                                 os.path.join(service.ca_dir, "server.pem")],
                                capture_output=True, timeout=60)
        self.assertEqual(verify.returncode, 0, verify.stderr)

    def test_a_client_without_the_dev_ca_is_refused_and_the_gateway_goes_on(self):
        with self.assertRaises(urllib.error.URLError) as caught:
            get(f"u=Korvane&p={DIGEST}&m=1&c=x", context=ssl.create_default_context())
        self.assertIsInstance(caught.exception.reason, ssl.SSLCertVerificationError)
        self.assertEqual(get(f"u=Korvane&p={DIGEST}&m=1&c=x")[0], 200)

    def test_wrong_account_or_request(self):
        cases = [("u=Korvane&p=wrong&m=139&c=x", 403), (f"u=other&p={DIGEST}&m=139&c=x", 403),
                 (f"u=Korvane&p={DIGEST}&c=x", 400), ("", 403)]
        for query, status in cases:
            with self.subTest(query=query):
                self.assertEqual(get(query)[0], status)
        self.assertEqual(get("u=Korvane", path="/other")[0], 404)
        _, listing = service.admin("sms")
        self.assertEqual([e["accepted"] for e in listing["sms"]], [False, False, True, False])
        self.assertNotIn("SMS to 139:", service.output())


if __name__ == "__main__":
    unittest.main()
