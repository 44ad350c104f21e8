#include "support/dev_service.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

namespace korvane::testing {
namespace {

bool Accepts(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

const JsonValue* FindAccount(const JsonValue& listing, std::string_view name) {
    for (const JsonValue& account : listing["accounts"].Items()) {
        if (account["username"].String() == name) {
            return &account;
        }
    }
    return nullptr;
}

TEST(DevServiceTest, StartsWithFreePortsAndTheDefaultSettings) {
    DevService service;
    ASSERT_TRUE(service.Ok());
    EXPECT_NE(service.HttpPort(), service.SmsPort());
    EXPECT_NE(service.SmsPort(), service.SmtpPort());
    EXPECT_EQ(service.BaseUrl(), "http://127.0.0.1:" + std::to_string(service.HttpPort()) + "/");
    EXPECT_EQ(service.SmsGatewayUrl(), "https://127.0.0.1:" + std::to_string(service.SmsPort()));
    EXPECT_TRUE(std::filesystem::exists(service.CaBundle()));

    const JsonValue config = service.GetJson("/admin/config");
    EXPECT_EQ(config["notice"].String(), DevService::Options{}.notice);
    EXPECT_FALSE(config["raw_utf8"].Bool());
    const JsonValue requests = service.GetJson("/admin/requests");
    EXPECT_EQ(requests["requests"].kind(), JsonValue::Kind::kArray);
    EXPECT_EQ(requests["requests"].size(), 0u);
    EXPECT_NE(service.Log().find("devservice ready"), std::string::npos);
}

TEST(DevServiceTest, OptionsReachTheService) {
    DevService service({.rawUtf8 = true, .notice = "公告 \"one\"\nline two"});
    ASSERT_TRUE(service.Ok());
    const JsonValue config = service.GetJson("/admin/config");
    EXPECT_EQ(config["notice"].String(), "公告 \"one\"\nline two");
    EXPECT_TRUE(config["raw_utf8"].Bool());
}

TEST(DevServiceTest, CreatesAndFreezesAccounts) {
    DevService service;
    ASSERT_TRUE(service.Ok());
    service.CreateAccount("用户\"甲\"", "密码");
    const JsonValue before = service.GetJson("/admin/accounts");
    const JsonValue* account = FindAccount(before, "用户\"甲\"");
    ASSERT_NE(account, nullptr);
    EXPECT_FALSE((*account)["frozen"].Bool());

    service.Freeze("用户\"甲\"");
    const JsonValue after = service.GetJson("/admin/accounts");
    account = FindAccount(after, "用户\"甲\"");
    ASSERT_NE(account, nullptr);
    EXPECT_TRUE((*account)["frozen"].Bool());
}

TEST(DevServiceTest, MalformedAdminCallsGetAnErrorAndTheServiceGoesOn) {
    DevService service;
    ASSERT_TRUE(service.Ok());
    EXPECT_NE(service.Post("/admin/accounts", "{not json").find("\"ok\": false"),
              std::string::npos);
    EXPECT_NE(service.Get("/admin/nothing").find("\"ok\": false"), std::string::npos);
    EXPECT_EQ(service.GetJson("/admin/mail")["mail"].kind(), JsonValue::Kind::kArray);
}

TEST(DevServiceTest, TwoServicesRunSideBySide) {
    DevService first;
    DevService second;
    ASSERT_TRUE(first.Ok());
    ASSERT_TRUE(second.Ok());
    EXPECT_NE(first.HttpPort(), second.HttpPort());
    EXPECT_NE(first.DataDir(), second.DataDir());
}

TEST(DevServiceTest, DestructionStopsAndReapsTheServiceAndRemovesItsFolder) {
    std::filesystem::path dataDir;
    int port = 0;
    {
        DevService service;
        ASSERT_TRUE(service.Ok());
        dataDir = service.DataDir();
        port = service.HttpPort();
        EXPECT_TRUE(Accepts(port));
    }
    EXPECT_FALSE(std::filesystem::exists(dataDir));
    EXPECT_FALSE(Accepts(port));
    int status = 0;
    errno = 0;
    EXPECT_EQ(waitpid(-1, &status, WNOHANG), -1);  // no child left, not even a zombie
    EXPECT_EQ(errno, ECHILD);
}

TEST(DevServiceTest, AProgramThatDiesLeavesNoServiceAndNoFolderBehind) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t program = fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        close(pipeFds[0]);
        DevService service;
        const std::string report =
            service.DataDir().string() + " " + std::to_string(service.HttpPort()) + "\n";
        const bool written = service.Ok() && write(pipeFds[1], report.data(), report.size()) ==
                                                 static_cast<ssize_t>(report.size());
        _exit(written ? 0 : 1);  // no destructor runs
    }
    close(pipeFds[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        report.append(buffer, static_cast<size_t>(n));
    }
    close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(program, &status, 0), program);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << report;

    const std::filesystem::path dataDir = report.substr(0, report.find(' '));
    const int port = std::stoi(report.substr(report.find(' ') + 1));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::filesystem::exists(dataDir) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(std::filesystem::exists(dataDir));
    EXPECT_FALSE(Accepts(port));
}

TEST(JsonQuoteTest, EscapesQuotesBackslashesAndControlCharacters) {
    const struct {
        std::string_view in;
        std::string_view out;
    } cases[] = {
        {"", "\"\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\n\t\x01", "\"\\u000a\\u0009\\u0001\""},
        {"用户", "\"用户\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JsonQuote(c.in), c.out) << c.in;
    }
}

}  // namespace
}  // namespace korvane::testing
