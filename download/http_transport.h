// The HTTP side of a download, one backend per build: WinInet on Windows,
// libcurl natively (tests, sanitizers, benchmarks). The transfer loop in
// download_task.cpp is written once against these calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/text.h"

struct HttpSession;  // the Internet session (WinInet: InternetOpenA's handle)
struct HttpRequest;  // one request (WinInet: InternetOpenUrlA's handle)

struct HttpSessionCloser {
  void operator()(HttpSession* session) const;
};
struct HttpRequestCloser {
  void operator()(HttpRequest* request) const;
};
using HttpSessionHandle = std::unique_ptr<HttpSession, HttpSessionCloser>;
using HttpRequestHandle = std::unique_ptr<HttpRequest, HttpRequestCloser>;

// Opens the session that a transfer uses, with agent as the User-Agent. The
// proxy setting follows the system's connection state. Null on failure.
HttpSessionHandle openHttpSession(const Text& agent);

struct HttpResponse {
  int status = 0;               // the HTTP status of the final response
  int64_t contentLength = -1;   // its Content-Length; -1 when it has none
};

// Sends a GET for url, bypassing every cache, with extraHeader (CRLF-led
// header lines, or empty for none). Returns once the response headers are in,
// or null when no response came (host unknown, refused, ...).
HttpRequestHandle openHttpUrl(HttpSession& session, const Text& url, const Text& extraHeader,
                              HttpResponse& response);

// Reads up to capacity body bytes. True with count 0 at the end of the body;
// false when the connection failed.
bool readHttpBody(HttpRequest& request, uint8_t* buffer, size_t capacity, size_t& count);

// Sessions and requests opened and not yet closed (transfers and length
// probes alike); tests use it to prove that every path closes its handles.
int liveHttpHandles();
