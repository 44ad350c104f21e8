#include <QPointer>
#include <QTest>
#include <cmath>
#include <vector>

#include "anim/easing.h"
#include "app/login_window.h"
#include "app/main_window.h"
#include "app_test_support.h"
#include "ui/label_ex.h"
#include "ui/picture_box_ex.h"
#include "ui/selectthefolder_ex.h"

namespace korvane::app {
namespace {

using testing::Click;

// Every left position a control takes, read back from the control as each write lands.
class PositionLog {
  public:
    explicit PositionLog(ui::Control& control) {
        QObject::connect(&control, &ui::Control::moved, &control,
                         [this, &control](int, int) { lefts_.push_back(control.Left()); });
    }

    // Waits (bounded) for `count` writes in all.
    bool WaitFor(std::size_t count) {
        return QTest::qWaitFor([&] { return lefts_.size() >= count; }, 20000);
    }

    const std::vector<int>& Lefts() const { return lefts_; }

  private:
    std::vector<int> lefts_;
};

// The 40 positions of a 400 ms slide: the eased value truncated, the target on the last tick.
std::vector<int> Expected(int from, int to, int easing) {
    std::vector<int> lefts;
    double progress = 0;
    for (int tick = 1; tick < 40; ++tick) {
        progress += 10.0 / 400.0;
        lefts.push_back(static_cast<int>(anim::Ease(progress, from, to, easing)));
    }
    lefts.push_back(to);
    return lefts;
}

class SlideTest : public testing::ClientTest {
  protected:
    void SetUp() override {
        ClientTest::SetUp();
        login_ = new LoginWindow();
        login_->setAttribute(Qt::WA_DeleteOnClose);
        ASSERT_TRUE(testing::ShowActive(*login_));
    }

    ui::PictureBoxEx& Cover() { return login_->Control<ui::PictureBoxEx>("图片框EX1"); }
    ui::LabelEx& Link(const char* name) { return login_->Control<ui::LabelEx>(name); }

    QPointer<LoginWindow> login_;
};

TEST_F(SlideTest, RegistrationLinkSlidesTheCoverRight) {
    PositionLog log(Cover());
    Click(Link("标签EX1"));
    ASSERT_TRUE(log.WaitFor(40));
    const std::vector<int>& lefts = log.Lefts();
    ASSERT_EQ(lefts.size(), 40u);
    EXPECT_EQ(std::vector<int>(lefts.begin(), lefts.begin() + 3), (std::vector<int>{74, 88, 101}));
    EXPECT_EQ(lefts[9], 186);
    EXPECT_EQ(lefts[19], 277);
    EXPECT_EQ(lefts[38], 349);
    EXPECT_EQ(lefts[39], 350);
    EXPECT_EQ(lefts, Expected(60, 350, 2));
    EXPECT_EQ(Cover().Left(), 350);
    EXPECT_EQ(Cover().Top(), 60);
}

TEST_F(SlideTest, SignInLinkSlidesTheCoverBackFromItsFixedStart) {
    // From the right resting place first.
    PositionLog log(Cover());
    Cover().SetLeft(350);
    Click(Link("标签EX3"));
    ASSERT_TRUE(log.WaitFor(41));
    const std::vector<int> lefts(log.Lefts().begin() + 1, log.Lefts().end());
    ASSERT_EQ(lefts.size(), 40u);
    EXPECT_EQ(std::vector<int>(lefts.begin(), lefts.begin() + 3),
              (std::vector<int>{349, 349, 348}));
    EXPECT_EQ(lefts[9], 331);
    EXPECT_EQ(lefts[19], 277);
    EXPECT_EQ(lefts[38], 74);
    EXPECT_EQ(lefts[39], 60);
    EXPECT_EQ(lefts, Expected(350, 60, 1));

    // Clicked again where the cover already rests, it jumps to 349 first.
    Click(Link("标签EX3"));
    ASSERT_TRUE(log.WaitFor(81));
    EXPECT_EQ(log.Lefts()[41], 349);
    EXPECT_EQ(log.Lefts()[80], 60);
}

TEST_F(SlideTest, SecondClickMidSlideLeavesTheLaterSlidesTarget) {
    PositionLog log(Cover());
    Click(Link("标签EX1"));
    ASSERT_TRUE(log.WaitFor(5));
    Cover().lower();  // keep the sign-in link clickable wherever the cover is now
    Click(Link("标签EX3"));
    ASSERT_TRUE(log.WaitFor(80));
    // Both slides write every one of their positions; the later one ends last, at 60.
    EXPECT_EQ(log.Lefts().size(), 80u);
    EXPECT_EQ(log.Lefts().back(), 60);
    EXPECT_EQ(Cover().Left(), 60);
}

TEST_F(SlideTest, PageAreaSlidesInOnEveryTabClick) {
    login_->close();
    MainWindow* main = OpenMainWindow();
    ASSERT_TRUE(testing::ShowActive(*main));
    auto& pages = main->Control<ui::SelectthefolderEx>("选择夹EX1");
    PositionLog log(pages);

    // A tab of the strip raises event 1: its first tab lies near the control's top left.
    const QPoint firstTab(10, pages.StripHeight() / 2);
    Click(pages, firstTab);
    ASSERT_TRUE(log.WaitFor(40));
    const std::vector<int> lefts = log.Lefts();
    EXPECT_EQ(std::vector<int>(lefts.begin(), lefts.begin() + 3), (std::vector<int>{13, 25, 38}));
    EXPECT_EQ(lefts[9], 115);
    EXPECT_EQ(lefts[19], 198);
    EXPECT_EQ(lefts[38], 263);
    EXPECT_EQ(lefts[39], 264);
    EXPECT_EQ(lefts, Expected(0, 264, 2));
    EXPECT_EQ(pages.Left(), 264);

    // Wherever it stands, the next slide starts from 0 again.
    Click(pages, firstTab);
    ASSERT_TRUE(log.WaitFor(80));
    EXPECT_EQ(log.Lefts()[40], 13);
    EXPECT_EQ(log.Lefts()[79], 264);
}

}  // namespace
}  // namespace korvane::app
