// InstallState: the program-wide state, one zero-initialised instance for the
// life of the process. Every Text field owns its value.
#pragma once

#include <cstdint>

#include "runtime/text.h"

class DownloadTask;

struct InstallState {
  DownloadTask* downloadTask = nullptr;  // created at start, destroyed by exitCleanup
  Text serverHost;
  Text customDir;
  Text mainProgramUrl;
  Text brandName;
  Text installedProgramPath;
  int32_t codePage = 0;  // 936 from start-up on
  Text defaultDir;
  Text installerVersion;
  Text serverInstallerVersion;
  Text productCode;
  Text updateUrl;
  Text updatePrompt;
};

InstallState& installState();
