#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "download/download_platform.h"
#include "runtime/codepage.h"

uint32_t systemTickCount() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  const uint64_t ms = uint64_t(now.tv_sec) * 1000u + uint64_t(now.tv_nsec) / 1000000u;
  return uint32_t(ms);
}

void callProgressRoutine(DownloadProgressCallback progress, intptr_t totalText,
                         intptr_t receivedText, intptr_t elapsedMs, intptr_t runText) {
  progress(totalText, receivedText, elapsedMs, runText);
}

bool LocalFile::open(const Text& path, Mode mode) {
  close();
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (mode == Mode::StartOver ? O_TRUNC : 0);
  const int fd = ::open(textToUtf8(path).c_str(), flags, 0644);
  if (fd < 0) return false;
  handle_ = fd;
  if (mode == Mode::Append && lseek(fd, 0, SEEK_END) < 0) {
    close();
    return false;
  }
  return true;
}

bool LocalFile::write(const uint8_t* data, size_t size) {
  if (handle_ < 0) return false;
  while (size > 0) {
    const ssize_t n = ::write(int(handle_), data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

void LocalFile::close() {
  if (handle_ < 0) return;
  ::close(int(handle_));
  handle_ = -1;
}
