// The file-system operations on Windows, all through the wide functions.
#include <windows.h>
#include <shlwapi.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "app/install_state.h"
#include "install/path_utils.h"
#include "runtime/codepage.h"
#include "runtime/scoped_handle_win.h"

namespace {

const uint8_t kWideBackslash[] = {0x5C, 0x00};
const uint8_t kWideWildcard[] = {0x2A, 0x00, 0x00, 0x00};
const uint8_t kWideDot[] = {0x2E, 0x00, 0x00, 0x00};
const uint8_t kWideDotDot[] = {0x2E, 0x00, 0x2E, 0x00, 0x00, 0x00};
const uint8_t kWideTerminator[] = {0x00, 0x00};

CreateDirectoryObserver gCreateDirectoryObserver = nullptr;

template <std::size_t N>
void append(WideText& to, const uint8_t (&bytes)[N]) {
  to.insert(to.end(), bytes, bytes + N);
}

template <std::size_t N>
WideText joined(const WideText& head, const uint8_t (&tail)[N]) {
  WideText out = head;
  append(out, tail);
  return out;
}

// The Windows call needs a zero-ended buffer; every caller builds one.
const wchar_t* widePointer(const WideText& terminated) {
  return reinterpret_cast<const wchar_t*>(terminated.data());
}

bool endsWithWideBackslash(const WideText& w) {
  return w.size() >= 2 && w[w.size() - 2] == 0x5C && w[w.size() - 1] == 0x00;
}

bool startsWithWideBackslash(const WideText& w) {
  return w.size() >= 2 && w[0] == 0x5C && w[1] == 0x00;
}

template <std::size_t N>
bool equalsBytes(const WideText& w, const uint8_t (&bytes)[N]) {
  return w.size() == N && std::memcmp(w.data(), bytes, N) == 0;
}

// A directory junction or a symbolic link to a directory: the walk removes
// the link itself and never enters it, so the files it points at survive.
bool isDirectoryLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// dir ends with the wide backslash; the attributes of the name itself are
// asked without it, since with it the link would be looked through.
DWORD attributesOfDirectoryName(const WideText& dir) {
  WideText name(dir.begin(), dir.end() - 2);
  if (name.size() == 4 && name[2] == ':' && name[3] == 0) return INVALID_FILE_ATTRIBUTES;  // X:\ is no link
  append(name, kWideTerminator);
  return GetFileAttributesW(widePointer(name));
}

bool removeDirectoryLink(const WideText& dirWithBackslash) {
  WideText name(dirWithBackslash.begin(), dirWithBackslash.end() - 2);
  append(name, kWideTerminator);
  return RemoveDirectoryW(widePointer(name)) != 0;
}

void deleteEntry(const WideText& dir, const WIN32_FIND_DATAW& entry) {
  const std::size_t nameBytes = std::size_t(lstrlenW(entry.cFileName)) * 2 + 2;
  WideText name(nameBytes);
  std::memcpy(name.data(), entry.cFileName, nameBytes);
  if (nameBytes == 2 || equalsBytes(name, kWideDot) || equalsBytes(name, kWideDotDot)) return;

  WideText child = dir;
  child.insert(child.end(), name.begin(), name.end());
  const DWORD attributes = entry.dwFileAttributes;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      RemoveDirectoryW(widePointer(child));
    } else {
      deleteTreeWide(child);
    }
    return;
  }
  // A file link's attributes are left alone: changing them could reach the
  // file it points at, outside the tree.
  if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    SetFileAttributesW(widePointer(child), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
  }
  DeleteFileW(widePointer(child));
}

// "C:\." or "C:\x\.." pass the text check, yet name the drive root itself.
bool resolvesToDriveRoot(const WideText& path) {
  const WideText terminated = trimAtNul(path, true);
  if (terminated.empty()) return false;
  const DWORD needed = GetFullPathNameW(widePointer(terminated), 0, nullptr, nullptr);
  if (needed == 0) return false;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(widePointer(terminated), needed, &full[0], nullptr);
  if (length == 0 || length >= needed) return false;
  full.resize(length);
  const std::size_t end = full.find_last_not_of(L"\\/");
  return end == 1 && full[1] == L':';
}

}  // namespace

WideText textToWide(const Text& text) {
  if (text.c_str()[0] == '\0') return WideText();
  const int32_t configured = installState().codePage;
  const UINT codePage = configured != 0 ? UINT(configured) : UINT(kGbkCodePage);
  const int units = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  if (units <= 0) return WideText();
  WideText out(std::size_t(units) * 2, 0);
  MultiByteToWideChar(codePage, 0, text.c_str(), -1, reinterpret_cast<wchar_t*>(out.data()), units);
  return out;
}

bool isDirectoryWide(const WideText& path) {
  // Terminated afresh so that a value without its terminator is never read
  // past its end.
  const WideText terminated = trimAtNul(path, true);
  if (terminated.empty()) return false;
  return PathIsDirectoryW(widePointer(terminated)) == FILE_ATTRIBUTE_DIRECTORY;
}

bool isDirectory(const Text& path) { return isDirectoryWide(textToWide(path)); }

bool deleteTreeWide(const WideText& path) {
  WideText dir = trimAtNul(path, false);
  if (!endsWithWideBackslash(dir)) append(dir, kWideBackslash);
  // Also catches the empty path, which has become a lone backslash.
  if (startsWithWideBackslash(dir)) return false;

  if (isDirectoryLink(attributesOfDirectoryName(dir))) return removeDirectoryLink(dir);

  const WideText pattern = joined(dir, kWideWildcard);
  WIN32_FIND_DATAW entry;
  ScopedFindHandle find(FindFirstFileW(widePointer(pattern), &entry));
  if (!find.valid()) return false;
  do {
    deleteEntry(dir, entry);
  } while (FindNextFileW(find.get(), &entry));
  find.reset();

  const WideText self = joined(dir, kWideTerminator);
  return RemoveDirectoryW(widePointer(self)) != 0;
}

bool deleteTree(const Text& path) { return deleteTreeWide(textToWide(path)); }

void setCreateDirectoryObserverForTesting(CreateDirectoryObserver observer) {
  gCreateDirectoryObserver = observer;
}

void createDirectoryChainWide(const WideText& path) {
  const std::size_t length = path.size();
  if (length < 8) return;
  // Zero-filled and two bytes longer than the path: whatever prefix has been
  // copied so far is always a terminated wide string.
  WideText buffer(length + 2, 0);
  auto create = [&buffer]() {
    const bool created = CreateDirectoryW(widePointer(buffer), nullptr) != 0;
    if (gCreateDirectoryObserver) gCreateDirectoryObserver(trimAtNul(buffer, true), created);
  };
  int backslashesSeen = 0;
  for (std::size_t j = 0; j + 2 <= length; j += 2) {
    const uint16_t unit = uint16_t(path[j] | (path[j + 1] << 8));
    if (unit == 0) {
      create();
      break;
    }
    if (unit == 0x5C) {
      // The part before the first backslash is the drive: never created.
      if (backslashesSeen > 0) create();
      ++backslashesSeen;
    }
    buffer[j] = path[j];
    buffer[j + 1] = path[j + 1];
  }
}

bool createDirectoryChain(const Text& path) {
  const WideText wide = textToWide(path);
  createDirectoryChainWide(wide);
  return isDirectoryWide(wide);
}

void refreshDirectory(const Text& path) {
  Text dir = path;
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  if (isValidPath(dir, true) && isDirectory(dir) && !resolvesToDriveRoot(textToWide(dir))) {
    deleteTree(dir);
    createDirectoryChain(dir);
  }
}
