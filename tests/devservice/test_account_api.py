"""The account endpoints, called the way the client calls them."""

import unittest

from devservice_process import DevServiceProcess


def setUpModule():
    global service
    service = DevServiceProcess("--notice", "公告：今日维护").__enter__()


def tearDownModule():
    service.close()


def register(username, password="pw", super_password="123456", comment="Normal User",
             user_data=""):
    return service.call("User/register", {"username": username, "password": password,
                                          "super_password": super_password,
                                          "comment": comment, "user_data": user_data})


class Notice(unittest.TestCase):
    def test_get_info_answers_the_notice_to_the_bare_one(self):
        self.assertEqual(service.call("Software/getInfo", "1"),
                         {"code": 200, "data": {"notice": "公告：今日维护"}})

    def test_notice_and_raw_utf8_can_be_changed_at_run_time(self):
        try:
            service.admin("config", {"notice": "新公告", "raw_utf8": True})
            self.assertEqual(service.call_bytes("Software/getInfo", "1"),
                             '{"code":200,"data":{"notice":"新公告"}}'.encode("utf-8"))
            service.admin("config", {"raw_utf8": False})
            self.assertEqual(service.call_bytes("Software/getInfo", "1"),
                             b'{"code":200,"data":{"notice":"\\u65b0\\u516c\\u544a"}}')
        finally:
            service.admin("config", {"notice": "公告：今日维护", "raw_utf8": False})


class Accounts(unittest.TestCase):
    def test_register_codes(self):
        self.assertEqual(register("13800000001")["code"], 203)
        self.assertEqual(register("13800000001", password="other")["code"], 201)
        for missing in ("username", "password", "super_password"):
            with self.subTest(missing=missing):
                fields = {"username": "new-" + missing, "password": "p", "super_password": "s"}
                fields[missing] = ""
                self.assertEqual(register(**fields)["code"], 202)
        # Omitted members read as empty texts.
        self.assertEqual(service.call("User/register", {"username": "x", "password": "p"})["code"],
                         202)

    def test_register_keeps_comment_and_user_data(self):
        register("keeper@example.com", comment="Normal User", user_data="数据")
        _, listing = service.admin("accounts")
        account = next(a for a in listing["accounts"] if a["username"] == "keeper@example.com")
        self.assertEqual((account["comment"], account["user_data"]), ("Normal User", "数据"))

    def test_login_codes_and_a_fresh_token_per_sign_in(self):
        register("用户乙", password="密码")
        first = service.call("User/login", {"username": "用户乙", "password": "密码"})
        second = service.call("User/login", {"username": "用户乙", "password": "密码"})
        self.assertEqual((first["code"], second["code"]), (608, 608))
        self.assertRegex(first["data"]["token"], "^[0-9a-f]{32}$")
        self.assertNotEqual(first["data"]["token"], second["data"]["token"])
        self.assertEqual(service.call("User/login", {"username": "用户乙", "password": "x"})["code"],
                         603)
        self.assertEqual(service.call("User/login", {"username": "nobody", "password": "x"})["code"],
                         601)
        self.assertEqual(service.call("User/login", {"username": "用户乙", "password": ""})["code"],
                         603)

    def test_frozen_account(self):
        register("frozen", password="pw")
        self.assertEqual(service.admin("freeze", {"username": "frozen"}), (200, {"ok": True}))
        self.assertEqual(service.call("User/login", {"username": "frozen", "password": "pw"})["code"],
                         604)
        # The password is checked first: a wrong one does not tell that the account is frozen.
        self.assertEqual(service.call("User/login", {"username": "frozen", "password": "x"})["code"],
                         603)
        service.admin("freeze", {"username": "frozen", "frozen": False})
        self.assertEqual(service.call("User/login", {"username": "frozen", "password": "pw"})["code"],
                         608)

    def test_logout_ends_exactly_that_session(self):
        register("leaver", password="pw")
        token = service.call("User/login", {"username": "leaver", "password": "pw"})["data"]["token"]
        logout = {"username": "leaver", "password": "pw", "token": token}
        self.assertEqual(service.call("User/logout", logout)["code"], 610)
        self.assertEqual(service.call("User/logout", logout)["code"], 612)
        self.assertEqual(service.call("User/logout", dict(logout, password="x"))["code"], 603)
        self.assertEqual(service.call("User/logout", dict(logout, username="nobody"))["code"], 601)

    def test_password_change_with_the_super_password(self):
        register("forgetful", password="old", super_password="654321")
        change = {"username": "forgetful", "password": "new", "super_password": "000000"}
        self.assertEqual(service.call("User/passwordChange", change)["code"], 622)
        change["super_password"] = "654321"
        self.assertEqual(service.call("User/passwordChange", change)["code"], 620)
        self.assertEqual(service.call("User/login", {"username": "forgetful", "password": "old"})
                         ["code"], 603)
        self.assertEqual(service.call("User/login", {"username": "forgetful", "password": "new"})
                         ["code"], 608)
        self.assertEqual(service.call("User/passwordChange", dict(change, password=""))["code"], 202)
        self.assertEqual(service.call("User/passwordChange", dict(change, username="nobody"))
                         ["code"], 601)

    def test_user_data(self):
        register("storer", password="pw", user_data="old")
        credentials = {"username": "storer", "password": "pw"}
        self.assertEqual(service.call("User/getUserData", credentials),
                         {"code": 630, "data": {"user_data": "old"}})
        self.assertEqual(service.call("User/setUserData", dict(credentials, user_data="新的"))
                         ["code"], 640)
        self.assertEqual(service.call("User/getUserData", credentials)["data"]["user_data"], "新的")
        self.assertEqual(service.call("User/setUserData", dict(credentials, password="x"))["code"],
                         603)


class Recording(unittest.TestCase):
    def test_requests_are_recorded_as_received(self):
        service.admin("reset", {})
        service.call("User/login", {"username": "甲", "password": "p"})
        service.call("Software/getInfo", "1")
        _, listing = service.admin("requests")
        login, info = listing["requests"]
        self.assertEqual(login["endpoint"], "User/login")
        self.assertEqual(login["id"], "1")
        self.assertEqual(list(login["payload"].items()), [("username", "甲"), ("password", "p")])
        self.assertEqual(login["payload_text"], '{"username":"甲","password":"p"}')
        self.assertEqual(login["code"], 601)
        self.assertRegex(login["body"], r"^id=1&data=[0-9a-f]{4}[A-Za-z0-9%]+$")
        self.assertNotRegex(login["body"][len("id=1&data="):], "[+/=]")
        self.assertEqual((info["payload"], info["payload_text"], info["code"]), ("1", "1", 200))

    def test_reset_forgets_requests(self):
        service.call("Software/getInfo", "1")
        self.assertEqual(service.admin("reset", {}), (200, {"ok": True}))
        self.assertEqual(service.admin("requests"), (200, {"requests": []}))


if __name__ == "__main__":
    unittest.main()
