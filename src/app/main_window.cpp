#include "app/main_window.h"

#include <QCoreApplication>

#include "app/clock_text.h"
#include "app/globals.h"
#include "app/main_form.h"
#include "app/message_window.h"
#include "app/navigation.h"
#include "app/open_window.h"
#include "app/transitions.h"
#include "text/code_page.h"
#include "ui/busy_pointer.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/imagebutton_ex.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"
#include "ui/selectthefolder_ex.h"
#include "ui/superbutton_ex.h"
#include "ui/window_timer.h"

namespace korvane::app {

namespace {

constexpr std::uint32_t kCardFill = 0xFFF5F6FA;
constexpr const char* kCards[] = {"标签_卡片1", "标签_卡片2", "标签_卡片3", "标签_卡片4"};

}  // namespace

MainWindow::MainWindow() : ui::FormWindow(MainForm().width, MainForm().height) {
    setWindowTitle(QStringLiteral("Korvane"));
    ui::BuildForm(*this, MainForm().rows);

    for (const char* card : kCards) {
        Control<ui::LabelEx>(card).SetBackground(kCardFill);
    }
    Control<ui::LabelEx>("标签EX15").SetAlignment(Qt::AlignCenter);
    Control<ui::LabelEx>("标签EX2").SetAlignment(Qt::AlignCenter);
    // The magnifier sits inside the search box: text right of it, clicks through it.
    Control<ui::EditboxEx>("编辑框EX1").SetTextIndent(44);
    Control<ui::PictureBoxEx>("图片框EX12").setAttribute(Qt::WA_TransparentForMouseEvents);

    connect(&Control<ui::WindowTimer>("时钟1"), &ui::WindowTimer::tick, this,
            &MainWindow::ClockTick);
    for (int row = 0; row < static_cast<int>(kNavigationButtons.size()); ++row) {
        connect(&Control<ui::SuperbuttonEx>(kNavigationButtons[row]), &ui::SuperbuttonEx::clicked,
                this, [this, row] { Navigate(row); });
    }
    connect(&Control<ui::ButtonEx>("按钮EX1"), &ui::ButtonEx::clicked, this,
            &MainWindow::ShowSearchMessage);
    connect(&Control<ui::ImagebuttonEx>("图片按钮EX7"), &ui::ImagebuttonEx::clicked, this,
            &MainWindow::SignOutAndExit);
    // A dashboard action that is not offered yet.
    connect(&Control<ui::ImagebuttonEx>("图片按钮EX5"), &ui::ImagebuttonEx::clicked, this, [] {});
    connect(&Control<ui::SelectthefolderEx>("选择夹EX1"), &ui::SelectthefolderEx::tabClicked, this,
            &MainWindow::SlidePageIn);

    setFocusPolicy(Qt::ClickFocus);
    setFocus(Qt::OtherFocusReason);
}

MainWindow::~MainWindow() = default;

void MainWindow::OnCreated() {
    Control<ui::WindowTimer>("时钟1").SetPeriod(1000);
    Control<ui::LabelEx>("标签EX2").SetText(CurrentUser);
}

void MainWindow::ClockTick() {
    Control<ui::LabelEx>("标签EX4").SetText(ClockTextNow());
}

void MainWindow::Navigate(int row) {
    const NavigationRow& state = kNavigationTable[static_cast<std::size_t>(row)];
    for (std::size_t i = 0; i < kNavigationButtons.size(); ++i) {
        Control<ui::SuperbuttonEx>(kNavigationButtons[i]).SetSelected(state.selected[i]);
    }
    for (std::size_t i = 0; i < kNavigationButtons.size(); ++i) {
        Control<ui::SuperbuttonEx>(kNavigationButtons[i]).SetTextColour(state.colours[i]);
    }
    for (std::size_t i = 0; i < kNavigationButtons.size(); ++i) {
        Control<ui::SuperbuttonEx>(kNavigationButtons[i])
            .SetIconPath(QString::fromLatin1(state.icons[i]));
    }
    Control<ui::SelectthefolderEx>("选择夹EX2").SetCurrentPage(state.page);
}

void MainWindow::ShowSearchMessage() {
    ShowMessage(FrameOf(*this), text::Utf8ToLocal("提示"), 1, text::Utf8ToLocal("看看就好，没用的"),
                WholeWindow(*this), 1, 0);
}

void MainWindow::SignOutAndExit() {
    std::string reply;
    {
        const ui::BusyPointer busy;
        reply = TheServiceClient->Logout(CurrentUser, CurrentPassword, CurrentToken);
    }
    ReleaseText(reply);
    QCoreApplication::exit(0);
}

void MainWindow::SlidePageIn() {
    StartPageAreaIn(Control<ui::SelectthefolderEx>("选择夹EX1").Ref());
}

MainWindow* OpenMainWindow() {
    return OpenWindow<MainWindow>();
}

}  // namespace korvane::app
