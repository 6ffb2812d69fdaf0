#include "download/http_request.h"

namespace download {

std::string buildRequest(const std::string& url, const UrlParts& parts, const std::string& referer,
                         std::optional<std::int64_t> rangeStart, bool viaProxy) {
  std::string range;
  if (rangeStart) range = "Range: bytes=" + std::to_string(*rangeStart) + "-\r\n";
  if (viaProxy) {
    return "GET " + url + " HTTP/1.1\r\n" + "Host: " + parts.hostText + "\r\n" +
           "User-Agent: " + kUserAgent + "\r\n" + range + "Proxy-Connection: Keep-Alive\r\n\r\n";
  }
  return "GET " + parts.path + " HTTP/1.1\r\n" + "Host: " + parts.hostText + "\r\n" +
         "Accept: */*\r\n" + "Referer: " + (referer.empty() ? defaultReferer(url) : referer) +
         "\r\n" + "User-Agent: " + kUserAgent + "\r\n" + range + "Pragma: no-cache\r\n" +
         "Cache-Control: no-cache\r\n" + "Connection: close\r\n\r\n";
}

}  // namespace download
