#pragma once
// Taking a task's address apart, and the addresses derived from it.
#include <cstdint>
#include <optional>
#include <string>

namespace download {

enum class Scheme { Http, Ftp, Mms, Rtsp };

struct UrlParts {
  Scheme scheme = Scheme::Http;
  std::string schemeText;  // as written, e.g. "HTTP://"
  std::string hostText;    // host, with ":port" when the address gives one
  std::string host;        // host alone
  int port = 80;
  std::string path;  // from the first "/" after the host, query included
};

// nullopt for an unknown scheme, a missing host or "/", a bad port, or control bytes
// (which would end up inside the request line).
std::optional<UrlParts> parseUrl(const std::string& url);

// The default Referer: url cut before its last "/".
std::string defaultReferer(const std::string& url);

// The address a Location leads to: an absolute http:// address, or a path-absolute
// one on the current host. nullopt when it cannot be used.
std::optional<std::string> resolveLocation(const UrlParts& current, const std::string& location);

// A file name for a folder target: the server's name, else the last part of the path.
// Anything that could leave the folder or is not a valid name gives "".
std::string safeFileName(const std::string& name);
std::string fileNameFromPath(const std::string& path);

}  // namespace download
