#include "app/startup.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>

#include "app/globals.h"
#include "app_test_support.h"

namespace korvane::app {
namespace {

TEST(Startup, CreateGlobalsMakesTheServiceObjectsAndAnEmptyRectangle) {
    ExitCleanup();
    CreateGlobals();
    ASSERT_NE(TheServiceClient, nullptr);
    ASSERT_NE(ServiceResponse, nullptr);
    EXPECT_EQ(ServiceResponse->GetText("code"), "");
    EXPECT_EQ(ServiceResponse->ToJson(), "{}");
    ASSERT_NE(MaskRect, nullptr);
    EXPECT_EQ(MaskRect->left + MaskRect->top + MaskRect->width + MaskRect->height, 0);
    ExitCleanup();
}

TEST(Startup, ExitCleanupReleasesEverythingAndToleratesASecondRun) {
    CreateGlobals();
    AssignText(VerificationCode, "123456");
    AssignText(MessageTitle, "t");
    AssignText(MessageText, "x");
    AssignText(CurrentUser, "u");
    AssignText(CurrentPassword, "p");
    AssignText(CurrentToken, "k");
    ExitCleanup();
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(TheServiceClient, nullptr);
        EXPECT_EQ(ServiceResponse, nullptr);
        EXPECT_EQ(MaskRect, nullptr);
        for (const std::string* text : {&VerificationCode, &MessageTitle, &MessageText,
                                        &CurrentUser, &CurrentPassword, &CurrentToken}) {
            EXPECT_TRUE(text->empty());
            EXPECT_EQ(text->capacity(), std::string().capacity());
        }
        ExitCleanup();
    }
}

// Runs after ExitCleanup at exit, since it was registered before it.
void ReportAtExit() {
    const bool released = TheServiceClient == nullptr && ServiceResponse == nullptr &&
                          MaskRect == nullptr && CurrentUser.empty() && CurrentToken.empty();
    std::fputs(released ? "released at exit\n" : "still set at exit\n", stderr);
    std::fflush(stderr);
    ::_exit(released ? 0 : 3);
}

TEST(StartupDeathTest, ExitCleanupIsRegisteredOnceAndRunsAtExit) {
    EXPECT_EXIT(
        {
            std::atexit(ReportAtExit);
            CreateGlobals();
            AssignText(CurrentUser, "u");
            AssignText(CurrentToken, "k");
            const bool first = RegisterExitCleanup();
            const bool second = RegisterExitCleanup();
            if (!first || second) {
                ::_exit(4);
            }
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "released at exit");
}

}  // namespace
}  // namespace korvane::app
