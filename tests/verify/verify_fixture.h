#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/dev_service.h"
#include "verify/code_request.h"
#include "verify/delivery_endpoints.h"

namespace korvane::verify {

// A login window that records what the code request and the countdown do to it. Texts are
// kept in UTF-8 so expectations read as written.
class RecordingView : public CodeRequestView {
  public:
    struct Message {
        std::string title;
        std::int32_t iconKind = 0;
        std::string text;
    };

    std::string accountText;  // client text
    std::vector<Message> messages;
    std::vector<std::string> systemMessages;
    std::vector<std::int32_t> timerPeriods;
    std::vector<bool> buttonEnabled;
    std::vector<std::string> captions;

    std::string AccountText() override { return accountText; }
    void ShowMessage(const std::string& title, std::int32_t iconKind,
                     const std::string& text) override;
    void ShowSystemMessage(const std::string& text) override;
    void SetCountdownTimerPeriod(std::int32_t periodMs) override;
    void SetCodeButtonEnabled(bool enabled) override;
    void SetCodeButtonCaption(const std::string& caption) override;
};

// A port on 127.0.0.1 where nothing listens.
int ClosedLoopbackPort();

// One devservice for the whole test program; every test starts with its records cleared.
class DeliveryTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    static korvane::testing::DevService& Service() { return *service_; }
    // The compiled-in settings with the servers of this program's devservice.
    static DeliveryEndpoints Endpoints();
    static korvane::testing::JsonValue Records(const std::string& kind);  // "sms" or "mail"

  private:
    static std::unique_ptr<korvane::testing::DevService> service_;
};

}  // namespace korvane::verify
