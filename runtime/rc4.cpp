#include "runtime/rc4.h"

#include <cstddef>
#include <utility>

Bytes rc4Transform(const Bytes& data, const Bytes& key) {
  if (key.empty()) return data;
  uint8_t s[256];
  for (int i = 0; i < 256; ++i) s[i] = uint8_t(i);
  uint8_t j = 0;
  for (int i = 0; i < 256; ++i) {
    j = uint8_t(j + s[i] + key[std::size_t(i) % key.size()]);
    std::swap(s[i], s[j]);
  }
  Bytes out(data.size());
  uint8_t a = 0, b = 0;
  for (std::size_t n = 0; n < data.size(); ++n) {
    a = uint8_t(a + 1);
    b = uint8_t(b + s[a]);
    std::swap(s[a], s[b]);
    out[n] = data[n] ^ s[uint8_t(s[a] + s[b])];
  }
  return out;
}

Text rc4DecipherText(const Bytes& data, const Text& keyText) {
  const Bytes plain = rc4Transform(data, Bytes(keyText.begin(), keyText.end()));
  Text text;
  for (uint8_t byte : plain) {
    if (byte == 0) break;
    text += char(byte);
  }
  return text;
}
