#include "net/transfer.h"

#include <algorithm>
#include <chrono>

namespace korvane::net {

namespace {

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    if (n > transfer.maxBytes - transfer.body.size()) {
        return 0;  // too large: libcurl ends the transfer with an error
    }
    transfer.body.insert(transfer.body.end(), data, data + n);
    return n;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    transfer.headerBytes += n;
    if (transfer.headerBytes > transfer.maxBytes) {
        return 0;
    }
    if (transfer.headers.Add({data, n}) && transfer.endAfterHeaders &&
        transfer.headers.Status() >= 200) {
        transfer.endedAfterHeaders = true;
        return 0;
    }
    return n;
}

long AtLeastOne(long long value) {
    return static_cast<long>(std::max<long long>(1, value));
}

}  // namespace

void SetCollection(Settings& set, Transfer& transfer) {
    set.Set(CURLOPT_WRITEFUNCTION, &OnBody);
    set.Set(CURLOPT_WRITEDATA, &transfer);
    set.Set(CURLOPT_HEADERFUNCTION, &OnHeader);
    set.Set(CURLOPT_HEADERDATA, &transfer);
}

void SetTimeLimits(Settings& set, const FetchOptions& options) {
    using std::chrono::duration_cast;
    using std::chrono::milliseconds;
    set.Set(CURLOPT_CONNECTTIMEOUT_MS, AtLeastOne(options.connectTimeout.count()));
    set.Set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    set.Set(CURLOPT_LOW_SPEED_TIME, AtLeastOne(options.stallTimeout.count()));
    set.Set(CURLOPT_TIMEOUT_MS,
            AtLeastOne(duration_cast<milliseconds>(options.totalTimeout).count()));
}

void SetTrust(Settings& set, const std::string& caBundle) {
    set.Set(CURLOPT_SSL_VERIFYPEER, 1L);
    set.Set(CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caBundle.empty()) {
        set.Set(CURLOPT_CAINFO, caBundle.c_str());
        set.Set(CURLOPT_CAPATH, static_cast<const char*>(nullptr));
    }
}

void SetVerbAndBody(Settings& set, int verb, std::string_view payload, Transfer& transfer) {
    // Never a null body pointer: libcurl would read the body from stdin instead.
    static constexpr char kNoBody[] = "";
    const char* data = payload.empty() ? kNoBody : payload.data();
    const auto size = static_cast<curl_off_t>(payload.size());
    const auto cap = static_cast<curl_off_t>(transfer.maxBytes);
    switch (verb) {
        case kMethodPost:
            set.Set(CURLOPT_POST, 1L);
            set.Set(CURLOPT_POSTFIELDSIZE_LARGE, size);
            set.Set(CURLOPT_POSTFIELDS, data);
            set.Set(CURLOPT_MAXFILESIZE_LARGE, cap);
            break;
        case kMethodHead:
            if (payload.empty()) {
                set.Set(CURLOPT_NOBODY, 1L);
            } else {
                // libcurl's own HEAD sends no body: post the body under the verb HEAD.
                set.Set(CURLOPT_POST, 1L);
                set.Set(CURLOPT_POSTFIELDSIZE_LARGE, size);
                set.Set(CURLOPT_POSTFIELDS, data);
                set.Set(CURLOPT_CUSTOMREQUEST, "HEAD");
                transfer.endAfterHeaders = true;
            }
            break;
        default:
            set.Set(CURLOPT_HTTPGET, 1L);
            set.Set(CURLOPT_MAXFILESIZE_LARGE, cap);
            break;
    }
}

bool Received(CURLcode result, const Transfer& transfer) {
    return result == CURLE_OK || (result == CURLE_WRITE_ERROR && transfer.endedAfterHeaders);
}

}  // namespace korvane::net
