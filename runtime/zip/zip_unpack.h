// The ZIP component's unpack operation, over zlib.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/text.h"

// Raised after each entry with index*100/count (double, truncated), then 100
// at the end; 100 too when unpacking stops on an error after counting; a
// single 0 when the archive cannot be opened.
using UnzipProgress = void (*)(void* context, int32_t percent);

struct UnzipReport {
  int entries = 0;   // entries in the central directory
  int written = 0;   // files written and directories created
  std::vector<Text> failed;  // names (GBK) of entries that were skipped or failed
};

// Unpacks every entry of the archive at archivePath below targetDir (both GBK
// paths), creating missing directories and overwriting existing files.
// Never writes outside targetDir. True when every entry was written.
bool unzipArchive(const Text& archivePath, const Text& targetDir, UnzipProgress progress,
                  void* context, UnzipReport* report = nullptr);

// The same over an archive held in memory (tests, fuzzing).
bool unzipFromMemory(const uint8_t* data, size_t size, const Text& targetDir,
                     UnzipProgress progress, void* context, UnzipReport* report = nullptr);

// Limits for untrusted input (fuzzing); the defaults limit nothing.
struct UnzipOptions {
  // Total bytes written over all entries; an entry that would pass it fails
  // and leaves nothing behind. 0 = no limit.
  uint64_t maxTotalBytes = 0;
};

bool unzipFromMemory(const uint8_t* data, size_t size, const Text& targetDir,
                     UnzipProgress progress, void* context, UnzipReport* report,
                     const UnzipOptions& options);
