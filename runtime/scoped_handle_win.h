// One RAII owner for every kind of Windows handle. A traits type names the
// handle's type, its "no handle" value and how it is closed, so each kind is
// a one-line alias instead of its own class.
#pragma once

#include <windows.h>
#include <wininet.h>

template <typename Traits>
class ScopedHandle {
 public:
  using Handle = typename Traits::Handle;

  explicit ScopedHandle(Handle h = Traits::invalid()) : h_(h) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  Handle get() const { return h_; }
  bool valid() const { return h_ != Traits::invalid(); }
  explicit operator bool() const { return valid(); }

  // Closes the handle held (if any) and takes h. False when closing failed,
  // which for a file can mean its last write did not reach the disk.
  bool reset(Handle h = Traits::invalid()) {
    bool ok = true;
    if (valid()) ok = Traits::close(h_);
    h_ = h;
    return ok;
  }

 private:
  Handle h_;
};

// Kernel objects that report failure as a null handle (events, processes).
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle invalid() { return nullptr; }
  static bool close(Handle h) { return CloseHandle(h) != 0; }
};

// Files and snapshots, which report failure as INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle invalid() { return INVALID_HANDLE_VALUE; }
  static bool close(Handle h) { return CloseHandle(h) != 0; }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle invalid() { return INVALID_HANDLE_VALUE; }
  static bool close(Handle h) { return FindClose(h) != 0; }
};

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle invalid() { return nullptr; }
  static bool close(Handle h) { return InternetCloseHandle(h) != 0; }
};

using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;
using ScopedFileHandle = ScopedHandle<FileHandleTraits>;
using ScopedFindHandle = ScopedHandle<FindHandleTraits>;
using ScopedInternetHandle = ScopedHandle<InternetHandleTraits>;
