// What the taskbar and the window manager show for the client's windows.
#include <gtest/gtest.h>

#include <QIcon>
#include <QList>
#include <QSize>
#include <algorithm>

#include "app/assets.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app/message_window.h"
#include "app_test_support.h"

namespace korvane::app {
namespace {

using testing::Local;

TEST(WindowIdentityTest, IconCarriesEveryDrawnSizeUpTo256) {
    const QIcon icon = ApplicationIcon();
    QList<QSize> sizes = icon.availableSizes();
    std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
    const QList<QSize> expected = {{16, 16}, {24, 24},   {32, 32},  {48, 48},
                                   {64, 64}, {128, 128}, {256, 256}};
    EXPECT_EQ(sizes, expected);
}

class WindowTitleTest : public testing::ClientTest {};

TEST_F(WindowTitleTest, EveryWindowHasATitleAndAMessageIsTitledByItsOwn) {
    EXPECT_EQ(LoginWindow().windowTitle(), QStringLiteral("Korvane"));
    EXPECT_EQ(MainWindow().windowTitle(), QStringLiteral("Korvane"));
    for (const auto& [title, shown] : {std::pair{"警告", "警告"}, std::pair{"", "Korvane"}}) {
        AssignText(MessageTitle, Local(title));
        MessageWindow message;
        message.OnCreated();
        EXPECT_EQ(message.windowTitle(), QString::fromUtf8(shown)) << title;
    }
}

}  // namespace
}  // namespace korvane::app
