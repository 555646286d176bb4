// Files built into the program (the artwork PNGs): no files beside it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace skin {

struct EmbeddedFile {
  const char* name;  // file name, e.g. "logo.png"
  const uint8_t* data;
  size_t size;
};

// The embedded file called name, or nullptr.
const EmbeddedFile* findEmbeddedFile(const char* name);

}  // namespace skin
