// Native build: GBK paths are turned into UTF-8 for the file system.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "runtime/codepage.h"
#include "runtime/file_commands.h"

namespace {

std::string nativePath(const Text& path) { return textToUtf8(path); }

bool writeAll(int fd, const Bytes& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

}  // namespace

bool createOneDirectory(const Text& path) {
  std::string p = nativePath(path);
  if (p.empty()) return false;
  ::mkdir(p.c_str(), 0777);
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool deleteOneFile(const Text& path) {
  std::string p = nativePath(path);
  if (p.empty()) return false;
  return ::unlink(p.c_str()) == 0 || errno == ENOENT;
}

bool fileExists(const Text& path) {
  struct stat st;
  std::string p = nativePath(path);
  return !p.empty() && ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool readWholeFile(const Text& path, Bytes* out) {
  out->clear();
  int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  uint8_t buf[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    out->insert(out->end(), buf, buf + n);
  }
  ::close(fd);
  return ok;
}

bool writeWholeFile(const Text& path, const Bytes& bytes) {
  std::string p = nativePath(path);
  if (p.empty()) return false;
  std::string temp = p + ".part";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = writeAll(fd, bytes);
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), p.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}
