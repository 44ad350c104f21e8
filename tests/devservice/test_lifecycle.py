"""Starting, stopping, the development CA and the demo account."""

import json
import os
import shutil
import signal
import socket
import ssl
import stat
import subprocess
import tempfile
import unittest

from devservice_process import DevServiceProcess

CA_FILES = ("ca.pem", "ca.key", "server.pem", "server.key")


def handshake(port: int, cafile: str) -> None:
    context = ssl.create_default_context(cafile=cafile)
    with socket.create_connection(("127.0.0.1", port), timeout=30) as raw:
        with context.wrap_socket(raw, server_hostname="localhost"):
            pass


class StartAndStop(unittest.TestCase):
    def test_ready_line_ports_file_and_a_clean_stop(self):
        for signum in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=signum):
                service = DevServiceProcess().__enter__()
                try:
                    ports_file = os.path.join(service.data_dir, "ports.json")
                    with open(ports_file, encoding="ascii") as f:
                        ports = json.load(f)
                    self.assertEqual(sorted(ports), ["http", "sms", "smtp"])
                    self.assertIn(f"devservice ready http={ports['http']} sms={ports['sms']} "
                                  f"smtp={ports['smtp']}", service.output())
                    for port in ports.values():
                        socket.create_connection(("127.0.0.1", port), timeout=30).close()
                    self.assertEqual(service.stop(signum), 0)
                    self.assertFalse(os.path.exists(ports_file))
                    self.assertIn("devservice stopped", service.output())
                    self.assertNotIn("Traceback", service.output())
                finally:
                    service.close()

    def test_refuses_to_start_on_a_taken_port_or_a_non_loopback_host(self):
        with socket.create_server(("127.0.0.1", 0)) as taken:
            port = str(taken.getsockname()[1])
            for args, words in (
                    (["--http-port", port], "cannot listen"), (["--sms-port", port], "cannot listen"),
                    (["--smtp-port", port], "cannot listen"), (["--host", "0.0.0.0"], "loopback"),
                    (["--demo-account", "nocolon"], "NAME:PASSWORD")):
                with self.subTest(args=args):
                    service = DevServiceProcess(*args)
                    try:
                        self.assertFalse(service.wait_ready())
                        self.assertEqual(service.process.wait(60), 2)
                        self.assertIn(words, service.output())
                    finally:
                        service.close()

    def test_demo_account_is_made_once_and_kept(self):
        data = tempfile.mkdtemp(prefix="korvane-test-data-")
        try:
            for _ in range(2):
                with DevServiceProcess("--demo-account", "演示:pa:ss", data_dir=data) as service:
                    login = service.call("User/login", {"username": "演示", "password": "pa:ss"})
                    self.assertEqual(login["code"], 608)
                    _, listing = service.admin("accounts")
                    self.assertEqual([a["username"] for a in listing["accounts"]], ["演示"])
        finally:
            shutil.rmtree(data, ignore_errors=True)


class DevelopmentCa(unittest.TestCase):
    def test_two_services_starting_at_once_make_one_ca(self):
        ca_dir = tempfile.mkdtemp(prefix="korvane-test-ca-")
        services = [DevServiceProcess(ca_dir=ca_dir) for _ in range(3)]
        try:
            for service in services:
                self.assertTrue(service.wait_ready(), service.output())
            cafile = os.path.join(ca_dir, "ca.pem")
            for service in services:
                handshake(service.ports["sms"], cafile)
            self.assertEqual(sorted(n for n in os.listdir(ca_dir) if not n.startswith(".")),
                             sorted(CA_FILES))
            for key in ("ca.key", "server.key"):
                self.assertEqual(stat.S_IMODE(os.stat(os.path.join(ca_dir, key)).st_mode), 0o600)
        finally:
            for service in services:
                service.close()
            shutil.rmtree(ca_dir, ignore_errors=True)

    def test_a_missing_server_certificate_is_issued_again_from_the_same_ca(self):
        ca_dir = tempfile.mkdtemp(prefix="korvane-test-ca-")
        try:
            with DevServiceProcess(ca_dir=ca_dir):
                pass
            with open(os.path.join(ca_dir, "ca.pem"), "rb") as f:
                ca = f.read()
            os.remove(os.path.join(ca_dir, "server.pem"))
            with DevServiceProcess(ca_dir=ca_dir) as service:
                handshake(service.ports["sms"], os.path.join(ca_dir, "ca.pem"))
            with open(os.path.join(ca_dir, "ca.pem"), "rb") as f:
                self.assertEqual(f.read(), ca)
            details = subprocess.run(
                ["openssl", "x509", "-in", os.path.join(ca_dir, "server.pem"), "-noout", "-ext",
                 "extendedKeyUsage,subjectAltName"], capture_output=True, text=True, timeout=60)
            self.assertIn("TLS Web Server Authentication", details.stdout)
            self.assertIn("IP Address:127.0.0.1", details.stdout)
            self.assertIn("DNS:localhost", details.stdout)
        finally:
            shutil.rmtree(ca_dir, ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
