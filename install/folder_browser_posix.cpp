#include "install/folder_browser.h"

// No folder dialog in the native build: the user "cancels".
Text showFolderDialog(const Text&) { return Text(); }
