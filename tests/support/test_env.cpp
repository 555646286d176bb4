#include "tests/support/test_env.h"

#include <cstdlib>
#include <filesystem>
#include <random>

#include "runtime/codepage.h"
#include "runtime/http_read.h"

namespace fs = std::filesystem;

namespace {

std::string env(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

std::string urlEncode(const std::string& s) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if (isalnum(c) || c == '-' || c == '_' || c == '.' || c == '/') {
      out += char(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string get(const std::string& path) {
  Bytes body = httpReadWhole(testServerUrl(path));
  return std::string(body.begin(), body.end());
}

}  // namespace

std::string testServerHost() {
  std::string hostPort = env("INSTALLER_TEST_SERVER", "127.0.0.1:5001");
  return hostPort.substr(0, hostPort.find(':'));
}

std::string testServerUrl(const std::string& path) { return "http://" + testServerHost() + ":5001" + path; }

std::string testSiteDir() { return env("INSTALLER_TEST_SITE", ""); }

bool setServerRule(const std::string& path, const std::string& spec) {
  if (spec.empty()) {
    get("/__control/clear");
    return true;
  }
  int status = 0;
  httpReadWhole(testServerUrl("/__control/rule?path=" + urlEncode(path) + "&spec=" + urlEncode(spec)),
                &status);
  return status == 200;
}

std::string serverLog() { return get("/__control/log"); }

void clearServerLog() { get("/__control/log/clear"); }

ScratchDir::ScratchDir(const std::string& tag) {
  fs::path p = fs::temp_directory_path() / (tag + "-" + std::to_string(std::random_device()()));
  fs::create_directories(p);
  path_ = utf8ToText(p.u8string());
  while (!path_.empty() && (path_.back() == '\\' || path_.back() == '/')) path_.pop_back();
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(fs::u8path(textToUtf8(path_)), ec);
}
