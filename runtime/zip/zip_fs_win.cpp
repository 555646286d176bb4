#include <windows.h>

#include <string>

#include "runtime/zip/zip_fs.h"

namespace zipfs {
namespace {

// The full path in the "\\?\" form: no 260-character limit and no name
// rewriting by the Win32 layer (trailing dots, device names), so the file
// made is exactly the one named.
std::wstring nativePath(const Path& path) {
  std::wstring p(path.begin(), path.end());
  for (wchar_t& c : p) {
    if (c == L'/') c = L'\\';
  }
  if (p.rfind(L"\\\\?\\", 0) == 0 || p.rfind(L"\\\\.\\", 0) == 0) return p;
  DWORD need = GetFullPathNameW(p.c_str(), 0, nullptr, nullptr);
  if (need == 0) return p;
  std::wstring full(need, L'\0');
  DWORD got = GetFullPathNameW(p.c_str(), need, &full[0], nullptr);
  if (got == 0 || got >= need) return p;
  full.resize(got);
  if (full.rfind(L"\\\\?\\", 0) == 0 || full.rfind(L"\\\\.\\", 0) == 0) return full;
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share
  return L"\\\\?\\" + full;
}

// The handles are kept as intptr_t in the portable header; -1 is
// INVALID_HANDLE_VALUE.
HANDLE asHandle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
intptr_t fromHandle(HANDLE h) { return reinterpret_cast<intptr_t>(h); }

bool isDirectory(const std::wstring& path) {
  DWORD attrs = GetFileAttributesW(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool makeDirectory(const Path& path) {
  std::wstring native = nativePath(path);
  if (CreateDirectoryW(native.c_str(), nullptr)) return true;
  return isDirectory(native);
}

InFile::~InFile() {
  if (handle_ != -1) CloseHandle(asHandle(handle_));
}

bool InFile::open(const Path& path) {
  HANDLE h = CreateFileW(nativePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size) || size.QuadPart < 0) {
    CloseHandle(h);
    return false;
  }
  handle_ = fromHandle(h);
  size_ = uint64_t(size.QuadPart);
  return true;
}

size_t InFile::readAt(uint64_t offset, void* buffer, size_t n) {
  size_t done = 0;
  while (done < n) {
    OVERLAPPED at = {};
    uint64_t pos = offset + done;
    at.Offset = DWORD(pos & 0xFFFFFFFFu);
    at.OffsetHigh = DWORD(pos >> 32);
    DWORD want = DWORD(n - done > 0x40000000u ? 0x40000000u : n - done);
    DWORD got = 0;
    if (!ReadFile(asHandle(handle_), static_cast<char*>(buffer) + done, want, &got, &at) ||
        got == 0)
      break;
    done += got;
  }
  return done;
}

bool OutFile::create(const Path& finalPath) {
  discard();
  // CREATE_NEW: never write into something already there (a leftover
  // temporary of an earlier run).
  for (int attempt = 0; attempt < 100; ++attempt) {
    Path temp = temporaryPath(finalPath, attempt);
    HANDLE h = CreateFileW(nativePath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      handle_ = fromHandle(h);
      tempPath_ = temp;
      finalPath_ = finalPath;
      return true;
    }
    DWORD err = GetLastError();
    if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

bool OutFile::write(const void* data, size_t size) {
  if (handle_ == -1) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD want = DWORD(size > 0x40000000u ? 0x40000000u : size);
    DWORD put = 0;
    if (!WriteFile(asHandle(handle_), p, want, &put, nullptr) || put == 0) return false;
    p += put;
    size -= put;
  }
  return true;
}

bool OutFile::commit() {
  if (handle_ == -1) return false;
  bool closed = CloseHandle(asHandle(handle_)) != 0;
  handle_ = -1;
  if (closed) {
    std::wstring temp = nativePath(tempPath_);
    std::wstring target = nativePath(finalPath_);
    bool moved = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!moved) {
      // A read-only file of an earlier install is still ours to overwrite.
      DWORD attrs = GetFileAttributesW(target.c_str());
      if (attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY) &&
          (attrs & FILE_ATTRIBUTE_READONLY) &&
          SetFileAttributesW(target.c_str(), attrs & ~DWORD(FILE_ATTRIBUTE_READONLY)))
        moved = MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    if (moved) {
      tempPath_.clear();
      return true;
    }
  }
  discard();
  return false;
}

void OutFile::discard() {
  if (handle_ != -1) CloseHandle(asHandle(handle_));
  handle_ = -1;
  if (!tempPath_.empty()) {
    DeleteFileW(nativePath(tempPath_).c_str());
    tempPath_.clear();
  }
}

}  // namespace zipfs
