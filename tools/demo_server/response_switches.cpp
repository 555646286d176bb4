#include "tools/demo_server/response_switches.h"

#include <cstring>
#include <vector>

namespace demo {
namespace {

const char* const kSwitchNames[] = {"status", "cut", "reset", "stall", "nolength", "norange", "body"};

bool isSwitchName(const std::string& name) {
  for (const char* known : kSwitchNames) {
    if (name == known) return true;
  }
  return false;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Plain decimal, no sign, no spaces; capped so that nothing overflows.
bool parseCount(const std::string& text, uint64_t limit, uint64_t& out) {
  if (text.empty() || text.size() > 19) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > limit) return false;
  out = value;
  return true;
}

bool parseFlag(const std::string& text, bool& out) {
  if (text == "1") { out = true; return true; }
  if (text == "0") { out = false; return true; }
  return false;
}

// Applies one switch whose value is already decoded.
bool applySwitch(const std::string& name, const std::string& value, ResponseSwitches& out,
                 std::string& error) {
  const uint64_t kMaxBytes = UINT64_C(1) << 62;
  const uint64_t kMaxStallMs = 10 * 60 * 1000;
  uint64_t number = 0;
  bool flag = false;
  bool ok = true;
  if (name == "status") {
    ok = parseCount(value, 599, number) && number >= 100;
    if (ok) out.status = static_cast<int>(number);
  } else if (name == "cut") {
    ok = parseCount(value, kMaxBytes, number);
    if (ok) out.cut = number;
  } else if (name == "reset") {
    ok = parseCount(value, kMaxBytes, number);
    if (ok) out.reset = number;
  } else if (name == "stall") {
    ok = parseCount(value, kMaxStallMs, number);
    if (ok) out.stallMs = number;
  } else if (name == "nolength") {
    ok = parseFlag(value, flag);
    if (ok) out.noLength = flag;
  } else if (name == "norange") {
    ok = parseFlag(value, flag);
    if (ok) out.noRange = flag;
  } else if (name == "body") {
    out.body = value;
  } else {
    error = "unknown switch '" + name + "'";
    return false;
  }
  if (!ok) error = "bad value '" + value + "' for switch '" + name + "'";
  return ok;
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

std::string nameOf(const std::string& item) {
  size_t eq = item.find('=');
  return eq == std::string::npos ? item : item.substr(0, eq);
}

}  // namespace

void ResponseSwitches::overrideWith(const ResponseSwitches& later) {
  if (later.status) status = later.status;
  if (later.cut) cut = later.cut;
  if (later.reset) reset = later.reset;
  if (later.stallMs) stallMs = later.stallMs;
  if (later.noLength) noLength = later.noLength;
  if (later.noRange) noRange = later.noRange;
  if (later.body) body = later.body;
}

std::string percentDecode(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
        hexValue(text[i + 2]) >= 0) {
      out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
      i += 2;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

bool parseSwitchList(const std::string& list, ResponseSwitches& out, std::string& error) {
  if (list.empty()) return true;
  std::vector<std::string> items = split(list, ',');
  // Glue the pieces of a body text that held commas back together.
  std::vector<std::string> merged;
  for (const std::string& item : items) {
    bool continuesBody = !merged.empty() && nameOf(merged.back()) == "body" &&
                         (item.find('=') == std::string::npos || !isSwitchName(nameOf(item)));
    if (continuesBody) {
      merged.back() += "," + item;
    } else {
      merged.push_back(item);
    }
  }
  for (const std::string& item : merged) {
    size_t eq = item.find('=');
    if (eq == std::string::npos) {
      error = "switch '" + item + "' has no value";
      return false;
    }
    std::string name = item.substr(0, eq);
    std::string value = item.substr(eq + 1);
    if (name == "body") value = percentDecode(value);
    if (!applySwitch(name, value, out, error)) return false;
  }
  return true;
}

bool parseQuerySwitches(const std::string& rawQuery, ResponseSwitches& out, std::string& error) {
  if (rawQuery.empty()) return true;
  for (const std::string& item : split(rawQuery, '&')) {
    size_t eq = item.find('=');
    std::string name = percentDecode(item.substr(0, eq));
    if (!isSwitchName(name)) continue;
    if (eq == std::string::npos) {
      error = "switch '" + name + "' has no value";
      return false;
    }
    if (!applySwitch(name, percentDecode(item.substr(eq + 1)), out, error)) return false;
  }
  return true;
}

}  // namespace demo
