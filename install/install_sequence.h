// The install sequence: lays out the product's directory tree below an
// install directory, fetches the product's files from the server, writes the
// marker INI file and the desktop shortcut, unpacks the resource archives and
// shows the finished page.
#pragma once

#include <vector>

#include "runtime/text.h"

// Clicks of 按钮_快速安装 (on defaultDir) and 按钮_自定义安装 (on customDir).
void onQuickInstallClicked();
void onCustomInstallClicked();

enum class InstallEntry { Quick, Custom };

// Runs the whole sequence on the directory held in *dirField (read afresh at
// each step). Every step runs whatever the earlier ones did and nothing is
// undone. Returns the names of the files whose download, fetch or unpack
// failed: empty means a complete install, and only then is the finished page
// shown; otherwise the user is told, and the window goes back to the page the
// install started from with the close button enabled and the ring at 0.
std::vector<Text> runInstallSequence(InstallEntry entry, const Text* dirField);

// The marker file every install writes.
extern const char* const kMarkerIniPath;
