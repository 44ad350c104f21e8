"""The SMTP server: AUTH with the client's account is required, and every mail is kept."""

import smtplib
import unittest
from email.header import Header
from email.mime.text import MIMEText

from devservice_process import DevServiceProcess

USER, PASSWORD = "korvane", "RHVWKOZPJDNCEQLU"
SUBJECT = "Korvane注册验证"
BODY = "感谢您使用Korvane的网络映射服务，您的验证码为：654321"


def setUpModule():
    global service
    service = DevServiceProcess().__enter__()


def tearDownModule():
    service.close()


def connect() -> smtplib.SMTP:
    return smtplib.SMTP("127.0.0.1", service.ports["smtp"], timeout=30)


def mail(charset: str, to: str) -> bytes:
    message = MIMEText(BODY, "plain", charset)
    message["Subject"] = Header(SUBJECT, charset)
    message["From"] = "service@korvane.test"
    message["To"] = to
    return message.as_bytes()


class Smtp(unittest.TestCase):
    def setUp(self):
        service.admin("reset", {})

    def test_mail_without_auth_is_refused(self):
        with connect() as smtp:
            with self.assertRaises(smtplib.SMTPSenderRefused) as caught:
                smtp.sendmail("service@korvane.test", ["a@b.c"], b"Subject: x\r\n\r\nx")
            self.assertEqual(caught.exception.smtp_code, 530)
        self.assertEqual(service.admin("mail"), (200, {"mail": []}))

    def test_wrong_credentials_get_an_answer(self):
        # Answered with 535 at once, not left waiting for the client's time-out.
        for mechanism in ("LOGIN", "PLAIN"):
            for user, password in ((USER, "wrong"), ("other", PASSWORD)):
                with self.subTest(mechanism=mechanism, user=user), connect() as smtp:
                    smtp.ehlo()
                    smtp.user, smtp.password = user, password
                    method = smtp.auth_login if mechanism == "LOGIN" else smtp.auth_plain
                    with self.assertRaises(smtplib.SMTPAuthenticationError) as caught:
                        smtp.auth(mechanism, method, initial_response_ok=False)
                    self.assertEqual(caught.exception.smtp_code, 535)

    def test_mail_is_recorded_decoded_and_its_code_printed(self):
        cases = [("LOGIN", "gbk", "x@example.com"), ("PLAIN", "utf-8", "y@example.com")]
        for mechanism, charset, to in cases:
            with self.subTest(mechanism=mechanism, charset=charset), connect() as smtp:
                smtp.ehlo()
                smtp.user, smtp.password = USER, PASSWORD
                method = smtp.auth_login if mechanism == "LOGIN" else smtp.auth_plain
                smtp.auth(mechanism, method, initial_response_ok=False)
                smtp.sendmail("service@korvane.test", [to], mail(charset, to))
        _, listing = service.admin("mail")
        self.assertEqual(len(listing["mail"]), 2)
        for entry, (_, charset, to) in zip(listing["mail"], cases):
            self.assertEqual(entry["from"], "service@korvane.test")
            self.assertEqual(entry["to"], [to])
            self.assertEqual(entry["subject"], SUBJECT)
            self.assertEqual(entry["body"], BODY)
            self.assertEqual(entry["charset"], charset)
            self.assertEqual(entry["code"], "654321")
            self.assertEqual(entry["auth_user"], USER)
            self.assertIn("Subject: =?", entry["raw"])
            self.assertIn(f"Mail to {to}: code 654321", service.output())


if __name__ == "__main__":
    unittest.main()
