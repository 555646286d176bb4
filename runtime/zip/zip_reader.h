// Reads a ZIP archive through its central directory and streams the data of
// its entries, checked, into a sink. Knows nothing of files or names: the
// unpacker (zip_unpack.cpp) decides where the data goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct z_stream_s;

// Where the archive's bytes come from.
class ZipSource {
 public:
  virtual ~ZipSource() = default;
  virtual uint64_t size() const = 0;
  // Reads up to n bytes at offset; fewer at the end or on a read error.
  virtual size_t readAt(uint64_t offset, uint8_t* buffer, size_t n) = 0;
};

class MemoryZipSource : public ZipSource {
 public:
  MemoryZipSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t size() const override { return size_; }
  size_t readAt(uint64_t offset, uint8_t* buffer, size_t n) override;

 private:
  const uint8_t* data_;
  size_t size_;
};

// Takes the data of one entry as it is inflated. Returning false stops it.
class ZipSink {
 public:
  virtual ~ZipSink() = default;
  virtual bool write(const uint8_t* data, size_t size) = 0;
};

struct ZipEntry {
  std::string name;   // as stored (GBK unless utf8)
  bool utf8 = false;  // flag bit 11, or the name came from a Unicode path field
  uint16_t flags = 0;
  uint16_t method = 0;
  uint32_t crc = 0;
  uint64_t compressedSize = 0;
  uint64_t uncompressedSize = 0;
  uint64_t localHeaderOffset = 0;
};

enum class ZipEntryStatus {
  kOk,
  kEncrypted,       // flag bit 0
  kUnknownMethod,   // neither stored nor deflated
  kBadLocalHeader,  // no local header where the central directory points
  kOverlapping,     // shares bytes with an entry read before
  kTruncated,       // the data runs past the end of the entries or of the file
  kCorrupt,         // the deflate stream is broken
  kTooLong,         // inflates to more than its declared size
  kWrongSize,       // ends before its declared size
  kWrongCrc,
  kSinkFailed,  // the sink refused the data
};

class ZipReader {
 public:
  explicit ZipReader(ZipSource& source);
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  // Finds the end record and the central directory. False when the input is
  // not an archive this reader can walk.
  bool open();
  uint64_t entryCount() const { return entryCount_; }

  // The next central directory record, in order. False when the record is
  // malformed or lies outside the central directory.
  bool nextEntry(ZipEntry* entry);

  // Streams the entry's data into sink, checking size and CRC-32. Nothing
  // beyond the declared size ever reaches the sink.
  ZipEntryStatus extract(const ZipEntry& entry, ZipSink& sink);

 private:
  bool readExact(uint64_t offset, uint8_t* buffer, size_t n);
  bool readDirectory(uint8_t* buffer, size_t n);
  bool findEndRecord();
  bool claimRange(uint64_t begin, uint64_t end);
  ZipEntryStatus copyStored(uint64_t offset, const ZipEntry& entry, ZipSink& sink);
  ZipEntryStatus inflateEntry(uint64_t offset, const ZipEntry& entry, ZipSink& sink);

  ZipSource& source_;
  uint64_t entryCount_ = 0;
  uint64_t directoryBegin_ = 0;
  uint64_t directoryEnd_ = 0;
  uint64_t directoryPos_ = 0;
  // The central directory is read through its own small window, so walking
  // it costs neither a read per field nor memory in proportion to its size.
  std::vector<uint8_t> directoryWindow_;
  uint64_t windowStart_ = 0;
  size_t windowFill_ = 0;
  std::vector<uint8_t> in_;
  std::vector<uint8_t> out_;
  std::unique_ptr<z_stream_s> zstream_;
  bool zstreamReady_ = false;
  std::map<uint64_t, uint64_t> claimed_;  // begin -> end of the bytes of each entry read
};
