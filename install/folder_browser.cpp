#include "install/folder_browser.h"

#include "runtime/codepage.h"

namespace {

FolderBrowserHook gHook = nullptr;

}  // namespace

Text browseForFolder(const Text& title) {
  if (gHook) return gHook(title);
  return showFolderDialog(title);
}

Text folderPathToText(const std::u16string& path) {
  // Only a drive root (X:\) keeps its backslash; Wine reports some special
  // folders with one, which would double the separator before "LanJing".
  std::u16string trimmed = path;
  while (trimmed.size() > 3 && trimmed.back() == u'\\') trimmed.pop_back();
  const Text text = utf16ToGbk(trimmed);
  if (gbkToUtf16(text) != trimmed) return Text();
  return text;
}

void setFolderBrowserHookForTesting(FolderBrowserHook hook) { gHook = hook; }
