#include "runtime/zip/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

const uint32_t kLocalHeaderSig = 0x04034b50;
const uint32_t kCentralHeaderSig = 0x02014b50;
const uint32_t kEndSig = 0x06054b50;
const uint32_t kEnd64Sig = 0x06064b50;
const uint32_t kEnd64LocatorSig = 0x07064b50;

const size_t kEndSize = 22;
const size_t kEnd64Size = 56;
const size_t kEnd64LocatorSize = 20;
const size_t kLocalHeaderSize = 30;
const size_t kCentralHeaderSize = 46;
const size_t kMaxCommentSize = 0xFFFF;

const size_t kDirectoryWindowSize = 64 * 1024;
const size_t kInputBufferSize = 128 * 1024;
const size_t kOutputBufferSize = 256 * 1024;

const uint16_t kFlagEncrypted = 0x0001;
const uint16_t kFlagUtf8 = 0x0800;
const uint16_t kMethodStored = 0;
const uint16_t kMethodDeflated = 8;
const uint16_t kExtraZip64 = 0x0001;
const uint16_t kExtraUnicodePath = 0x7075;

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint64_t le64(const uint8_t* p) { return uint64_t(le32(p)) | (uint64_t(le32(p + 4)) << 32); }

uint32_t crcOf(uint32_t crc, const uint8_t* data, size_t size) {
  while (size > 0) {
    uInt n = uInt(std::min<size_t>(size, 1u << 30));
    crc = uint32_t(crc32(crc, data, n));
    data += n;
    size -= n;
  }
  return crc;
}

// A 64-bit value of the Zip64 extra field replaces each field that holds
// its all-ones marker, in the order the format fixes.
void applyZip64(const uint8_t* p, size_t size, ZipEntry* e) {
  auto take = [&](uint64_t* field) {
    if (*field != 0xFFFFFFFFu || size < 8) return;
    *field = le64(p);
    p += 8;
    size -= 8;
  };
  take(&e->uncompressedSize);
  take(&e->compressedSize);
  take(&e->localHeaderOffset);
}

// The Unicode path field holds the UTF-8 name; it counts only while the
// CRC-32 it records still matches the stored name.
void applyUnicodePath(const uint8_t* p, size_t size, ZipEntry* e) {
  if (size < 5 || p[0] != 1) return;
  uint32_t storedNameCrc = le32(p + 1);
  if (crcOf(0, reinterpret_cast<const uint8_t*>(e->name.data()), e->name.size()) != storedNameCrc)
    return;
  e->name.assign(reinterpret_cast<const char*>(p + 5), size - 5);
  e->utf8 = true;
}

void applyExtraFields(const std::vector<uint8_t>& extra, ZipEntry* e) {
  size_t pos = 0;
  while (pos + 4 <= extra.size()) {
    uint16_t id = le16(&extra[pos]);
    size_t size = le16(&extra[pos + 2]);
    pos += 4;
    if (size > extra.size() - pos) break;
    if (id == kExtraZip64) applyZip64(&extra[pos], size, e);
    if (id == kExtraUnicodePath) applyUnicodePath(&extra[pos], size, e);
    pos += size;
  }
}

}  // namespace

size_t MemoryZipSource::readAt(uint64_t offset, uint8_t* buffer, size_t n) {
  if (offset >= size_) return 0;
  size_t avail = size_t(size_ - offset);
  if (n > avail) n = avail;
  if (n > 0) memcpy(buffer, data_ + offset, n);
  return n;
}

ZipReader::ZipReader(ZipSource& source) : source_(source) {}

ZipReader::~ZipReader() {
  if (zstreamReady_) inflateEnd(zstream_.get());
}

bool ZipReader::readExact(uint64_t offset, uint8_t* buffer, size_t n) {
  uint64_t size = source_.size();
  if (offset > size || n > size - offset) return false;
  return source_.readAt(offset, buffer, n) == n;
}

bool ZipReader::open() {
  uint8_t head[4];
  if (!readExact(0, head, sizeof head)) return false;
  // A ZIP file starts with its first entry, or with the end record when it
  // holds none; anything else is not an archive we unpack.
  uint32_t sig = le32(head);
  if (sig != kLocalHeaderSig && sig != kEndSig) return false;
  if (!findEndRecord()) return false;
  directoryPos_ = directoryBegin_;
  directoryWindow_.resize(kDirectoryWindowSize);
  in_.resize(kInputBufferSize);
  out_.resize(kOutputBufferSize);
  return true;
}

bool ZipReader::findEndRecord() {
  uint64_t size = source_.size();
  if (size < kEndSize) return false;
  size_t tail = size_t(std::min<uint64_t>(size, kEndSize + kMaxCommentSize));
  std::vector<uint8_t> buf(tail);
  uint64_t tailStart = size - tail;
  if (!readExact(tailStart, buf.data(), tail)) return false;

  // The record whose comment runs exactly to the end of the file; failing
  // that, the last one whose comment fits (trailing bytes after a comment).
  long found = -1;
  for (long i = long(tail - kEndSize); i >= 0; --i) {
    if (le32(&buf[size_t(i)]) != kEndSig) continue;
    size_t end = size_t(i) + kEndSize + le16(&buf[size_t(i) + 20]);
    if (end == tail) {
      found = i;
      break;
    }
    if (end < tail && found < 0) found = i;
  }
  if (found < 0) return false;
  const uint8_t* rec = &buf[size_t(found)];
  uint64_t endPos = tailStart + uint64_t(found);

  uint32_t disk = le16(rec + 4), directoryDisk = le16(rec + 6);
  uint64_t entriesOnDisk = le16(rec + 8), entries = le16(rec + 10);
  uint64_t directorySize = le32(rec + 12), directoryOffset = le32(rec + 16);
  uint64_t limit = endPos;  // the central directory lies before this

  bool saturated =
      entries == 0xFFFF || directorySize == 0xFFFFFFFFu || directoryOffset == 0xFFFFFFFFu;
  uint8_t locator[kEnd64LocatorSize];
  if (saturated && endPos >= kEnd64LocatorSize &&
      readExact(endPos - kEnd64LocatorSize, locator, sizeof locator) &&
      le32(locator) == kEnd64LocatorSig) {
    uint64_t end64Pos = le64(locator + 8);
    uint8_t rec64[kEnd64Size];
    if (end64Pos > endPos - kEnd64LocatorSize ||
        endPos - kEnd64LocatorSize - end64Pos < kEnd64Size ||
        !readExact(end64Pos, rec64, sizeof rec64) || le32(rec64) != kEnd64Sig)
      return false;
    disk = le32(rec64 + 16);
    directoryDisk = le32(rec64 + 20);
    entriesOnDisk = le64(rec64 + 24);
    entries = le64(rec64 + 32);
    directorySize = le64(rec64 + 40);
    directoryOffset = le64(rec64 + 48);
    limit = end64Pos;
  }

  // Archives split over several disks are not ours to read.
  if (disk != 0 || directoryDisk != 0 || entriesOnDisk != entries) return false;
  if (directoryOffset > limit || directorySize > limit - directoryOffset) return false;
  entryCount_ = entries;
  directoryBegin_ = directoryOffset;
  directoryEnd_ = directoryOffset + directorySize;
  return true;
}

bool ZipReader::readDirectory(uint8_t* buffer, size_t n) {
  if (n > directoryEnd_ - directoryPos_) return false;
  while (n > 0) {
    if (directoryPos_ < windowStart_ || directoryPos_ >= windowStart_ + windowFill_) {
      size_t fill =
          size_t(std::min<uint64_t>(directoryWindow_.size(), directoryEnd_ - directoryPos_));
      if (!readExact(directoryPos_, directoryWindow_.data(), fill)) return false;
      windowStart_ = directoryPos_;
      windowFill_ = fill;
    }
    size_t at = size_t(directoryPos_ - windowStart_);
    size_t take = std::min(n, windowFill_ - at);
    if (buffer) {
      memcpy(buffer, &directoryWindow_[at], take);
      buffer += take;
    }
    directoryPos_ += take;
    n -= take;
  }
  return true;
}

bool ZipReader::nextEntry(ZipEntry* entry) {
  uint8_t h[kCentralHeaderSize];
  if (!readDirectory(h, sizeof h) || le32(h) != kCentralHeaderSig) return false;
  ZipEntry e;
  e.flags = le16(h + 8);
  e.method = le16(h + 10);
  e.crc = le32(h + 16);
  e.compressedSize = le32(h + 20);
  e.uncompressedSize = le32(h + 24);
  size_t nameSize = le16(h + 28), extraSize = le16(h + 30), commentSize = le16(h + 32);
  e.localHeaderOffset = le32(h + 42);

  e.name.resize(nameSize);
  std::vector<uint8_t> extra(extraSize);
  if (!readDirectory(reinterpret_cast<uint8_t*>(&e.name[0]), nameSize) ||
      !readDirectory(extra.data(), extraSize) || !readDirectory(nullptr, commentSize))
    return false;
  e.utf8 = (e.flags & kFlagUtf8) != 0;
  applyExtraFields(extra, &e);
  *entry = std::move(e);
  return true;
}

bool ZipReader::claimRange(uint64_t begin, uint64_t end) {
  auto next = claimed_.upper_bound(begin);
  if (next != claimed_.end() && next->first < end) return false;
  if (next != claimed_.begin() && std::prev(next)->second > begin) return false;
  claimed_.emplace(begin, end);
  return true;
}

ZipEntryStatus ZipReader::extract(const ZipEntry& entry, ZipSink& sink) {
  if (entry.flags & kFlagEncrypted) return ZipEntryStatus::kEncrypted;
  if (entry.method != kMethodStored && entry.method != kMethodDeflated)
    return ZipEntryStatus::kUnknownMethod;

  // Entries lie before the central directory; their sizes come from it
  // (the local header may hold zeros when a data descriptor follows).
  uint64_t at = entry.localHeaderOffset;
  uint8_t local[kLocalHeaderSize];
  if (at > directoryBegin_ || directoryBegin_ - at < kLocalHeaderSize ||
      !readExact(at, local, sizeof local) || le32(local) != kLocalHeaderSig)
    return ZipEntryStatus::kBadLocalHeader;
  uint64_t dataStart = at + kLocalHeaderSize + le16(local + 26) + le16(local + 28);
  if (dataStart > directoryBegin_ || entry.compressedSize > directoryBegin_ - dataStart)
    return ZipEntryStatus::kTruncated;
  // Entries that share bytes are how the worst zip bombs multiply their output.
  if (!claimRange(at, dataStart + entry.compressedSize)) return ZipEntryStatus::kOverlapping;

  if (entry.method == kMethodStored) return copyStored(dataStart, entry, sink);
  return inflateEntry(dataStart, entry, sink);
}

ZipEntryStatus ZipReader::copyStored(uint64_t offset, const ZipEntry& entry, ZipSink& sink) {
  if (entry.compressedSize != entry.uncompressedSize) return ZipEntryStatus::kWrongSize;
  uint32_t crc = 0;
  uint64_t left = entry.compressedSize;
  while (left > 0) {
    size_t n = size_t(std::min<uint64_t>(left, out_.size()));
    if (!readExact(offset, out_.data(), n)) return ZipEntryStatus::kTruncated;
    crc = crcOf(crc, out_.data(), n);
    if (!sink.write(out_.data(), n)) return ZipEntryStatus::kSinkFailed;
    offset += n;
    left -= n;
  }
  return crc == entry.crc ? ZipEntryStatus::kOk : ZipEntryStatus::kWrongCrc;
}

ZipEntryStatus ZipReader::inflateEntry(uint64_t offset, const ZipEntry& entry, ZipSink& sink) {
  if (!zstream_) zstream_.reset(new z_stream_s());
  z_stream* z = zstream_.get();
  if (!zstreamReady_) {
    if (inflateInit2(z, -MAX_WBITS) != Z_OK) return ZipEntryStatus::kCorrupt;
    zstreamReady_ = true;
  } else if (inflateReset(z) != Z_OK) {
    return ZipEntryStatus::kCorrupt;
  }
  z->avail_in = 0;

  uint64_t inLeft = entry.compressedSize;
  uint64_t produced = 0;
  uint32_t crc = 0;
  int ret = Z_OK;
  while (ret != Z_STREAM_END) {
    if (z->avail_in == 0) {
      // The stream has not ended but its compressed bytes have.
      if (inLeft == 0) return ZipEntryStatus::kTruncated;
      size_t n = size_t(std::min<uint64_t>(inLeft, in_.size()));
      if (!readExact(offset, in_.data(), n)) return ZipEntryStatus::kTruncated;
      offset += n;
      inLeft -= n;
      z->next_in = in_.data();
      z->avail_in = uInt(n);
    }
    z->next_out = out_.data();
    z->avail_out = uInt(out_.size());
    ret = inflate(z, Z_NO_FLUSH);
    if (ret != Z_OK && ret != Z_STREAM_END && ret != Z_BUF_ERROR) return ZipEntryStatus::kCorrupt;
    size_t got = out_.size() - z->avail_out;
    if (ret == Z_BUF_ERROR && got == 0 && z->avail_in != 0) return ZipEntryStatus::kCorrupt;
    if (got > entry.uncompressedSize - produced) return ZipEntryStatus::kTooLong;
    if (got == 0) continue;
    produced += got;
    crc = crcOf(crc, out_.data(), got);
    if (!sink.write(out_.data(), got)) return ZipEntryStatus::kSinkFailed;
  }
  if (produced != entry.uncompressedSize) return ZipEntryStatus::kWrongSize;
  return crc == entry.crc ? ZipEntryStatus::kOk : ZipEntryStatus::kWrongCrc;
}
