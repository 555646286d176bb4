// The run time's desktop shortcut creation.
#pragma once

#include "runtime/text.h"

// Writes a shell link linkName + ".lnk" whose target is targetPath, shown
// normally (SW_SHOW), with no arguments, working directory or description.
// Both are GBK paths. False when the link could not be written.
bool createShortcut(const Text& linkName, const Text& targetPath);

// The target path of an existing shell link, or an empty text (tests).
Text shortcutTarget(const Text& linkPath);
