#include <cstdlib>

#include "runtime/shell_folders.h"

namespace {

Text homeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? Text(home) : Text();
}

}  // namespace

// The native build maps the two folders the installer uses onto the XDG
// layout of the home folder.
Text specialFolderPath(int csidl) {
  Text home = homeFolder();
  if (home.empty()) return Text();
  if (home.back() != '/') home += '/';
  switch (csidl) {
    case kCsidlAppData: {
      const char* data = std::getenv("XDG_DATA_HOME");
      Text folder = data && *data ? Text(data) : home + ".local/share";
      if (folder.back() != '/') folder += '/';
      return folder;
    }
    case kCsidlDesktopDirectory:
      return home + "Desktop/";
    default:
      return Text();
  }
}
