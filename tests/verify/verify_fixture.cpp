#include "verify_fixture.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include "text/code_page.h"

namespace korvane::verify {

namespace {

std::string Utf8(const std::string& local) {
    return text::LocalToUtf8(local);
}

}  // namespace

void RecordingView::ShowMessage(const std::string& title, std::int32_t iconKind,
                                const std::string& text) {
    messages.push_back({Utf8(title), iconKind, Utf8(text)});
}

void RecordingView::ShowSystemMessage(const std::string& text) {
    systemMessages.push_back(Utf8(text));
}

void RecordingView::SetCountdownTimerPeriod(std::int32_t periodMs) {
    timerPeriods.push_back(periodMs);
}

void RecordingView::SetCodeButtonEnabled(bool enabled) {
    buttonEnabled.push_back(enabled);
}

void RecordingView::SetCodeButtonCaption(const std::string& caption) {
    captions.push_back(Utf8(caption));
}

int ClosedLoopbackPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(fd);
    return port;
}

std::unique_ptr<korvane::testing::DevService> DeliveryTest::service_;

void DeliveryTest::SetUpTestSuite() {
    if (!service_) {
        service_ = std::make_unique<korvane::testing::DevService>();
    }
}

void DeliveryTest::TearDownTestSuite() {
    service_.reset();
}

void DeliveryTest::SetUp() {
    ASSERT_TRUE(service_->Ok());
    service_->Post("/admin/reset", "{}");
}

DeliveryEndpoints DeliveryTest::Endpoints() {
    DeliveryEndpoints endpoints = CompiledInEndpoints();
    endpoints.smsGatewayUrl = service_->SmsGatewayUrl();
    endpoints.caBundle = service_->CaBundle();
    endpoints.smtpHost = "127.0.0.1";
    endpoints.smtpPort = service_->SmtpPort();
    return endpoints;
}

korvane::testing::JsonValue DeliveryTest::Records(const std::string& kind) {
    return service_->GetJson("/admin/" + kind)[kind];
}

}  // namespace korvane::verify
