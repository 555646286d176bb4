#include <windows.h>

#include <algorithm>

#include "runtime/codepage.h"
#include "runtime/file_commands.h"
#include "runtime/scoped_handle_win.h"

namespace {

std::wstring widePath(const Text& path) {
  std::u16string w = gbkToUtf16(path);
  return std::wstring(w.begin(), w.end());
}

bool writeAll(HANDLE h, const Bytes& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written != chunk) return false;
    done += written;
  }
  return true;
}

}  // namespace

bool createOneDirectory(const Text& path) {
  std::wstring w = widePath(path);
  if (w.empty()) return false;
  CreateDirectoryW(w.c_str(), nullptr);
  DWORD attrs = GetFileAttributesW(w.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool deleteOneFile(const Text& path) {
  std::wstring w = widePath(path);
  if (w.empty()) return false;
  if (DeleteFileW(w.c_str())) return true;
  DWORD err = GetLastError();
  return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

bool fileExists(const Text& path) {
  std::wstring w = widePath(path);
  if (w.empty()) return false;
  DWORD attrs = GetFileAttributesW(w.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool readWholeFile(const Text& path, Bytes* out) {
  out->clear();
  std::wstring w = widePath(path);
  if (w.empty()) return false;
  ScopedFileHandle f(CreateFileW(w.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.valid()) return false;
  uint8_t buf[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.get(), buf, sizeof buf, &got, nullptr)) return false;
    if (got == 0) return true;
    out->insert(out->end(), buf, buf + got);
  }
}

bool writeWholeFile(const Text& path, const Bytes& bytes) {
  std::wstring w = widePath(path);
  if (w.empty()) return false;
  std::wstring temp = w + L".part";
  ScopedFileHandle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.valid()) return false;
  bool ok = writeAll(f.get(), bytes);
  ok = f.reset() && ok;
  if (ok) ok = MoveFileExW(temp.c_str(), w.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  if (!ok) DeleteFileW(temp.c_str());
  return ok;
}
