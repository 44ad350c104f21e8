#include "net/curl_handles.h"

namespace korvane::net {

bool CurlReady() {
    // Once per process, before any handle; libcurl is never torn down while the client runs.
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

}  // namespace korvane::net
