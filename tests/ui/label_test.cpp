#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "text/code_page.h"
#include "ui/form_window.h"
#include "ui/label_ex.h"

namespace korvane::ui {
namespace {

class LabelTest : public testing::Test {
  protected:
    void SetUp() override {
        label_.setGeometry(40, 40, 120, 40);
        window_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    FormWindow window_{240, 160};
    LabelEx label_{window_.Surface()};
};

TEST_F(LabelTest, PointerEnterAndLeaveCarryTheirFlag) {
    QSignalSpy spy(&label_, &LabelEx::hovered);
    QTest::mouseMove(window_.Surface(), QPoint(10, 10));
    QTest::mouseMove(window_.Surface(), QPoint(60, 60));
    QTest::mouseMove(window_.Surface(), QPoint(80, 55));
    QTest::mouseMove(window_.Surface(), QPoint(200, 130));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_TRUE(spy[0][0].toBool());
    EXPECT_FALSE(spy[1][0].toBool());
}

TEST_F(LabelTest, ClickIsReportedOnRelease) {
    QSignalSpy spy(&label_, &LabelEx::clicked);
    QTest::mouseClick(&label_, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(LabelTest, TextIsPaintedInItsColour) {
    label_.SetText(text::Utf8ToLocal("注册账号"));
    label_.SetFontPixelSize(30);
    label_.SetColour(0xFF026CFA);
    EXPECT_EQ(label_.Colour(), 0xFF026CFAu);
    EXPECT_EQ(label_.Text(), text::Utf8ToLocal("注册账号"));

    // The cores of the strokes are the colour itself; antialiased edges blend with white.
    const QImage picture = label_.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    int exact = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            exact +=
                qRed(pixel) < 8 && qAbs(qGreen(pixel) - 0x6C) < 8 && qAbs(qBlue(pixel) - 0xFA) < 8;
        }
    }
    EXPECT_GT(exact, 0);
}

}  // namespace
}  // namespace korvane::ui
