// Small helpers shared by the tests that talk to the test server or need a
// scratch folder.
#pragma once

#include <string>

#include "runtime/text.h"

// Host part of INSTALLER_TEST_SERVER ("127.0.0.1" when unset). The server
// listens on port 5001 of that address, the port the program's URLs carry.
std::string testServerHost();

// "http://host:5001" + path.
std::string testServerUrl(const std::string& path);

// Folder served by the test server (INSTALLER_TEST_SITE).
std::string testSiteDir();

// Sets or clears a fault rule on the test server for one path (for example
// "status=404" or "cut=100"); an empty spec clears every rule.
bool setServerRule(const std::string& path, const std::string& spec);

// The server's request log since the last clear, and clearing it.
std::string serverLog();
void clearServerLog();

// A fresh folder below the system's temporary folder, removed by the
// destructor. path() is GBK Text without a trailing separator.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& tag);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const Text& path() const { return path_; }

 private:
  Text path_;
};
