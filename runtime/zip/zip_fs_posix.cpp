#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "runtime/zip/zip_fs.h"

namespace zipfs {
namespace {

// UTF-16 -> UTF-8 for the file-system calls; a lone surrogate becomes U+FFFD.
std::string nativePath(const Path& path) {
  std::string out;
  out.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    uint32_t c = path[i];
    if (c < 0x80) {
      out += char(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size() && path[i + 1] >= 0xDC00 &&
        path[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (path[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
    } else {
      out += char(0xF0 | (c >> 18));
      out += char(0x80 | ((c >> 12) & 0x3F));
      out += char(0x80 | ((c >> 6) & 0x3F));
    }
    out += char(0x80 | (c & 0x3F));
  }
  return out;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool makeDirectory(const Path& path) {
  std::string native = nativePath(path);
  if (mkdir(native.c_str(), 0777) == 0) return true;
  return errno == EEXIST && isDirectory(native);
}

InFile::~InFile() {
  if (handle_ >= 0) close(int(handle_));
}

bool InFile::open(const Path& path) {
  int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  handle_ = fd;
  size_ = uint64_t(st.st_size);
  return true;
}

size_t InFile::readAt(uint64_t offset, void* buffer, size_t n) {
  size_t done = 0;
  while (done < n) {
    ssize_t got =
        pread(int(handle_), static_cast<char*>(buffer) + done, n - done, off_t(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += size_t(got);
  }
  return done;
}

bool OutFile::create(const Path& finalPath) {
  discard();
  // O_EXCL: never write into something already there (a leftover
  // temporary, or a link someone placed under that name).
  for (int attempt = 0; attempt < 100; ++attempt) {
    Path temp = temporaryPath(finalPath, attempt);
    int fd = ::open(nativePath(temp).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      handle_ = fd;
      tempPath_ = temp;
      finalPath_ = finalPath;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool OutFile::write(const void* data, size_t size) {
  if (handle_ < 0) return false;
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t put = ::write(int(handle_), p, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    p += put;
    size -= size_t(put);
  }
  return true;
}

bool OutFile::commit() {
  if (handle_ < 0) return false;
  bool closed = close(int(handle_)) == 0;
  handle_ = -1;
  if (closed && rename(nativePath(tempPath_).c_str(), nativePath(finalPath_).c_str()) == 0) {
    tempPath_.clear();
    return true;
  }
  discard();
  return false;
}

void OutFile::discard() {
  if (handle_ >= 0) {
    close(int(handle_));
    handle_ = -1;
  }
  if (!tempPath_.empty()) {
    unlink(nativePath(tempPath_).c_str());
    tempPath_.clear();
  }
}

}  // namespace zipfs
