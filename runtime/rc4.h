// The run time's data deciphering in its RC4 mode.
#pragma once

#include "runtime/text.h"

// data run through the RC4 key stream of key (the key's bytes, no
// terminator). The same call enciphers and deciphers. An empty key gives the
// data unchanged.
Bytes rc4Transform(const Bytes& data, const Bytes& key);

// Deciphers data with the bytes of keyText and returns the result up to its
// first zero byte (all of it when there is none).
Text rc4DecipherText(const Bytes& data, const Text& keyText);
