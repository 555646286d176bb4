// The file-system calls the unpacker needs; zip_fs_win.cpp and
// zip_fs_posix.cpp provide them.
//
// Paths are UTF-16 with '/' between the components the unpacker adds (the
// Windows side also accepts '\'); each side converts them to what its own
// calls take (wide paths on Windows, UTF-8 on POSIX).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zipfs {

using Path = std::u16string;

// Creates one directory. True when a directory stands at path afterwards,
// whether it was made now or was there already.
bool makeDirectory(const Path& path);

// An archive opened for reading at any offset.
class InFile {
 public:
  InFile() = default;
  ~InFile();
  InFile(const InFile&) = delete;
  InFile& operator=(const InFile&) = delete;

  bool open(const Path& path);
  uint64_t size() const { return size_; }
  // Reads up to n bytes at offset; fewer at the end of the file or on error.
  size_t readAt(uint64_t offset, void* buffer, size_t n);

 private:
  intptr_t handle_ = -1;
  uint64_t size_ = 0;
};

// The name of the attempt-th temporary file beside finalPath (attempt 0..99).
inline Path temporaryPath(const Path& finalPath, int attempt) {
  return finalPath + u".unz~" + Path(1, char16_t(u'0' + attempt / 10)) +
         Path(1, char16_t(u'0' + attempt % 10));
}

// A file written under a temporary name beside its final name. commit()
// renames it over the final name; anything else (discard(), destruction, a
// failed write) deletes the temporary, so a good file that stood under the
// final name is never replaced by a partial one.
class OutFile {
 public:
  OutFile() = default;
  ~OutFile() { discard(); }
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;

  bool create(const Path& finalPath);
  bool write(const void* data, size_t size);
  bool commit();
  void discard();

 private:
  intptr_t handle_ = -1;
  Path tempPath_;
  Path finalPath_;
};

}  // namespace zipfs
