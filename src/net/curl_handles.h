#pragma once

#include <curl/curl.h>

#include <memory>

// Owners for libcurl's handles, so every early return releases what was made so far.
namespace korvane::net {

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;

struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, HeaderListDeleter>;

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

// Applies options one by one, stopping at the first that libcurl refuses.
class Settings {
  public:
    explicit Settings(CURL* easy) : easy_(easy) {}

    template <typename T>
    void Set(CURLoption option, T value) {
        if (ok_) {
            ok_ = curl_easy_setopt(easy_, option, value) == CURLE_OK;
        }
    }
    bool Ok() const { return ok_; }

  private:
    CURL* easy_;
    bool ok_ = true;
};

// libcurl's process-wide set-up, done once before the first handle; false when it failed.
bool CurlReady();

}  // namespace korvane::net
