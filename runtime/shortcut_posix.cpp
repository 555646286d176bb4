// Native build: there is no shell to read links, so none is written.
#include "runtime/shortcut.h"

bool createShortcut(const Text&, const Text&) { return false; }

Text shortcutTarget(const Text&) { return {}; }
