#include <windows.h>

#include "download/download_platform.h"
#include "runtime/codepage.h"

uint32_t systemTickCount() { return GetTickCount(); }

void callProgressRoutine(DownloadProgressCallback progress, intptr_t totalText,
                         intptr_t receivedText, intptr_t elapsedMs, intptr_t runText) {
#if defined(_WIN64)
  // The window-procedure call carries its second value as a 32-bit UINT, which
  // would cut a 64-bit text address: call the routine directly.
  progress(totalText, receivedText, elapsedMs, runText);
#else
  // Same shape as a window procedure on 32-bit Windows; the detour through
  // void(*)() keeps the compiler quiet about the (ABI-identical) cast.
  WNDPROC proc = reinterpret_cast<WNDPROC>(reinterpret_cast<void (*)()>(progress));
  CallWindowProcA(proc, reinterpret_cast<HWND>(totalText), UINT(receivedText),
                  WPARAM(elapsedMs), LPARAM(runText));
#endif
}

bool LocalFile::open(const Text& path, Mode mode) {
  close();
  std::u16string wide = gbkToUtf16(path);
  const DWORD disposition = mode == Mode::StartOver ? CREATE_ALWAYS : OPEN_ALWAYS;
  HANDLE file = CreateFileW(reinterpret_cast<const wchar_t*>(wide.c_str()), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(file);
  if (mode == Mode::Append) {
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(file, zero, nullptr, FILE_END)) {
      close();
      return false;
    }
  }
  return true;
}

bool LocalFile::write(const uint8_t* data, size_t size) {
  if (handle_ == -1) return false;
  HANDLE file = reinterpret_cast<HANDLE>(handle_);
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(file, data, DWORD(size), &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

void LocalFile::close() {
  if (handle_ == -1) return;
  CloseHandle(reinterpret_cast<HANDLE>(handle_));
  handle_ = -1;
}
