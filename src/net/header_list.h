#pragma once

#include <string_view>

#include "net/curl_handles.h"

namespace korvane::net {

// The request header block as libcurl's header list: one entry per line, so that libcurl sends
// each line as written and adds no header of the same name, followed by entries that keep
// libcurl's own Accept, Expect and Proxy-Connection lines off the wire. Any CR or LF ends a
// line. False when memory ran out.
bool BuildHeaderList(std::string_view block, HeaderList& list);

}  // namespace korvane::net
