#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace korvane::service::testing {

// A loopback HTTP server that answers every request with the same bytes and keeps the raw
// requests it received.
class CannedHttpServer {
  public:
    explicit CannedHttpServer(std::string response);
    ~CannedHttpServer();
    CannedHttpServer(const CannedHttpServer&) = delete;
    CannedHttpServer& operator=(const CannedHttpServer&) = delete;

    // "http://127.0.0.1:<port>/"
    std::string BaseUrl() const;
    std::vector<std::string> Requests() const;

  private:
    void Serve();
    void Answer(int connection);

    std::string response_;
    int port_ = 0;
    int listener_ = -1;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

// A whole HTTP/1.1 response with the body's length and a closing connection.
std::string HttpResponse(std::string_view statusLine, std::string_view body);

// A base URL on a loopback port that nothing listens on.
std::string UnreachableBaseUrl();

}  // namespace korvane::service::testing
