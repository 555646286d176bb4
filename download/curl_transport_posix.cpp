// libcurl backend of the HTTP calls, pull-style: a read pumps the transfer
// just until some body bytes are buffered, so the caller still reads its own
// chunk size and memory stays bounded whatever the file's size.
#include <curl/curl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "download/download_task.h"
#include "download/http_transport.h"

struct HttpSession {
  Text agent;
};

struct HttpRequest {
  CURLM* multi = nullptr;
  CURL* easy = nullptr;
  curl_slist* headers = nullptr;

  // Body bytes delivered by libcurl and not yet handed out.
  std::vector<uint8_t> pending;
  size_t pendingPos = 0;
  bool paused = false;

  bool done = false;
  CURLcode doneCode = CURLE_OK;

  // The response being received; a redirect starts a new one.
  int status = 0;
  bool headersComplete = false;
  bool hasContentLength = false;
  Text contentLengthText;

  ~HttpRequest();
};

namespace {

int g_liveHandles = 0;

// Past this much unread body the transfer pauses until the caller catches up.
constexpr size_t kMaxPending = 256 * 1024;
constexpr size_t kReceiveBuffer = 128 * 1024;

void initCurlOnce() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)ready;
}

bool startsWithNoCase(const char* line, size_t size, const char* prefix) {
  const size_t n = std::strlen(prefix);
  return size >= n && strncasecmp(line, prefix, n) == 0;
}

Text trimmed(const char* begin, const char* end) {
  while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
  while (end > begin && (end[-1] == '\r' || end[-1] == '\n' || end[-1] == ' ')) --end;
  return Text(begin, end);
}

size_t onHeaderLine(char* line, size_t one, size_t size, void* user) {
  auto* r = static_cast<HttpRequest*>(user);
  size *= one;
  if (startsWithNoCase(line, size, "HTTP/")) {
    r->status = 0;
    r->headersComplete = false;
    r->hasContentLength = false;
    r->contentLengthText.clear();
    const char* space = static_cast<const char*>(std::memchr(line, ' ', size));
    if (space) r->status = int(textToInt64(trimmed(space, line + size)));
  } else if (startsWithNoCase(line, size, "content-length:")) {
    r->hasContentLength = true;
    r->contentLengthText = trimmed(line + 15, line + size);
  } else if (trimmed(line, line + size).empty()) {
    r->headersComplete = true;
  }
  return size;
}

size_t onBody(char* data, size_t one, size_t size, void* user) {
  auto* r = static_cast<HttpRequest*>(user);
  size *= one;
  if (r->pending.size() - r->pendingPos >= kMaxPending) {
    r->paused = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  // Same byte type on both sides, so this is one memmove.
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data);
  r->pending.insert(r->pending.end(), bytes, bytes + size);
  return size;
}

void noteFinished(HttpRequest& r) {
  int left = 0;
  while (CURLMsg* msg = curl_multi_info_read(r.multi, &left)) {
    if (msg->msg == CURLMSG_DONE) {
      r.done = true;
      r.doneCode = msg->data.result;
    }
  }
}

bool hasUnread(const HttpRequest& r) { return r.pendingPos < r.pending.size(); }

// A redirect's headers are followed by the next response's.
bool responseReady(const HttpRequest& r) {
  const bool redirect = r.status >= 300 && r.status < 400;
  return hasUnread(r) || (r.headersComplete && !redirect);
}

template <typename Ready>
void pumpUntil(HttpRequest& r, Ready ready) {
  while (!r.done) {
    int active = 0;
    if (curl_multi_perform(r.multi, &active) != CURLM_OK) {
      r.done = true;
      r.doneCode = CURLE_RECV_ERROR;
      return;
    }
    noteFinished(r);
    if (ready(r) || r.done) return;
    curl_multi_poll(r.multi, nullptr, 0, 1000, nullptr);
  }
}

void addHeaderLines(HttpRequest& r, const Text& extraHeader) {
  size_t start = 0;
  while (start < extraHeader.size()) {
    size_t end = extraHeader.find("\r\n", start);
    if (end == Text::npos) end = extraHeader.size();
    if (end > start) r.headers = curl_slist_append(r.headers, extraHeader.substr(start, end - start).c_str());
    start = end + 2;
  }
  r.headers = curl_slist_append(r.headers, "Pragma: no-cache");
  r.headers = curl_slist_append(r.headers, "Cache-Control: no-cache");
}

bool configure(HttpRequest& r, const HttpSession& session, const Text& url, const Text& extraHeader) {
  r.pending.reserve(kMaxPending + kReceiveBuffer);
  r.easy = curl_easy_init();
  r.multi = curl_multi_init();
  if (!r.easy || !r.multi) return false;
  addHeaderLines(r, extraHeader);
  curl_easy_setopt(r.easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(r.easy, CURLOPT_USERAGENT, session.agent.c_str());
  curl_easy_setopt(r.easy, CURLOPT_HTTPHEADER, r.headers);
  curl_easy_setopt(r.easy, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(r.easy, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(r.easy, CURLOPT_PROXY, "");  // no proxy from the environment
  curl_easy_setopt(r.easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(r.easy, CURLOPT_CONNECTTIMEOUT, 30L);
  // A server that stalls for a minute counts as a failed read.
  curl_easy_setopt(r.easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(r.easy, CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(r.easy, CURLOPT_BUFFERSIZE, long(kReceiveBuffer));
  curl_easy_setopt(r.easy, CURLOPT_HEADERFUNCTION, onHeaderLine);
  curl_easy_setopt(r.easy, CURLOPT_HEADERDATA, &r);
  curl_easy_setopt(r.easy, CURLOPT_WRITEFUNCTION, onBody);
  curl_easy_setopt(r.easy, CURLOPT_WRITEDATA, &r);
  return curl_multi_add_handle(r.multi, r.easy) == CURLM_OK;
}

HttpSessionHandle openSession(const Text& agent) {
  initCurlOnce();
  ++g_liveHandles;
  return HttpSessionHandle(new HttpSession{agent});
}

}  // namespace

HttpRequest::~HttpRequest() {
  if (multi && easy) curl_multi_remove_handle(multi, easy);
  if (easy) curl_easy_cleanup(easy);
  if (multi) curl_multi_cleanup(multi);
  curl_slist_free_all(headers);
}

void HttpSessionCloser::operator()(HttpSession* session) const {
  --g_liveHandles;
  delete session;
}

void HttpRequestCloser::operator()(HttpRequest* request) const {
  --g_liveHandles;
  delete request;
}

HttpSessionHandle openHttpSession(const Text& agent) { return openSession(agent); }

HttpRequestHandle openHttpUrl(HttpSession& session, const Text& url, const Text& extraHeader,
                              HttpResponse& response) {
  ++g_liveHandles;
  HttpRequestHandle request(new HttpRequest);
  if (!configure(*request, session, url, extraHeader)) return nullptr;
  pumpUntil(*request, responseReady);
  if (!request->headersComplete || request->status == 0) return nullptr;
  response.status = request->status;
  response.contentLength =
      request->hasContentLength ? textToInt64(request->contentLengthText) : -1;
  return request;
}

bool readHttpBody(HttpRequest& r, uint8_t* buffer, size_t capacity, size_t& count) {
  count = 0;
  if (!hasUnread(r)) {
    r.pending.clear();
    r.pendingPos = 0;
    if (r.paused) {
      r.paused = false;
      curl_easy_pause(r.easy, CURLPAUSE_CONT);
    }
    pumpUntil(r, hasUnread);
  }
  if (hasUnread(r)) {
    count = std::min(capacity, r.pending.size() - r.pendingPos);
    std::memcpy(buffer, r.pending.data() + r.pendingPos, count);
    r.pendingPos += count;
    return true;
  }
  return r.doneCode == CURLE_OK;
}

int liveHttpHandles() { return g_liveHandles; }

int64_t queryContentLength(const Text& url) {
  HttpSessionHandle session = openSession(Text());
  HttpResponse response;
  HttpRequestHandle request = openHttpUrl(*session, url, Text(), response);
  if (!request) return 0;
  return textToInt64(request->contentLengthText);
}
