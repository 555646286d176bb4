// Maps request paths to files of the served folder, never outside it.
#pragma once

#include <cstdint>
#include <string>

namespace demo {

enum class SiteLookup { Found, NotFound, Forbidden };

// `requestPath` is the decoded path of the request ("/vrk/azq.txt"). A path
// with a ".." segment or a NUL byte, or one that leads out of the root
// through a symbolic link, is Forbidden. Directories are NotFound (no
// listings). `rootRealPath` must be the canonical path of the root.
SiteLookup lookUpSiteFile(const std::string& rootRealPath, const std::string& requestPath,
                          std::string& filePath);

// Content type by the file name's extension.
std::string contentTypeFor(const std::string& path);

// A single "bytes=FIRST-" or "bytes=FIRST-LAST" range. Anything else
// (several ranges, a suffix range, garbage) is not a range we answer.
struct ByteRange {
  uint64_t first = 0;
  bool hasLast = false;
  uint64_t last = 0;
};
bool parseByteRange(const std::string& headerValue, ByteRange& out);

}  // namespace demo
