#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "ui/form_window.h"
#include "ui/selectthefolder_ex.h"

namespace korvane::ui {
namespace {

struct StripCase {
    bool bottom;
};

class TabsTest : public testing::TestWithParam<StripCase> {
  protected:
    void SetUp() override {
        tabs_.setGeometry(20, 20, 400, 300);
        tabs_.SetStripAtBottom(GetParam().bottom);
        for (const char* caption : {"Popular", "Favourite", "Recent"}) {
            tabs_.AddPage(caption);
        }
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    QPoint PointOnTab(int index) const { return tabs_.TabRect(index).center(); }

    FormWindow window_{440, 340};
    SelectthefolderEx tabs_{window_.Surface()};
};

TEST_P(TabsTest, PagesHaveTheirCaptionsAndOnlyTheCurrentOneShows) {
    ASSERT_EQ(tabs_.PageCount(), 3);
    EXPECT_EQ(tabs_.CaptionQ(1), QStringLiteral("Favourite"));
    EXPECT_EQ(tabs_.CurrentPage(), 0);
    EXPECT_EQ(tabs_.Page(3), nullptr);
    // A page fills the control beside the strip.
    const int strip = tabs_.StripHeight();
    EXPECT_EQ(tabs_.Page(0)->geometry(),
              QRect(0, GetParam().bottom ? 0 : strip, tabs_.width(), tabs_.height() - strip));

    QSignalSpy clicks(&tabs_, &SelectthefolderEx::tabClicked);
    tabs_.SetCurrentPage(2);
    tabs_.SetCurrentPage(7);
    EXPECT_EQ(tabs_.CurrentPage(), 2);
    EXPECT_FALSE(tabs_.Page(0)->isVisible());
    EXPECT_TRUE(tabs_.Page(2)->isVisible());
    EXPECT_EQ(clicks.count(), 0);  // event 1 belongs to the user
}

TEST_P(TabsTest, ClickingATabSwitchesAndRaisesEvent1) {
    const QPoint second = PointOnTab(1);
    QSignalSpy clicks(&tabs_, &SelectthefolderEx::tabClicked);
    QSignalSpy changes(&tabs_, &SelectthefolderEx::currentChanged);

    QTest::mouseClick(&tabs_, Qt::LeftButton, {}, second);
    EXPECT_EQ(tabs_.CurrentPage(), 1);
    // The tab already showing raises it again, without a page change.
    QTest::mouseClick(&tabs_, Qt::LeftButton, {}, second);

    ASSERT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks[0][0].toInt(), 1);
    EXPECT_EQ(clicks[1][0].toInt(), 1);
    EXPECT_EQ(changes.count(), 1);
}

TEST_P(TabsTest, ClicksOnThePageOrAPressDraggedOffTheTabRaiseNothing) {
    QSignalSpy clicks(&tabs_, &SelectthefolderEx::tabClicked);
    QTest::mouseClick(tabs_.Page(0), Qt::LeftButton, {}, QPoint(200, 100));

    const QPoint first = PointOnTab(0);
    QTest::mousePress(&tabs_, Qt::LeftButton, {}, first);
    QTest::mouseRelease(&tabs_, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_EQ(clicks.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Strip, TabsTest, testing::Values(StripCase{false}, StripCase{true}),
                         [](const auto& param) {
                             return std::string(param.param.bottom ? "Bottom" : "Top");
                         });

}  // namespace
}  // namespace korvane::ui
