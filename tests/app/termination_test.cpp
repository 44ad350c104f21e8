#include "app/termination.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <csignal>

namespace korvane::app {
namespace {

// The start-up notice is a modal box shown before the main loop runs: a signal taken there must
// still end the program once the box is gone.
TEST(TerminationSignals, ASignalInsideANestedLoopEndsItAndIsRemembered) {
    const TerminationSignals termination;
    EXPECT_FALSE(termination.Requested());

    QEventLoop modal;
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(10000, &modal, [&modal] { modal.exit(1); });
    EXPECT_EQ(modal.exec(), 0);
    EXPECT_TRUE(termination.Requested());
}

}  // namespace
}  // namespace korvane::app
