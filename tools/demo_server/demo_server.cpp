#include "tools/demo_server/demo_server.h"

#include <httplib.h>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "tools/demo_server/raw_connection.h"
#include "tools/demo_server/site_files.h"

namespace demo {
namespace {

constexpr size_t kChunkSize = 256 * 1024;

// The request that a handler of this thread has already written to the log;
// requests the library answers on its own are logged after their response.
// A connection we ended ourselves may skip the library's after-response
// call, so the mark names its request rather than being a plain flag.
struct LoggedRequest {
  const void* request = nullptr;
  int remotePort = -1;
};
thread_local LoggedRequest loggedRequest;

void markLogged(const httplib::Request& req) { loggedRequest = {&req, req.remote_port}; }

bool wasLogged(const httplib::Request& req) {
  return loggedRequest.request == &req && loggedRequest.remotePort == req.remote_port;
}

class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  ~OpenFile() {
    if (fd_ >= 0) close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

const char* reasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 206: return "Partial Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 416: return "Range Not Satisfiable";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    case 503: return "Service Unavailable";
    default: return status < 400 ? "OK" : "Error";
  }
}

std::string errorPage(int status, const std::string& detail = std::string()) {
  std::string title = std::to_string(status) + " " + reasonPhrase(status);
  std::string page = "<html><head><title>" + title + "</title></head><body><h1>" + title + "</h1>";
  if (!detail.empty()) page += "<p>" + detail + "</p>";
  return page + "</body></html>\n";
}

std::string headerOrDash(const httplib::Request& req, const char* name) {
  return req.has_header(name) ? req.get_header_value(name) : std::string("-");
}

std::string logLine(const httplib::Request& req, int status) {
  return req.method + " " + req.target + " range=" + headerOrDash(req, "Range") +
         " ua=" + headerOrDash(req, "User-Agent") + " -> " + std::to_string(status);
}

std::string rawQueryOf(const std::string& target) {
  size_t mark = target.find('?');
  return mark == std::string::npos ? std::string() : target.substr(mark + 1);
}

}  // namespace

// What one response will be: status, headers and where its body comes from.
struct DemoServer::Plan {
  int status = 200;
  std::string contentType;
  std::string contentRange;  // empty: no Content-Range header
  bool acceptRanges = false;
  std::shared_ptr<OpenFile> file;  // body from this file...
  std::shared_ptr<std::string> text = std::make_shared<std::string>();  // ...or this text
  uint64_t offset = 0;             // of the body within the file or text
  uint64_t length = 0;
  ResponseSwitches switches;
};

DemoServer::DemoServer() : http_(new httplib::Server) {}
DemoServer::~DemoServer() = default;

bool DemoServer::bind(const ServerOptions& options, std::string& error) {
  char resolved[PATH_MAX];
  struct stat info;
  if (!realpath(options.root.c_str(), resolved) || stat(resolved, &info) != 0 ||
      !S_ISDIR(info.st_mode)) {
    error = "site folder '" + options.root + "' does not exist or is not a folder";
    return false;
  }
  rootRealPath_ = resolved;
  if (!isLoopbackHost(options.host)) {
    error = "refusing to listen on '" + options.host + "': only loopback addresses are served";
    return false;
  }
  if (!options.logFile.empty() && !log_.openFile(options.logFile)) {
    error = "cannot open log file '" + options.logFile + "'";
    return false;
  }
  rules_ = options.rules;

  // Only SO_REUSEADDR: never share the port with another running server.
  http_->set_socket_options([](int sock) {
    int on = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  });
  http_->new_task_queue = [] { return new httplib::ThreadPool(64); };
  http_->set_keep_alive_max_count(100);
  http_->set_write_timeout(30, 0);
  registerRoutes();

  if (options.port == 0) {
    port_ = http_->bind_to_any_port(options.host);
  } else {
    port_ = http_->bind_to_port(options.host, options.port) ? options.port : -1;
  }
  if (port_ <= 0) {
    error = "cannot listen on " + options.host + ":" + std::to_string(options.port) +
            " (address in use or not available)";
    return false;
  }
  return true;
}

bool DemoServer::run() { return http_->listen_after_bind(); }

void DemoServer::stop() {
  stopping_ = true;
  http_->stop();
}

void DemoServer::registerRoutes() {
  auto control = [this](const httplib::Request& req, httplib::Response& res) {
    markLogged(req);  // control requests stay out of the log
    serveControl(req, res);
  };
  http_->Get("/__control/.*", control);
  auto files = [this](const httplib::Request& req, httplib::Response& res) {
    serveFile(req, res);
  };
  http_->Get(".*", files);
  auto notAllowed = [this](const httplib::Request& req, httplib::Response& res) {
    markLogged(req);
    log_.add(logLine(req, 405));
    res.status = 405;
    res.set_header("Allow", "GET, HEAD");
    res.set_content(errorPage(405), "text/html; charset=utf-8");
  };
  http_->Post(".*", notAllowed);
  http_->Put(".*", notAllowed);
  http_->Delete(".*", notAllowed);
  http_->set_logger([this](const httplib::Request& req, const httplib::Response& res) {
    if (!wasLogged(req)) log_.add(logLine(req, res.status));
    loggedRequest = LoggedRequest();
  });
}

void DemoServer::serveControl(const httplib::Request& req, httplib::Response& res) {
  const char* kText = "text/plain; charset=utf-8";
  if (req.path == "/__control/rule") {
    std::string path = req.get_param_value("path");
    ResponseSwitches switches;
    std::string error;
    if (path.empty() || path[0] != '/') {
      res.status = 400;
      res.set_content("the rule needs a path beginning with /\n", kText);
    } else if (!parseSwitchList(req.get_param_value("spec"), switches, error)) {
      res.status = 400;
      res.set_content(error + "\n", kText);
    } else {
      std::lock_guard<std::mutex> lock(rulesMutex_);
      // An empty list drops the path's rule.
      if (switches.empty()) {
        rules_.erase(path);
      } else {
        rules_[path] = switches;
      }
      res.set_content("ok\n", kText);
    }
  } else if (req.path == "/__control/clear") {
    std::lock_guard<std::mutex> lock(rulesMutex_);
    rules_.clear();
    res.set_content("ok\n", kText);
  } else if (req.path == "/__control/log") {
    res.set_content(log_.text(), kText);
  } else if (req.path == "/__control/log/clear") {
    log_.clear();
    res.set_content("ok\n", kText);
  } else {
    res.status = 404;
    res.set_content("unknown control request\n", kText);
  }
}

ResponseSwitches DemoServer::rulesFor(const std::string& path) {
  std::lock_guard<std::mutex> lock(rulesMutex_);
  auto rule = rules_.find(path);
  return rule == rules_.end() ? ResponseSwitches() : rule->second;
}

bool DemoServer::makePlan(const httplib::Request& req, Plan& plan) {
  plan.switches = rulesFor(req.path);
  ResponseSwitches fromQuery;
  std::string error;
  if (!parseQuerySwitches(rawQueryOf(req.target), fromQuery, error)) {
    plan.status = 400;
    plan.contentType = "text/html; charset=utf-8";
    *plan.text = errorPage(400, error);
    plan.length = plan.text->size();
    plan.switches = ResponseSwitches();
    return false;
  }
  plan.switches.overrideWith(fromQuery);
  const ResponseSwitches& sw = plan.switches;

  uint64_t size = 0;
  if (sw.status) {
    plan.status = *sw.status;
    plan.contentType = "text/html; charset=utf-8";
    *plan.text = errorPage(plan.status);
    plan.length = plan.text->size();
    return true;
  }
  if (sw.body) {
    plan.contentType = contentTypeFor(req.path);
    *plan.text = *sw.body;
    size = plan.text->size();
  } else {
    std::string filePath;
    SiteLookup found = lookUpSiteFile(rootRealPath_, req.path, filePath);
    int fd = found == SiteLookup::Found ? open(filePath.c_str(), O_RDONLY | O_CLOEXEC) : -1;
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0) {
      if (fd >= 0) close(fd);
      plan.status = found == SiteLookup::NotFound ? 404 : 403;
      plan.contentType = "text/html; charset=utf-8";
      *plan.text = errorPage(plan.status);
      plan.length = plan.text->size();
      return true;
    }
    plan.file = std::make_shared<OpenFile>(fd);
    plan.contentType = contentTypeFor(filePath);
    size = static_cast<uint64_t>(info.st_size);
  }

  plan.length = size;
  ByteRange range;
  bool ranged = !sw.noRange.value_or(false) && req.has_header("Range") &&
                parseByteRange(req.get_header_value("Range"), range);
  plan.acceptRanges = !sw.noRange.value_or(false);
  if (!ranged) return true;
  if (range.first >= size) {
    plan.status = 416;
    plan.contentRange = "bytes */" + std::to_string(size);
    plan.contentType = "text/html; charset=utf-8";
    plan.file.reset();
    *plan.text = errorPage(416);
    plan.offset = 0;
    plan.length = plan.text->size();
    return true;
  }
  uint64_t last = range.hasLast ? std::min(range.last, size - 1) : size - 1;
  plan.status = 206;
  plan.offset = range.first;
  plan.length = last - range.first + 1;
  plan.contentRange =
      "bytes " + std::to_string(range.first) + "-" + std::to_string(last) + "/" + std::to_string(size);
  return true;
}

void DemoServer::serveFile(const httplib::Request& req, httplib::Response& res) {
  // We answer ranges ourselves; the library would otherwise cut our bodies
  // again and rewrite our status codes.
  const_cast<httplib::Request&>(req).ranges.clear();
  Plan plan;
  makePlan(req, plan);
  markLogged(req);
  log_.add(logLine(req, plan.status));
  bool head = req.method == "HEAD";
  if (plan.switches.needsRawConnection()) {
    sendRaw(req, plan, head, res);
  } else {
    sendWithLibrary(plan, head, res);
  }
}

bool DemoServer::sleepUnlessStopping(uint64_t milliseconds) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!stopping_) {
    auto now = std::chrono::steady_clock::now();
    if (now >= end) return true;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
        end - now, std::chrono::milliseconds(20)));
  }
  return false;
}

// Copies up to `size` body bytes starting at `offset` within the body into `buffer`.
static size_t readBody(const std::shared_ptr<OpenFile>& file, const std::string& text,
                       uint64_t offset, size_t size, char* buffer) {
  if (!file) {
    size_t count = std::min<size_t>(size, text.size() - std::min<size_t>(offset, text.size()));
    std::copy_n(text.data() + offset, count, buffer);
    return count;
  }
  ssize_t count = pread(file->fd(), buffer, size, static_cast<off_t>(offset));
  return count > 0 ? static_cast<size_t>(count) : 0;
}

void DemoServer::sendWithLibrary(const Plan& plan, bool head, httplib::Response& res) {
  res.status = plan.status;
  if (!plan.contentRange.empty()) res.set_header("Content-Range", plan.contentRange);
  if (plan.acceptRanges) res.set_header("Accept-Ranges", "bytes");
  uint64_t stallMs = plan.switches.stallMs.value_or(0);
  if (plan.length == 0 || head) {
    if (!head) sleepUnlessStopping(stallMs);
    // HEAD: the library announces the length of the body it does not send.
    if (head && plan.length > 0) {
      res.set_content_provider(plan.length, plan.contentType.c_str(),
                               [](size_t, size_t, httplib::DataSink&) { return false; });
    } else {
      res.set_content("", plan.contentType.c_str());
    }
    return;
  }
  auto buffer = std::make_shared<std::vector<char>>(kChunkSize);
  auto file = plan.file;
  auto text = plan.text;
  uint64_t start = plan.offset;
  res.set_content_provider(
      plan.length, plan.contentType.c_str(),
      [this, buffer, file, text, start, stallMs](size_t offset, size_t length,
                                                 httplib::DataSink& sink) {
        if (offset == 0 && stallMs > 0 && !sleepUnlessStopping(stallMs)) return false;
        if (stopping_) return false;
        size_t count = readBody(file, *text, start + offset, std::min(length, kChunkSize),
                                buffer->data());
        // A file that shrank under us: end the connection rather than send a
        // body shorter than announced on a kept-alive connection.
        if (count == 0) return false;
        return sink.write(buffer->data(), count);
      });
}

void DemoServer::sendRaw(const httplib::Request& req, const Plan& plan, bool head,
                         httplib::Response& res) {
  // Whatever happens here, the library's own response must not follow ours
  // on the same connection.
  res.status = plan.status;
  res.set_header("Connection", "close");
  int sock = findConnectionSocket(req.remote_addr, req.remote_port, req.local_port);
  if (sock < 0) {
    res.status = 500;
    res.set_content(errorPage(500, "connection not found"), "text/html; charset=utf-8");
    return;
  }
  const ResponseSwitches& sw = plan.switches;
  std::string headText = "HTTP/1.1 " + std::to_string(plan.status) + " " +
                         reasonPhrase(plan.status) + "\r\nContent-Type: " + plan.contentType + "\r\n";
  if (!sw.noLength.value_or(false)) headText += "Content-Length: " + std::to_string(plan.length) + "\r\n";
  if (!plan.contentRange.empty()) headText += "Content-Range: " + plan.contentRange + "\r\n";
  if (plan.acceptRanges) headText += "Accept-Ranges: bytes\r\n";
  headText += "Connection: close\r\n\r\n";

  uint64_t limit = head ? 0 : plan.length;
  if (sw.reset) {
    limit = std::min(limit, *sw.reset);
  } else if (sw.cut) {
    limit = std::min(limit, *sw.cut);
  }
  bool ok = sendAll(sock, headText.data(), headText.size());
  if (ok && !head) ok = sleepUnlessStopping(sw.stallMs.value_or(0));
  std::vector<char> buffer(std::min<uint64_t>(kChunkSize, std::max<uint64_t>(limit, 1)));
  uint64_t sent = 0;
  while (ok && sent < limit && !stopping_) {
    size_t count = readBody(plan.file, *plan.text, plan.offset + sent,
                            static_cast<size_t>(std::min<uint64_t>(buffer.size(), limit - sent)),
                            buffer.data());
    ok = count > 0 && sendAll(sock, buffer.data(), count);
    sent += count;
  }
  if (sw.reset) {
    resetConnection(sock);
  } else {
    closeConnection(sock);
  }
}

bool parseRuleArgument(const std::string& argument, std::string& path, ResponseSwitches& switches,
                       std::string& error) {
  size_t eq = argument.find('=');
  if (eq == std::string::npos) {
    error = "a rule is PATH=SWITCHES, got '" + argument + "'";
    return false;
  }
  path = percentDecode(argument.substr(0, eq));
  if (path.empty() || path[0] != '/') {
    error = "a rule's path must begin with /, got '" + path + "'";
    return false;
  }
  return parseSwitchList(argument.substr(eq + 1), switches, error);
}

bool isLoopbackHost(const std::string& host) {
  if (host == "localhost" || host == "::1") return true;
  in_addr address;
  return inet_pton(AF_INET, host.c_str(), &address) == 1 &&
         (ntohl(address.s_addr) >> 24) == 127;
}

}  // namespace demo
