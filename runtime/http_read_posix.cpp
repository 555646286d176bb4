#include <curl/curl.h>

#include "runtime/http_read.h"

const char* const kHttpUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

namespace {

struct CurlEasy {
  CURL* h = curl_easy_init();
  ~CurlEasy() {
    if (h) curl_easy_cleanup(h);
  }
};

struct CurlHeaders {
  curl_slist* list = nullptr;
  ~CurlHeaders() { curl_slist_free_all(list); }
};

size_t collect(char* data, size_t size, size_t count, void* user) {
  Bytes* body = static_cast<Bytes*>(user);
  body->insert(body->end(), data, data + size * count);
  return size * count;
}

}  // namespace

Bytes httpReadWhole(const Text& url, int* status) {
  if (status) *status = 0;
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!initialised) return Bytes();
  CurlEasy curl;
  if (!curl.h) return Bytes();
  CurlHeaders headers;
  headers.list = curl_slist_append(nullptr, "Accept: */*");
  headers.list = curl_slist_append(headers.list, "Pragma: no-cache");
  Bytes body;
  curl_easy_setopt(curl.h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
  curl_easy_setopt(curl.h, CURLOPT_USERAGENT, kHttpUserAgent);
  curl_easy_setopt(curl.h, CURLOPT_HTTPHEADER, headers.list);
  curl_easy_setopt(curl.h, CURLOPT_PROXY, "");  // a direct connection, whatever the environment says
  curl_easy_setopt(curl.h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl.h, CURLOPT_WRITEFUNCTION, collect);
  curl_easy_setopt(curl.h, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl.h, CURLOPT_NOSIGNAL, 1L);
  // A body cut short is used as far as it was read, so the result code only
  // matters through what was collected.
  curl_easy_perform(curl.h);
  long code = 0;
  if (curl_easy_getinfo(curl.h, CURLINFO_RESPONSE_CODE, &code) == CURLE_OK && status)
    *status = int(code);
  return body;
}
