// The few platform services the transfer loop needs besides HTTP: the uptime
// counter, the call of the progress routine and the local file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "download/download_task.h"
#include "runtime/text.h"

// Milliseconds since the system started, as the 32-bit counter (wraps).
uint32_t systemTickCount();

// Calls progress with the four values (on 32-bit Windows through the
// window-procedure call).
void callProgressRoutine(DownloadProgressCallback progress, intptr_t totalText,
                         intptr_t receivedText, intptr_t elapsedMs, intptr_t runText);

// The file that receives the body: write-only, shared for reading and writing
// by others, binary. Closed by its destructor.
class LocalFile {
 public:
  enum class Mode {
    StartOver,  // create, or truncate an existing file
    Append,     // keep an existing file (create a missing one), write at its end
  };
  LocalFile() = default;
  ~LocalFile() { close(); }
  LocalFile(const LocalFile&) = delete;
  LocalFile& operator=(const LocalFile&) = delete;

  bool open(const Text& path, Mode mode);
  // True only when all size bytes were written.
  bool write(const uint8_t* data, size_t size);
  void close();

 private:
  intptr_t handle_ = -1;  // a file descriptor or a HANDLE; -1 when closed
};
