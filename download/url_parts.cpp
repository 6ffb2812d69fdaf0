#include "download/url_parts.h"

#include <cctype>

#include "forms/files/entry_name.h"
#include "forms/values/gbk.h"

namespace download {

namespace {

struct SchemeEntry {
  const char* prefix;
  Scheme scheme;
  int port;
};

// Longer prefixes first: "mmst://" must not be read as "mms" + "t://".
constexpr SchemeEntry kSchemes[] = {
    {"http://", Scheme::Http, 80}, {"ftp://", Scheme::Ftp, 21},    {"mmst://", Scheme::Mms, 1755},
    {"mms://", Scheme::Mms, 1755}, {"rtsp://", Scheme::Rtsp, 554},
};

bool startsWithNoCase(const std::string& text, const char* prefix) {
  std::size_t i = 0;
  for (; prefix[i] != 0; ++i) {
    // No row shows the length test: a shorter text would differ at its terminating NUL
    // as well. It stays so that no read depends on that.
    if (i >= text.size() ||
        std::tolower(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(prefix[i]))
      return false;
  }
  return true;
}

// Longest address the engine follows; longer ones come only from broken servers.
constexpr std::size_t kUrlLimit = 2048;

// Position after the last byte that is `sep1` or `sep2` as a character of its own
// (a GBK trail byte may equal '\\'); 0 when there is none.
std::size_t afterLastSeparator(const std::string& text, char sep1, char sep2) {
  std::size_t after = 0;
  for (std::size_t i = 0; i < text.size(); i += forms::gbkCharLength(text, i))
    if (text[i] == sep1 || text[i] == sep2) after = i + 1;
  return after;
}

}  // namespace

std::optional<UrlParts> parseUrl(const std::string& url) {
  if (url.size() > kUrlLimit) return std::nullopt;
  for (unsigned char c : url)
    if (c < 0x20 || c == 0x7F) return std::nullopt;
  for (const SchemeEntry& entry : kSchemes) {
    if (!startsWithNoCase(url, entry.prefix)) continue;
    UrlParts parts;
    parts.scheme = entry.scheme;
    parts.port = entry.port;
    std::size_t hostStart = std::string(entry.prefix).size();
    parts.schemeText = url.substr(0, hostStart);
    std::size_t slash = url.find('/', hostStart);
    if (slash == std::string::npos || slash == hostStart) return std::nullopt;
    parts.hostText = url.substr(hostStart, slash - hostStart);
    parts.path = url.substr(slash);
    std::size_t colon = parts.hostText.find(':');
    parts.host = parts.hostText.substr(0, colon);
    if (parts.host.empty() || parts.host.find(' ') != std::string::npos) return std::nullopt;
    if (colon != std::string::npos) {
      std::string digits = parts.hostText.substr(colon + 1);
      if (digits.empty() || digits.size() > 5) return std::nullopt;
      int port = 0;
      for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        port = port * 10 + (c - '0');
      }
      if (port < 1 || port > 65535) return std::nullopt;
      parts.port = port;
    }
    return parts;
  }
  return std::nullopt;
}

std::string defaultReferer(const std::string& url) {
  std::size_t slash = url.rfind('/');
  return slash == std::string::npos ? url : url.substr(0, slash);
}

std::optional<std::string> resolveLocation(const UrlParts& current, const std::string& location) {
  if (location.compare(0, 2, "//") == 0) return std::nullopt;  // scheme-relative
  // parseUrl refuses an empty or overlong address, and the target is never shorter.
  const std::string target = location.compare(0, 1, "/") == 0
                                 ? current.schemeText + current.hostText + location
                                 : location;
  std::optional<UrlParts> parts = parseUrl(target);
  if (!parts || parts->scheme != Scheme::Http) return std::nullopt;
  return target;
}

std::string safeFileName(const std::string& name) {
  std::string base = name.substr(afterLastSeparator(name, '/', '\\'));
  // An empty name, "..", ':' and device names ("CON", "nul.zip") are the entry-name
  // rule's below; "." passes it, being a harmless part of a longer entry name.
  if (base == "." || base.size() > 200) return "";
  // A trail byte may look like '|' and is part of its character.
  for (std::size_t i = 0; i < base.size(); i += forms::gbkCharLength(base, i)) {
    const auto c = static_cast<unsigned char>(base[i]);
    if (c < 0x20 || std::string_view("<>\"|?*").find(base[i]) != std::string_view::npos) return "";
  }
  // A name the platform trims to nothing ("...") would not be a file in the folder.
  if (!forms::isSafeEntryName(base)) return "";
  return base;
}

std::string fileNameFromPath(const std::string& path) {
  std::string clean = path.substr(0, path.find_first_of("?#"));
  return safeFileName(clean);
}

}  // namespace download
