#include <windows.h>
#include <wininet.h>

#include <string>

#include "runtime/http_read.h"
#include "runtime/scoped_handle_win.h"

const char* const kHttpUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

namespace {

struct UrlParts {
  std::string host;
  std::string pathAndQuery;
  INTERNET_PORT port = 0;
  bool secure = false;
};

bool crackUrl(const Text& url, UrlParts* parts) {
  char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  URL_COMPONENTSA c = {};
  c.dwStructSize = sizeof c;
  c.lpszHostName = host;
  c.dwHostNameLength = sizeof host;
  c.dwUrlPathLength = 1;   // ask for pointers into url
  c.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(url.c_str(), DWORD(url.size()), 0, &c)) return false;
  if (c.nScheme != INTERNET_SCHEME_HTTP && c.nScheme != INTERNET_SCHEME_HTTPS) return false;
  parts->host = host;
  parts->port = c.nPort;
  parts->secure = c.nScheme == INTERNET_SCHEME_HTTPS;
  if (c.lpszUrlPath) parts->pathAndQuery.assign(c.lpszUrlPath, c.dwUrlPathLength);
  if (c.lpszExtraInfo) parts->pathAndQuery.append(c.lpszExtraInfo, c.dwExtraInfoLength);
  if (parts->pathAndQuery.empty()) parts->pathAndQuery = "/";
  return !parts->host.empty();
}

int statusCode(HINTERNET request) {
  DWORD code = 0;
  DWORD size = sizeof code;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size,
                      nullptr))
    return 0;
  return int(code);
}

}  // namespace

Bytes httpReadWhole(const Text& url, int* status) {
  if (status) *status = 0;
  UrlParts parts;
  if (!crackUrl(url, &parts)) return Bytes();
  ScopedInternetHandle session(InternetOpenA(kHttpUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!session) return Bytes();
  ScopedInternetHandle connection(InternetConnectA(session.get(), parts.host.c_str(), parts.port, nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return Bytes();
  const char* acceptTypes[] = {"*/*", nullptr};
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
  if (parts.secure) flags |= INTERNET_FLAG_SECURE;
  ScopedInternetHandle request(HttpOpenRequestA(connection.get(), "GET", parts.pathAndQuery.c_str(),
                                          "HTTP/1.0", nullptr, acceptTypes, flags, 0));
  if (!request) return Bytes();
  if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return Bytes();
  if (status) *status = statusCode(request.get());

  // Whatever the status, the body is the answer; a read error keeps what
  // arrived before it.
  Bytes body;
  char chunk[16384];
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request.get(), chunk, sizeof chunk, &got) || got == 0) break;
    body.insert(body.end(), chunk, chunk + got);
  }
  return body;
}
