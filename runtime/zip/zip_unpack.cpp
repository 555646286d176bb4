#include "runtime/zip/zip_unpack.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <unordered_set>
#include <utility>

#include "runtime/codepage.h"
#include "runtime/zip/zip_fs.h"
#include "runtime/zip/zip_reader.h"

namespace {

using zipfs::Path;

bool isAscii(const std::string& s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return false;
  }
  return true;
}

// Most names are plain ASCII: widen them without a round through the
// converter.
Path pathFromGbk(const Text& gbk) {
  if (isAscii(gbk)) return Path(gbk.begin(), gbk.end());
  return gbkToUtf16(gbk);
}

Path entryPath(const ZipEntry& e) {
  if (!e.utf8) return pathFromGbk(e.name);
  if (isAscii(e.name)) return Path(e.name.begin(), e.name.end());
  return utf8ToUtf16(e.name);
}

Text displayName(const ZipEntry& e) { return e.utf8 ? utf8ToText(e.name) : e.name; }

bool isSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

char16_t upper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

// CON, NUL, COM1 and their kin name devices on Windows, with or without an
// extension.
bool isDeviceName(const Path& component) {
  Path base = component.substr(0, component.find(u'.'));
  while (!base.empty() && base.back() == u' ') base.pop_back();
  for (char16_t& c : base) c = upper(c);
  static const char16_t* const kDevices[] = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
  for (const char16_t* d : kDevices) {
    if (base == d) return true;
  }
  return base.size() == 4 && (base.compare(0, 3, u"COM") == 0 || base.compare(0, 3, u"LPT") == 0) &&
         base[3] >= u'1' && base[3] <= u'9';
}

bool isAllowedComponent(const Path& part) {
  // Windows drops trailing dots and spaces, so "x." or ". ." would not be
  // the file named; such names are refused in every build alike.
  if (part.back() == u'.' || part.back() == u' ') return false;
  for (char16_t c : part) {
    if (c < 0x20 || c == u'<' || c == u'>' || c == u'"' || c == u'|' || c == u'?' || c == u'*')
      return false;
  }
  return !isDeviceName(part);
}

// Splits an entry name into the components of a path below the target
// folder. False for any name that could reach outside it: absolute ("/x"),
// UNC ("\\host\share"), drive ("C:x", "C:\x"), ".." above the top; or one
// that cannot be created there as named.
bool safeComponents(const Path& name, std::vector<Path>* out) {
  if (name.empty() || isSeparator(name[0])) return false;
  if (name.find(u':') != Path::npos) return false;  // drives, and alternate streams
  std::vector<Path> parts;
  size_t i = 0;
  while (i <= name.size()) {
    size_t j = i;
    while (j < name.size() && !isSeparator(name[j])) ++j;
    Path part = name.substr(i, j - i);
    i = j + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (parts.empty()) return false;
      parts.pop_back();
      continue;
    }
    if (!isAllowedComponent(part)) return false;
    parts.push_back(std::move(part));
  }
  if (parts.empty()) return false;
  *out = std::move(parts);
  return true;
}

// Reads the archive file. Small reads (headers, small entries) are served
// from one read-ahead window, so an archive of many small files costs a read
// per window rather than two per entry; large reads go straight through.
class FileZipSource : public ZipSource {
 public:
  explicit FileZipSource(zipfs::InFile& file) : file_(file), window_(kWindowSize) {}
  uint64_t size() const override { return file_.size(); }
  size_t readAt(uint64_t offset, uint8_t* buffer, size_t n) override {
    if (n >= window_.size()) return file_.readAt(offset, buffer, n);
    if (offset < windowStart_ || offset - windowStart_ + n > windowFill_) {
      windowStart_ = offset;
      windowFill_ = file_.readAt(offset, window_.data(), window_.size());
    }
    size_t at = size_t(offset - windowStart_);
    if (at >= windowFill_) return 0;
    size_t take = std::min(n, windowFill_ - at);
    memcpy(buffer, &window_[at], take);
    return take;
  }

 private:
  static const size_t kWindowSize = 128 * 1024;
  zipfs::InFile& file_;
  std::vector<uint8_t> window_;
  uint64_t windowStart_ = 0;
  size_t windowFill_ = 0;
};

// Writes an entry's data to its file, within what is left of the budget.
class FileSink : public ZipSink {
 public:
  FileSink(zipfs::OutFile& file, uint64_t* budget) : file_(file), budget_(budget) {}
  bool write(const uint8_t* data, size_t size) override {
    if (size > *budget_) return false;
    *budget_ -= size;
    return file_.write(data, size);
  }

 private:
  zipfs::OutFile& file_;
  uint64_t* budget_;
};

class Unpacker {
 public:
  Unpacker(ZipSource& source, const Text& targetDir, UnzipProgress progress, void* context,
           UnzipReport* report, const UnzipOptions& options)
      : reader_(source),
        target_(targetPath(targetDir)),
        progress_(progress),
        context_(context),
        report_(report ? *report : ownReport_),
        budget_(options.maxTotalBytes ? options.maxTotalBytes : UINT64_MAX) {
    report_ = UnzipReport();
  }

  bool run() {
    if (!reader_.open()) return cannotOpen();
    uint64_t count = reader_.entryCount();
    report_.entries = count > uint64_t(INT_MAX) ? INT_MAX : int(count);
    prepareTarget();
    for (uint64_t index = 0; index < count; ++index) {
      ZipEntry entry;
      if (!reader_.nextEntry(&entry)) {
        // The central directory ends before the entries it announced.
        send(100);
        return false;
      }
      if (unpackEntry(entry)) {
        ++report_.written;
      } else {
        report_.failed.push_back(displayName(entry));
      }
      send(int32_t(double(index) * 100.0 / double(count)));
    }
    send(100);
    return report_.failed.empty();
  }

  bool cannotOpen() {
    send(0);
    return false;
  }

 private:
  // Entry paths are joined to the target with '/': drop its own trailing
  // separators ("D:\x\head\" is a common way to name a folder).
  static Path targetPath(const Text& targetDir) {
    Path t = pathFromGbk(targetDir);
    if (t.empty()) return u".";
    size_t end = t.size();
    while (end > 1 && isSeparator(t[end - 1])) --end;
    t.resize(end);
    if (t.size() == 1 && isSeparator(t[0])) t.clear();  // root: joins to "/x"
    return t;
  }

  void send(int32_t percent) {
    if (progress_) progress_(context_, percent);
  }

  // The target folder and, when it is missing, the folders above it.
  void prepareTarget() {
    if (target_.empty() || zipfs::makeDirectory(target_)) return;
    for (size_t i = 1; i < target_.size(); ++i) {
      if (isSeparator(target_[i]) && target_[i - 1] != u':' && !isSeparator(target_[i - 1]))
        zipfs::makeDirectory(target_.substr(0, i));
    }
    zipfs::makeDirectory(target_);
  }

  // Creates target/parts[0], target/parts[0]/parts[1], ... up to count parts.
  bool makeDirectories(const std::vector<Path>& parts, size_t count) {
    Path path = target_;
    for (size_t i = 0; i < count; ++i) {
      path += u'/';
      path += parts[i];
      if (knownDirectories_.count(path)) continue;
      if (!zipfs::makeDirectory(path)) return false;
      knownDirectories_.insert(path);
    }
    return true;
  }

  bool unpackEntry(const ZipEntry& entry) {
    if (entry.name.find('\0') != std::string::npos) return false;
    Path name = entryPath(entry);
    std::vector<Path> parts;
    if (!safeComponents(name, &parts)) return false;
    if (isSeparator(name.back())) return makeDirectories(parts, parts.size());

    if (!makeDirectories(parts, parts.size() - 1)) return false;
    Path path = target_;
    for (const Path& part : parts) {
      path += u'/';
      path += part;
    }
    zipfs::OutFile file;
    if (!file.create(path)) return false;
    FileSink sink(file, &budget_);
    if (reader_.extract(entry, sink) != ZipEntryStatus::kOk)
      return false;  // file drops its temporary
    return file.commit();
  }

  ZipReader reader_;
  Path target_;
  UnzipProgress progress_;
  void* context_;
  UnzipReport ownReport_;
  UnzipReport& report_;
  uint64_t budget_;
  std::unordered_set<Path> knownDirectories_;
};

}  // namespace

bool unzipFromMemory(const uint8_t* data, size_t size, const Text& targetDir,
                     UnzipProgress progress, void* context, UnzipReport* report,
                     const UnzipOptions& options) {
  MemoryZipSource source(data, data ? size : 0);
  return Unpacker(source, targetDir, progress, context, report, options).run();
}

bool unzipFromMemory(const uint8_t* data, size_t size, const Text& targetDir,
                     UnzipProgress progress, void* context, UnzipReport* report) {
  return unzipFromMemory(data, size, targetDir, progress, context, report, UnzipOptions());
}

bool unzipArchive(const Text& archivePath, const Text& targetDir, UnzipProgress progress,
                  void* context, UnzipReport* report) {
  zipfs::InFile file;
  FileZipSource source(file);
  Unpacker unpacker(source, targetDir, progress, context, report, UnzipOptions());
  if (!file.open(pathFromGbk(archivePath))) return unpacker.cannotOpen();
  return unpacker.run();
}
