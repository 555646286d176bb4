// The folder browser of the custom install: a modal dialog in which the user
// picks a folder.
#pragma once

#include <string>

#include "runtime/text.h"

// Shows the folder browser with title and returns the file-system path of
// the chosen folder as GBK text: a drive root ends with a backslash (X:\),
// any other folder has none. Empty when the user cancels or picks something
// that has no file-system path.
Text browseForFolder(const Text& title);

// The chosen path as GBK text with no trailing backslash except on a drive
// root, or an empty text when a character of it has no GBK form: the '?'
// that would stand in for it names another folder.
Text folderPathToText(const std::u16string& path);

// The OS dialog behind browseForFolder (folder_browser_win.cpp; the native
// build has no dialog and answers as if cancelled).
Text showFolderDialog(const Text& title);

// Test seam: when set, called instead of the dialog and its answer returned.
using FolderBrowserHook = Text (*)(const Text& title);
void setFolderBrowserHookForTesting(FolderBrowserHook hook);
