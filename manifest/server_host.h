// The product server's host, held enciphered in the program.
#pragma once

#include "runtime/text.h"

// Deciphers the host built into the program.
Text decipherServerHost();

// Test seam: the host that fetchManifest uses instead of the built-in one
// (an empty text restores the built-in host). The shipped program never
// calls it.
void setServerHostForTesting(const Text& host);
