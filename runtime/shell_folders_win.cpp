#include <windows.h>
#include <shlobj.h>

#include "runtime/codepage.h"
#include "runtime/shell_folders.h"

Text specialFolderPath(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return Text();
  Text folder = utf16ToGbk(std::u16string(reinterpret_cast<const char16_t*>(path)));
  if (folder.empty()) return Text();
  if (folder.back() != '\\') folder += '\\';
  return folder;
}
