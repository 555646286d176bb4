#include "tools/demo_server/site_files.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace demo {
namespace {

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool parseDecimal(const std::string& text, uint64_t& out) {
  if (text.empty() || text.size() > 19) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  out = value;
  return true;
}

}  // namespace

SiteLookup lookUpSiteFile(const std::string& rootRealPath, const std::string& requestPath,
                          std::string& filePath) {
  if (requestPath.empty() || requestPath[0] != '/') return SiteLookup::Forbidden;
  if (requestPath.find('\0') != std::string::npos) return SiteLookup::Forbidden;
  std::string joined = rootRealPath;
  size_t start = 1;
  while (start <= requestPath.size()) {
    size_t end = requestPath.find('/', start);
    if (end == std::string::npos) end = requestPath.size();
    std::string segment = requestPath.substr(start, end - start);
    if (segment == "..") return SiteLookup::Forbidden;
    if (!segment.empty() && segment != ".") joined += "/" + segment;
    start = end + 1;
  }
  // Symbolic links inside the folder may not lead out of it.
  char resolved[PATH_MAX];
  if (!realpath(joined.c_str(), resolved)) return SiteLookup::NotFound;
  std::string real = resolved;
  if (real != rootRealPath && real.compare(0, rootRealPath.size() + 1, rootRealPath + "/") != 0) {
    return SiteLookup::Forbidden;
  }
  struct stat info;
  if (stat(real.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return SiteLookup::NotFound;
  filePath = real;
  return SiteLookup::Found;
}

std::string contentTypeFor(const std::string& path) {
  struct { const char* extension; const char* type; } const kTypes[] = {
      {".txt", "text/plain; charset=utf-8"}, {".html", "text/html; charset=utf-8"},
      {".htm", "text/html; charset=utf-8"},  {".zip", "application/zip"},
      {".png", "image/png"},                 {".ini", "text/plain"},
  };
  for (const auto& entry : kTypes) {
    if (endsWith(path, entry.extension)) return entry.type;
  }
  return "application/octet-stream";
}

bool parseByteRange(const std::string& headerValue, ByteRange& out) {
  const std::string prefix = "bytes=";
  size_t start = headerValue.find_first_not_of(" \t");
  if (start == std::string::npos || headerValue.compare(start, prefix.size(), prefix) != 0) {
    return false;
  }
  std::string rangeText = headerValue.substr(start + prefix.size());
  size_t end = rangeText.find_last_not_of(" \t");
  rangeText = end == std::string::npos ? std::string() : rangeText.substr(0, end + 1);
  size_t dash = rangeText.find('-');
  if (dash == std::string::npos || rangeText.find(',') != std::string::npos) return false;
  ByteRange range;
  if (!parseDecimal(rangeText.substr(0, dash), range.first)) return false;
  std::string lastText = rangeText.substr(dash + 1);
  if (!lastText.empty()) {
    if (!parseDecimal(lastText, range.last) || range.last < range.first) return false;
    range.hasLast = true;
  }
  out = range;
  return true;
}

}  // namespace demo
