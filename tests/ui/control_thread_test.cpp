#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <thread>
#include <vector>

#include "ui/control_update_cache.h"
#include "ui/picture_box_ex.h"

namespace korvane::ui {
namespace {

std::vector<int> Lefts(const QSignalSpy& spy) {
    std::vector<int> lefts;
    for (const QList<QVariant>& call : spy) {
        lefts.push_back(call[0].toInt());
    }
    return lefts;
}

TEST(ControlThreadTest, WritesFromATimerThreadArriveInOrder) {
    PictureBoxEx box;
    box.setGeometry(60, 60, 350, 350);
    QSignalSpy spy(&box, &Control::moved);
    // Repeated values must come through as writes of their own.
    const std::vector<int> written{349, 349, 348, 331, 277, 74, 60};
    std::thread writer([ref = box.Ref(), &written] {
        for (int left : written) {
            ref->SetLeft(left);
            ControlUpdateCache();
        }
    });
    writer.join();
    EXPECT_EQ(box.Left(), 60);  // nothing applied before the GUI thread runs its events
    QTRY_COMPARE(spy.count(), static_cast<int>(written.size()));
    EXPECT_EQ(Lefts(spy), written);
    EXPECT_EQ(box.Left(), 60);
    EXPECT_EQ(box.Top(), 60);
}

TEST(ControlThreadTest, GuiThreadWritesApplyAtOnce) {
    PictureBoxEx box;
    QSignalSpy spy(&box, &Control::moved);
    box.SetRect(1, 2, 30, 40);
    EXPECT_EQ(box.geometry(), QRect(1, 2, 30, 40));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1][0].toInt(), 1);
    EXPECT_EQ(spy[1][1].toInt(), 2);
}

TEST(ControlThreadTest, WritesThroughARefAfterTheControlIsGoneAreDropped) {
    std::shared_ptr<ControlRef> ref;
    {
        PictureBoxEx box;
        ref = box.Ref();
        std::thread([ref] { ref->SetLeft(5); }).join();
    }
    std::thread([ref] {
        ref->SetLeft(7);
        ref->SetTop(8);
    }).join();
    QTest::qWait(10);  // the dropped and the orphaned events, if any, would run here
}

}  // namespace
}  // namespace korvane::ui
