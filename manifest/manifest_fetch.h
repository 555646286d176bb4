// The installer description file on the product server.
#pragma once

#include "runtime/text.h"

// Port and path of the description file on the server host.
Text manifestUrl(const Text& host);

// Lets pending window events run once, deciphers the server host into
// installState().serverHost and reads the description file, converted from
// UTF-8 to GBK Text. Empty when nothing could be read.
Text fetchManifest();
