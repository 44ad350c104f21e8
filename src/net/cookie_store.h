#pragma once

#include <curl/curl.h>

namespace korvane::net {

// The process-wide cookie store: a libcurl share object holding cookies in memory only (never
// a file), locked so calls on several threads may use it. Null when it could not be made.
CURLSH* SharedCookieStore();

}  // namespace korvane::net
