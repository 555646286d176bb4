// WinInet backend of the HTTP calls. Every HINTERNET is owned by one RAII
// object; the counter lets tests check that all of them were closed.
#include <windows.h>
#include <wininet.h>

#include "download/download_task.h"
#include "download/http_transport.h"

namespace {

// Reload, no cache write, pragma no-cache: the body always comes from the
// server and never goes into the local cache.
constexpr DWORD kTransferFlags =
    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kTransferFlags == 0x84000100, "transfer flags");

int g_liveHandles = 0;

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle = nullptr) : handle_(handle) {
    if (handle_) ++g_liveHandles;
  }
  ~InternetHandle() {
    if (!handle_) return;
    InternetCloseHandle(handle_);
    --g_liveHandles;
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// The value of one response header as text; empty when it is missing.
// The first call asks for the length needed, the second fills the text.
Text queryHeaderText(HINTERNET request, DWORD header) {
  DWORD size = 0;
  HttpQueryInfoA(request, header, nullptr, &size, nullptr);
  if (size == 0) return Text();
  Text value(size, '\0');
  if (!HttpQueryInfoA(request, header, &value[0], &size, nullptr)) return Text();
  value.resize(size);  // the length written, without the NUL
  return value;
}

int queryStatus(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr))
    return 0;
  return int(status);
}

}  // namespace

struct HttpSession {
  InternetHandle handle;
};

struct HttpRequest {
  InternetHandle handle;
};

void HttpSessionCloser::operator()(HttpSession* session) const { delete session; }
void HttpRequestCloser::operator()(HttpRequest* request) const { delete request; }

HttpSessionHandle openHttpSession(const Text& agent) {
  // An offline answer does not stop the attempt: only the proxy bit matters.
  DWORD state = 0;
  InternetGetConnectedState(&state, 0);
  const DWORD access = (state & INTERNET_CONNECTION_PROXY) ? INTERNET_OPEN_TYPE_PRECONFIG
                                                           : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
  HINTERNET handle = InternetOpenA(agent.c_str(), access, nullptr, nullptr, 0);
  if (!handle) return nullptr;
  return HttpSessionHandle(new HttpSession{InternetHandle(handle)});
}

HttpRequestHandle openHttpUrl(HttpSession& session, const Text& url, const Text& extraHeader,
                              HttpResponse& response) {
  const char* header = extraHeader.empty() ? nullptr : extraHeader.c_str();
  HINTERNET handle = InternetOpenUrlA(session.handle.get(), url.c_str(), header,
                                      DWORD(extraHeader.size()), kTransferFlags, 0);
  if (!handle) return nullptr;
  HttpRequestHandle request(new HttpRequest{InternetHandle(handle)});
  response.status = queryStatus(handle);
  const Text length = queryHeaderText(handle, HTTP_QUERY_CONTENT_LENGTH);
  response.contentLength = length.empty() ? -1 : textToInt64(length);
  return request;
}

bool readHttpBody(HttpRequest& request, uint8_t* buffer, size_t capacity, size_t& count) {
  DWORD read = 0;
  const BOOL ok = InternetReadFile(request.handle.get(), buffer, DWORD(capacity), &read);
  count = ok ? read : 0;
  return ok != FALSE;
}

int liveHttpHandles() { return g_liveHandles; }

int64_t queryContentLength(const Text& url) {
  InternetHandle session(InternetOpenA("", INTERNET_OPEN_TYPE_PRECONFIG, "", "", 0));
  if (!session) return 0;
  InternetHandle request(InternetOpenUrlA(session.get(), url.c_str(), "", 0, INTERNET_FLAG_RELOAD, 0));
  if (!request) return 0;
  return textToInt64(queryHeaderText(request.get(), HTTP_QUERY_CONTENT_LENGTH));
}
