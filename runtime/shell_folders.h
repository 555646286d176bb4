// The current user's special folders, as the run time reports them.
#pragma once

#include "runtime/text.h"

constexpr int kCsidlDesktopDirectory = 0x10;
constexpr int kCsidlAppData = 0x1A;

// The folder's path as GBK Text, always ending in the folder separator (a
// backslash on Windows), so a name can be appended directly. The folder is
// not created. Empty when the folder cannot be found.
Text specialFolderPath(int csidl);
