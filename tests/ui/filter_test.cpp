#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>
#include <memory>

#include "ui/button_ex.h"
#include "ui/filter_ex.h"
#include "ui/form_window.h"
#include "ui/window_ex.h"

namespace korvane::ui {
namespace {

// The owner window with a button the veil must cover, and a message window that brings the
// filter and inserts it into the owner.
class FilterTest : public testing::Test {
  protected:
    void SetUp() override {
        frame_.setGeometry(8, 8, 24, 24);
        button_.setGeometry(100, 100, 80, 30);
        owner_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner_));
        message_ = std::make_unique<FormWindow>(200, 120);
        filter_ = message_->Adopt(std::make_unique<FilterEx>(message_->Surface()));
        filter_->hide();
    }

    void Cover() {
        filter_->SetEffect(0);
        filter_->InsertInto(frame_);
        filter_->SetRect(0, 0, frame_.FormWidth(), frame_.FormHeight());
        filter_->show();
        filter_->SetLayer(2);
        message_->show();
    }

    FormWindow owner_{400, 300};
    WindowEx frame_{owner_.Surface()};
    ButtonEx button_{owner_.Surface()};
    std::unique_ptr<FormWindow> message_;
    FilterEx* filter_ = nullptr;
};

TEST_F(FilterTest, CoversTheWholeOwnerAboveItsControls) {
    Cover();
    EXPECT_EQ(filter_->parentWidget(), owner_.Surface());
    EXPECT_EQ(filter_->geometry(), owner_.Surface()->rect());
    EXPECT_TRUE(filter_->isVisible());
    EXPECT_EQ(owner_.Surface()->childAt(QPoint(140, 115)), filter_);
    EXPECT_EQ(filter_->Layer(), 2);
}

TEST_F(FilterTest, GoesAwayWithTheMessageWindow) {
    Cover();
    message_->hide();
    EXPECT_FALSE(filter_->isVisible());
    const QPointer<FilterEx> watch(filter_);
    message_.reset();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(owner_.Surface()->childAt(QPoint(140, 115)), &button_);
}

TEST_F(FilterTest, VeilDimsWhatLiesBelow) {
    const QRgb before = owner_.Surface()->grab().toImage().pixel(50, 50);
    Cover();
    const QRgb after = owner_.Surface()->grab().toImage().pixel(50, 50);
    EXPECT_LT(qGray(after), qGray(before) - 40);
}

}  // namespace
}  // namespace korvane::ui
