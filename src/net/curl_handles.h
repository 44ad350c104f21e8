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

// libcurl's process-wide set-up, done once before the first handle; false when it failed.
bool CurlReady();

}  // namespace korvane::net
