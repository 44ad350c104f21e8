#include "app/registration_panel.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "app/client_seams.h"
#include "app/code_request_view.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/message_window.h"
#include "text/code_page.h"
#include "ui/busy_pointer.h"
#include "ui/editbox_ex.h"
#include "verify/code_request.h"

namespace korvane::app {

namespace {

constexpr std::int32_t kInformationIcon = 1;
constexpr std::int32_t kSuccessIcon = 2;
constexpr std::int32_t kFilterMask = 1;
constexpr std::int32_t kFilterValue = 0;

}  // namespace

void RegisterAccount(LoginWindow& window) {
    const MaskRectangle mask = WholeWindow(window);
    const WindowControl owner = FrameOf(window);
    const std::string title = text::Utf8ToLocal("提示");
    auto box = [&window](const char* name) { return window.Control<ui::EditboxEx>(name).Text(); };
    auto tell = [&](std::int32_t iconKind, const char* textUtf8) {
        ShowMessage(owner, title, iconKind, text::Utf8ToLocal(textUtf8), mask, kFilterMask,
                    kFilterValue);
    };

    if (box("编辑框EX4") != box("编辑框EX6")) {
        tell(kInformationIcon, "两次密码输入不一致！");
        return;
    }
    if (VerificationCode != box("编辑框EX5")) {
        tell(kInformationIcon, "验证码错误，请检查！");
        return;
    }

    // The code that proved the address becomes the account's super password.
    std::string reply;
    {
        const ui::BusyPointer busy;
        reply = TheServiceClient->Register(box("编辑框EX3"), box("编辑框EX4"), box("编辑框EX5"),
                                           "Normal User");
    }
    ServiceResponse->Load(reply);

    if (ServiceResponse->GetText("code") == "203") {
        tell(kSuccessIcon, "注册成功！\r\n验证码位超级密码，有助于找回您的密码，请妥善保管");
        // The window that shows the panel is already open: bring it back to the front.
        if (!window.isActiveWindow()) {
            window.raise();
            window.activateWindow();
        }
    }
    static constexpr std::array<std::pair<const char*, const char*>, 2> kRefusals = {{
        {"201", "用户已经存在！"},
        {"202", "请填写完整！"},
    }};
    for (const auto& [code, message] : kRefusals) {
        if (ServiceResponse->GetText("code") == code) {
            Seams().systemBox.show(text::Utf8ToLocal(message));
        }
    }
    ServiceResponse->Clear();
    ReleaseText(reply);
}

void RequestCode(LoginWindow& window) {
    LoginCodeRequestView view(window);
    // The sending blocks; the boxes it may open on the way bring the normal pointer back.
    const ui::BusyPointer busy;
    verify::RequestCode(view, VerificationCode, Seams().deliveryEndpoints);
}

void CountdownTick(LoginWindow& window) {
    LoginCodeRequestView view(window);
    verify::CountdownTick(view, CountdownTicks);
}

}  // namespace korvane::app
