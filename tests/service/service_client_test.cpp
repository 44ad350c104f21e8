#include "service/service_client.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service_test_support.h"
#include "text/code_page.h"

namespace korvane::service {
namespace {

using korvane::testing::DevService;
using korvane::testing::JsonQuote;
using korvane::testing::JsonValue;
using testing::ReceivedRequests;
using testing::ReplyMember;
using text::Utf8ToLocal;
using Names = std::vector<std::string>;

// Every operation against devservice; what the service received is read back from its
// records (UTF-8), what the client got from the reply (client text).
class ServiceClientTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(service_.Ok());
        client_.Init(testing::kApplicationId, service_.BaseUrl(), testing::kApplicationKey);
    }

    // The newest request the service received.
    JsonValue Last() {
        const JsonValue requests = ReceivedRequests(service_);
        return requests.size() == 0 ? JsonValue() : requests[requests.size() - 1];
    }

    DevService service_{DevService::Options{.notice = "Maintenance at 22:00, \"soon\" \\ /"}};
    ServiceClient client_;
};

TEST_F(ServiceClientTest, GetInfoSendsTheBareOne) {
    EXPECT_EQ(ReplyMember(client_.GetInfo(), "data.notice"), "Maintenance at 22:00, \"soon\" \\ /");

    const JsonValue sent = Last();
    EXPECT_EQ(sent["endpoint"].String(), "Software/getInfo");
    EXPECT_EQ(sent["id"].String(), "1");
    EXPECT_EQ(sent["payload_text"].String(), "1");
    const std::string& body = sent["body"].String();
    ASSERT_EQ(body.substr(0, 10), "id=1&data=");
    EXPECT_EQ(body.find_first_of("+/&=", 10), std::string::npos);
}

TEST_F(ServiceClientTest, RegisterSendsOmittedMembersAsEmptyStrings) {
    EXPECT_EQ(ReplyMember(client_.Register("13800138000", "pw", "123456"), "code"), "203");
    const JsonValue sent = Last();
    EXPECT_EQ(sent["endpoint"].String(), "User/register");
    EXPECT_EQ(sent["payload_text"].String(),
              R"({"username":"13800138000","password":"pw","super_password":"123456",)"
              R"("comment":"","user_data":""})");

    EXPECT_EQ(ReplyMember(client_.Register("13800138000", "pw", "123456"), "code"), "201");
    EXPECT_EQ(ReplyMember(client_.Register("", "pw", "123456"), "code"), "202");
}

TEST_F(ServiceClientTest, ChineseTextArrivesAsUtf8) {
    EXPECT_EQ(
        ReplyMember(client_.Register(Utf8ToLocal("张三@例子.中国"), Utf8ToLocal("密码"), "654321",
                                     Utf8ToLocal("普通用户"), Utf8ToLocal("笔记：第一条")),
                    "code"),
        "203");
    const JsonValue sent = Last();
    EXPECT_EQ(sent["payload"].Names(),
              (Names{"username", "password", "super_password", "comment", "user_data"}));
    EXPECT_EQ(sent["payload"]["username"].String(), "张三@例子.中国");
    EXPECT_EQ(sent["payload"]["password"].String(), "密码");
    EXPECT_EQ(sent["payload"]["comment"].String(), "普通用户");
    EXPECT_EQ(sent["payload"]["user_data"].String(), "笔记：第一条");

    EXPECT_EQ(
        ReplyMember(client_.Login(Utf8ToLocal("张三@例子.中国"), Utf8ToLocal("密码")), "code"),
        "608");
    EXPECT_EQ(Last()["payload_text"].String(),
              R"({"username":"张三@例子.中国","password":"密码"})");
}

TEST_F(ServiceClientTest, LoginCodes) {
    service_.CreateAccount("alice", "secret");
    service_.CreateAccount("bob", "pw");
    service_.Freeze("bob");
    const struct {
        std::string_view user;
        std::string_view password;
        std::string_view code;
    } cases[] = {
        {"alice", "secret", "608"}, {"alice", "Secret", "603"}, {"alice", "", "603"},
        {"carol", "secret", "601"}, {"bob", "pw", "604"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.user) + "/" + std::string(c.password));
        const std::string reply = client_.Login(c.user, c.password);
        EXPECT_EQ(ReplyMember(reply, "code"), c.code);
        EXPECT_EQ(ReplyMember(reply, "data.token").empty(), c.code != "608");
        const JsonValue sent = Last();
        EXPECT_EQ(sent["endpoint"].String(), "User/login");
        EXPECT_EQ(sent["payload"].Names(), (Names{"username", "password"}));
        EXPECT_EQ(sent["payload"]["username"].String(), c.user);
        EXPECT_EQ(sent["payload"]["password"].kind(), JsonValue::Kind::kString);
        EXPECT_EQ(sent["payload"]["password"].String(), c.password);
    }
}

TEST_F(ServiceClientTest, ScriptSignificantCharactersArriveUnchanged) {
    const std::string password = "it's \"q\" \\n \\ back\nslash\t</a>&+=%";
    service_.CreateAccount("dave", password);
    EXPECT_EQ(ReplyMember(client_.Login("dave", password), "code"), "608");
    EXPECT_EQ(Last()["payload"]["password"].String(), password);
}

TEST_F(ServiceClientTest, LoginAfterLogoutHoldsNoToken) {
    service_.CreateAccount("alice", "secret");
    const std::string token = ReplyMember(client_.Login("alice", "secret"), "data.token");
    ASSERT_FALSE(token.empty());

    EXPECT_EQ(ReplyMember(client_.Logout("alice", "secret", token), "code"), "610");
    const JsonValue logout = Last();
    EXPECT_EQ(logout["endpoint"].String(), "User/logout");
    EXPECT_EQ(logout["payload"].Names(), (Names{"username", "password", "token"}));
    EXPECT_EQ(logout["payload"]["token"].String(), token);
    // The token is spent.
    EXPECT_EQ(ReplyMember(client_.Logout("alice", "secret", token), "code"), "612");

    EXPECT_EQ(ReplyMember(client_.Login("alice", "secret"), "code"), "608");
    EXPECT_EQ(Last()["payload"].Names(), (Names{"username", "password"}));
}

TEST_F(ServiceClientTest, PasswordChange) {
    EXPECT_EQ(ReplyMember(client_.Register("erin", "old", "246810"), "code"), "203");
    EXPECT_EQ(ReplyMember(client_.PasswordChange("erin", "new", "000000"), "code"), "622");
    EXPECT_EQ(ReplyMember(client_.PasswordChange("erin", "new", "246810"), "code"), "620");
    const JsonValue sent = Last();
    EXPECT_EQ(sent["endpoint"].String(), "User/passwordChange");
    EXPECT_EQ(sent["payload_text"].String(),
              R"({"username":"erin","password":"new","super_password":"246810"})");
    EXPECT_EQ(ReplyMember(client_.Login("erin", "new"), "code"), "608");
}

TEST_F(ServiceClientTest, UserDataStoredAndRead) {
    service_.CreateAccount("frank", "pw");
    const std::string data = R"({"地图":[1,2]})";
    EXPECT_EQ(ReplyMember(client_.SetUserData("frank", "pw", Utf8ToLocal(data)), "code"), "640");
    const JsonValue set = Last();
    EXPECT_EQ(set["endpoint"].String(), "User/setUserData");
    EXPECT_EQ(set["payload"].Names(), (Names{"username", "password", "user_data"}));
    EXPECT_EQ(set["payload"]["user_data"].String(), data);

    const std::string reply = client_.GetUserData("frank", "pw");
    EXPECT_EQ(ReplyMember(reply, "code"), "630");
    EXPECT_EQ(ReplyMember(reply, "data.user_data"), Utf8ToLocal(data));
    const JsonValue get = Last();
    EXPECT_EQ(get["endpoint"].String(), "User/getUserData");
    EXPECT_EQ(get["payload_text"].String(), R"({"username":"frank","password":"pw"})");
}

// devservice answers these with plain-text error pages.
TEST_F(ServiceClientTest, ErrorPagesGiveTheEmptyText) {
    EXPECT_EQ(client_.Request("User/unknown", "{}"), "");
    ServiceClient otherKey;
    otherKey.Init(testing::kApplicationId, service_.BaseUrl(),
                  "0123456789abcdefghij0123456789ABCDEFGHIJ");
    EXPECT_EQ(otherKey.GetInfo(), "");
    ServiceClient otherId;
    otherId.Init("2", service_.BaseUrl(), testing::kApplicationKey);
    EXPECT_EQ(otherId.GetInfo(), "");
}

TEST_F(ServiceClientTest, RawUtf8RepliesDecode) {
    const std::string notice = "欢迎使用 Korvane：\"新\"";
    service_.Post("/admin/config", "{\"raw_utf8\":true,\"notice\":" + JsonQuote(notice) + "}");
    EXPECT_EQ(ReplyMember(client_.GetInfo(), "data.notice"), Utf8ToLocal(notice));
    service_.CreateAccount("李四", "pw");
    EXPECT_EQ(ReplyMember(client_.Login(Utf8ToLocal("李四"), "pw"), "data.username"),
              Utf8ToLocal("李四"));
}

}  // namespace
}  // namespace korvane::service
