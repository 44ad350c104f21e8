#include "app/login_window.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "app/app_constants.h"
#include "app/client_seams.h"
#include "app/field_hints.h"
#include "app/globals.h"
#include "app/login_form.h"
#include "app/main_window.h"
#include "app/open_window.h"
#include "app/registration_panel.h"
#include "app/transitions.h"
#include "text/code_page.h"
#include "ui/busy_pointer.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"
#include "ui/window_timer.h"

namespace korvane::app {

namespace {

constexpr std::uint32_t kLinkHover = 0xFF026CFA;
constexpr std::uint32_t kLinkIdle = 0xFF1D9BFB;

// Left edge of the cover halfway between its resting places (60 and 350).
constexpr int kCoverMiddle = 205;

// Each box with the icon drawn over its left end.
constexpr std::array<std::pair<const char*, const char*>, 6> kBoxIcons = {{
    {"编辑框EX1", "图片框EX3"},
    {"编辑框EX2", "图片框EX4"},
    {"编辑框EX3", "图片框EX5"},
    {"编辑框EX4", "图片框EX9"},
    {"编辑框EX6", "图片框EX6"},
    {"编辑框EX5", "图片框EX7"},
}};
constexpr int kIconIndent = 40;

constexpr std::array<const char*, 2> kSignInBoxes = {"编辑框EX1", "编辑框EX2"};
constexpr std::array<const char*, 4> kRegistrationBoxes = {"编辑框EX3", "编辑框EX4", "编辑框EX6",
                                                           "编辑框EX5"};

}  // namespace

LoginWindow::LoginWindow() : ui::FormWindow(LoginForm().width, LoginForm().height) {
    setWindowTitle(QStringLiteral("Korvane"));
    ui::BuildForm(*this, LoginForm().rows);

    // The text starts right of the icon, and a click on the icon lands in the box.
    for (const auto& [box, icon] : kBoxIcons) {
        Control<ui::EditboxEx>(box).SetTextIndent(kIconIndent);
        Control<ui::PictureBoxEx>(icon).setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    for (const FieldHint& field : kFieldHints) {
        auto& box = Control<ui::EditboxEx>(field.box);
        const std::string hint = text::Utf8ToLocal(field.hint);
        const bool masked = field.masked;
        connect(&box, &ui::EditboxEx::focusChanged, this,
                [&box, hint, masked](bool gained) { SetHintOnBlur(box, hint, masked, gained); });
    }

    auto& signIn = Control<ui::ButtonEx>("按钮EX3");
    connect(&signIn, &ui::ButtonEx::clicked, this, &LoginWindow::SignIn);
    // Enter in either sign-in box is the same as pressing "登录".
    for (const char* name : kSignInBoxes) {
        connect(&Control<ui::EditboxEx>(name), &ui::EditboxEx::returnPressed, &signIn,
                &ui::ButtonEx::Click);
    }

    for (const char* name : {"标签EX1", "标签EX3"}) {
        auto& link = Control<ui::LabelEx>(name);
        connect(&link, &ui::LabelEx::hovered, this,
                [&link](bool entered) { link.SetColour(entered ? kLinkHover : kLinkIdle); });
    }
    connect(&Control<ui::LabelEx>("标签EX1"), &ui::LabelEx::clicked, this,
            &LoginWindow::ShowRegistrationPanel);
    connect(&Control<ui::LabelEx>("标签EX3"), &ui::LabelEx::clicked, this,
            &LoginWindow::ShowSignInPanel);

    connect(&Control<ui::PictureBoxEx>("图片框EX8"), &ui::PictureBoxEx::clicked, this,
            &QWidget::close);

    connect(&Control<ui::ButtonEx>("按钮EX1"), &ui::ButtonEx::clicked, this,
            [this] { RegisterAccount(*this); });
    connect(&Control<ui::ButtonEx>("按钮EX4"), &ui::ButtonEx::clicked, this,
            [this] { RequestCode(*this); });
    connect(&Control<ui::WindowTimer>("时钟1"), &ui::WindowTimer::tick, this,
            [this] { CountdownTick(*this); });

    // The window itself holds the focus at first, so every box shows its hint; a click on
    // the background takes the focus back from a box.
    setFocusPolicy(Qt::ClickFocus);
    setFocus(Qt::OtherFocusReason);
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::OnCreated() {
    TheServiceClient->Init(kApplicationId, Seams().serviceUrl, kApplicationKey);
    std::string reply;
    {
        const ui::BusyPointer busy;
        reply = TheServiceClient->GetInfo();
    }
    ServiceResponse->Load(reply);
    const std::string notice = ServiceResponse->GetText("data.notice");
    Seams().systemBox.show(text::Utf8ToLocal("以下为公告内容\r\n") + notice);
    ServiceResponse->Clear();
    CountdownTicks = 0;
}

void LoginWindow::SignIn() {
    const std::string user = Control<ui::EditboxEx>("编辑框EX1").Text();
    const std::string password = Control<ui::EditboxEx>("编辑框EX2").Text();
    std::string reply;
    {
        const ui::BusyPointer busy;
        reply = TheServiceClient->Login(user, password);
    }
    ServiceResponse->Load(reply);

    if (ServiceResponse->GetText("code") == "608") {
        AssignText(CurrentUser, Control<ui::EditboxEx>("编辑框EX1").Text());
        AssignText(CurrentPassword, Control<ui::EditboxEx>("编辑框EX2").Text());
        AssignText(CurrentToken, ServiceResponse->GetText("data.token"));
        ServiceResponse->Clear();
        OpenMainWindow();
        ServiceResponse->Clear();
        close();
    }

    static constexpr std::array<std::pair<const char*, const char*>, 3> kFailures = {{
        {"601", "用户名不存在！"},
        {"603", "密码错误！"},
        {"604", "账号已被冻结！"},
    }};
    for (const auto& [code, message] : kFailures) {
        if (ServiceResponse->GetText("code") == code) {
            Seams().systemBox.show(text::Utf8ToLocal(message));
        }
    }
    ServiceResponse->Clear();
    ReleaseText(reply);
}

void LoginWindow::ShowRegistrationPanel() {
    StartCoverToRegistration(Control<ui::PictureBoxEx>("图片框EX1").Ref());
}

void LoginWindow::ShowSignInPanel() {
    StartCoverToSignIn(Control<ui::PictureBoxEx>("图片框EX1").Ref());
}

bool LoginWindow::focusNextPrevChild(bool next) {
    const bool registrationOpen = Control<ui::PictureBoxEx>("图片框EX1").Left() >= kCoverMiddle;
    const std::span<const char* const> boxes =
        registrationOpen ? std::span<const char* const>(kRegistrationBoxes)
                         : std::span<const char* const>(kSignInBoxes);
    const int count = static_cast<int>(boxes.size());
    int current = -1;
    for (int i = 0; i < count; ++i) {
        if (Control<ui::EditboxEx>(boxes[i]).hasFocus()) {
            current = i;
        }
    }
    int target = 0;
    if (current < 0) {
        target = next ? 0 : count - 1;
    } else {
        target = (current + (next ? 1 : count - 1)) % count;
    }
    Control<ui::EditboxEx>(boxes[target])
        .setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

LoginWindow* OpenLoginWindow() {
    return OpenWindow<LoginWindow>();
}

}  // namespace korvane::app
