// The run time's whole-file HTTP read.
#pragma once

#include "runtime/text.h"

// GET of url in HTTP/1.0 over a direct connection (no proxy), bypassing the
// local cache both ways, with the agent
// "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)" and "Accept: */*".
// Returns the whole response body whatever the status code; a body cut short
// is returned as far as it was read. Empty when the request could not be
// made. When status is given it receives the HTTP status code, or 0 when no
// response arrived.
Bytes httpReadWhole(const Text& url, int* status = nullptr);

// The agent every request of the installer sends.
extern const char* const kHttpUserAgent;
