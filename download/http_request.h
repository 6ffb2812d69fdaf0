#pragma once
// The request text a connection sends.
#include <cstdint>
#include <optional>
#include <string>

#include "download/url_parts.h"

namespace download {

inline constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)";

// `rangeStart` set: an open-ended range request from that position. `viaProxy`: the whole
// url goes into the request line and only the proxy's headers follow.
std::string buildRequest(const std::string& url, const UrlParts& parts, const std::string& referer,
                         std::optional<std::int64_t> rangeStart, bool viaProxy);

}  // namespace download
