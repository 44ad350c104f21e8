#pragma once

#include <gtest/gtest.h>
#include <QPoint>
#include <QWidget>
#include <atomic>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace korvane::app::testing {

// Client text of a UTF-8 literal.
std::string Local(std::string_view utf8);

// Fresh globals and seams for every test: the system box records instead of showing, and
// every window left open by a test is closed afterwards.
class ClientTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<std::string> systemMessages_;
};

// Shows `window` and waits (bounded) until it is the active window, so focus events flow.
bool ShowActive(QWidget& window);

// A real left click in the middle of `widget` (or at `at` inside it).
void Click(QWidget& widget);
void Click(QWidget& widget, QPoint at);

// Every top-level widget of class T that is still alive.
template <class T>
std::vector<T*> OpenWindows();

// An account service stand-in on loopback that answers every request with one fixed reply,
// encrypted as the real service does.
class CannedService {
  public:
    explicit CannedService(std::string replyJson);
    ~CannedService();
    CannedService(const CannedService&) = delete;
    CannedService& operator=(const CannedService&) = delete;

    std::string BaseUrl() const;
    // Requests answered so far.
    int Requests() const { return requests_.load(); }

  private:
    void Serve();

    std::string body_;
    std::atomic<int> requests_{0};
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

// A base URL where nothing listens: every request fails.
std::string DeadServiceUrl();

}  // namespace korvane::app::testing

#include <QApplication>

template <class T>
std::vector<T*> korvane::app::testing::OpenWindows() {
    std::vector<T*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<T*>(widget)) {
            found.push_back(window);
        }
    }
    return found;
}
