// Per-request behaviour switches of the demo server: how a response is bent
// to imitate a faulty or unusual product server.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace demo {

struct ResponseSwitches {
  std::optional<int> status;         // answer with this status and an HTML error page
  std::optional<uint64_t> cut;       // close the connection after this many body bytes
  std::optional<uint64_t> reset;     // reset the connection after this many body bytes
  std::optional<uint64_t> stallMs;   // wait this long between the headers and the body
  std::optional<bool> noLength;      // no Content-Length: the body ends when the connection closes
  std::optional<bool> noRange;       // ignore Range and send the whole content
  std::optional<std::string> body;   // send this text instead of the file

  bool empty() const {
    return !status && !cut && !reset && !stallMs && !noLength && !noRange && !body;
  }
  // Switches set in `later` win over those set here.
  void overrideWith(const ResponseSwitches& later);
  // The response has to leave the library's normal path: a length that is
  // not kept, a missing length or a reset.
  bool needsRawConnection() const { return cut || reset || noLength.value_or(false); }
};

// Decodes %XX escapes; a '%' not followed by two hex digits is kept as it is.
// '+' stays '+'.
std::string percentDecode(const std::string& text);

// Parses a comma-separated list "status=404,cut=100,body=TEXT". The body text
// is percent-decoded; a comma that does not start another known switch
// belongs to the body, so "body=a,b" is the text "a,b". An empty list is
// valid. On failure returns false and explains why in `error`.
bool parseSwitchList(const std::string& list, ResponseSwitches& out, std::string& error);

// Picks the known switches out of a raw (still percent-encoded) query string
// "cut=100&nolength=1&v=3"; other parameters are ignored.
bool parseQuerySwitches(const std::string& rawQuery, ResponseSwitches& out, std::string& error);

}  // namespace demo
