#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "platform/smtp_client.h"
#include "support/smtp_fault_server.h"

namespace korvane::platform {
namespace {

using korvane::testing::SmtpFault;
using korvane::testing::SmtpFaultServer;

constexpr const char* kUser = "korvane";
constexpr const char* kPassword = "RHVWKOZPJDNCEQLU";
constexpr int kWaitLimitMs = 3000;
// Two waits of the wait limit at most, and room for a slow machine; the fixed whole-operation
// limit of the client is longer.
constexpr auto kBound = std::chrono::seconds(40);

bool Saw(const std::vector<std::string>& commands, const std::string& prefix) {
    return std::any_of(commands.begin(), commands.end(),
                       [&prefix](const std::string& line) { return line.starts_with(prefix); });
}

TEST(SmtpClientFaults, EveryFaultFailsInTimeAndTheClientWorksAfterwards) {
    struct Case {
        const char* name;
        SmtpFault fault;
        bool connects;
    };
    const Case cases[] = {
        {"well-behaved server", SmtpFault::kNone, true},
        {"garbage greeting", SmtpFault::kGarbageGreeting, false},
        {"50 MiB greeting", SmtpFault::kHugeGreeting, false},
        {"closed inside the EHLO reply", SmtpFault::kCloseInEhloReply, false},
        {"AUTH refused", SmtpFault::kRefusesAuth, false},
        {"dropped after MAIL FROM", SmtpFault::kDropsAfterMailFrom, true},
        {"silent after MAIL FROM", SmtpFault::kSilentAfterMailFrom, true},
    };
    SmtpFaultServer good;
    ASSERT_TRUE(good.Listening());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmtpFaultServer server(c.fault);
        ASSERT_TRUE(server.Listening());
        SmtpClient client;

        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(client.Connect("127.0.0.1", server.Port(), kUser, kPassword, kWaitLimitMs),
                  c.connects);
        const std::string error =
            client.Send("service@korvane.test", "someone@example.test", "s", "b");
        client.Disconnect();
        EXPECT_LT(std::chrono::steady_clock::now() - start, kBound);

        const bool delivered = c.fault == SmtpFault::kNone;
        EXPECT_EQ(error.empty(), delivered) << error;
        EXPECT_EQ(server.Mails().size(), delivered ? 1u : 0u);
        if (!c.connects) {
            // Nothing is mailed over a session that never came up.
            EXPECT_FALSE(Saw(server.Commands(), "MAIL FROM"));
        }
        if (c.fault == SmtpFault::kRefusesAuth) {
            EXPECT_TRUE(Saw(server.Commands(), "AUTH PLAIN"));
        }

        // The same client object connects and sends as before.
        ASSERT_TRUE(client.Connect("127.0.0.1", good.Port(), kUser, kPassword, kWaitLimitMs));
        EXPECT_EQ(client.Send("service@korvane.test", "someone@example.test", "s", "b"), "");
        client.Disconnect();
    }
}

}  // namespace
}  // namespace korvane::platform
