#include "app/startup.h"

#include <QApplication>
#include <QPointer>
#include <atomic>
#include <cstdlib>
#include <vector>

#include "app/assets.h"
#include "app/globals.h"
#include "app/login_window.h"
#include "app/termination.h"

namespace korvane::app {

void CreateGlobals() {
    TheServiceClient = std::make_unique<service::ServiceClient>();
    ServiceResponse = std::make_unique<script::JsonDoc>();
    MaskRect = std::make_unique<MaskRectangle>();
}

void ExitCleanup() {
    ReleaseText(VerificationCode);
    TheServiceClient.reset();
    ServiceResponse.reset();
    ReleaseText(MessageTitle);
    ReleaseText(MessageText);
    MaskRect.reset();
    ReleaseText(CurrentUser);
    ReleaseText(CurrentPassword);
    ReleaseText(CurrentToken);
}

bool RegisterExitCleanup() {
    static std::atomic<bool> registered{false};
    if (registered.exchange(true)) {
        return false;
    }
    std::atexit([] { ExitCleanup(); });
    return true;
}

int Startup(int argc, char** argv) {
    QApplication application(argc, argv);
    LoadAssets();
    // Matches the installed desktop entry, so the taskbar groups the windows under it.
    QGuiApplication::setDesktopFileName(QStringLiteral("korvane"));
    QApplication::setWindowIcon(ApplicationIcon());
    CreateGlobals();
    RegisterExitCleanup();
    const TerminationSignals termination;

    OpenLoginWindow();
    if (!termination.Requested()) {
        QApplication::exec();
    }

    // Windows still open when the end-program command ran go before the application does.
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        windows.emplace_back(window);
    }
    for (const QPointer<QWidget>& window : windows) {
        delete window.data();
    }
    return 0;
}

}  // namespace korvane::app
