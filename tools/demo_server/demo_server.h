// The demo product server: serves a folder over HTTP/1.1 and can be told,
// per path or per request, to misbehave in the ways real servers do.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "tools/demo_server/request_log.h"
#include "tools/demo_server/response_switches.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace demo {

struct ServerOptions {
  std::string root;
  std::string host = "127.0.0.1";
  int port = 5001;  // 0 picks a free port
  std::string logFile;
  std::map<std::string, ResponseSwitches> rules;  // exact decoded path -> switches
};

class DemoServer {
 public:
  DemoServer();
  ~DemoServer();
  DemoServer(const DemoServer&) = delete;
  DemoServer& operator=(const DemoServer&) = delete;

  // Checks the options and binds the listening socket. On failure returns
  // false and explains why in `error`.
  bool bind(const ServerOptions& options, std::string& error);
  int port() const { return port_; }
  // Serves until stop() is called from another thread.
  bool run();
  void stop();

 private:
  struct Plan;
  void registerRoutes();
  void serveFile(const httplib::Request& req, httplib::Response& res);
  void serveControl(const httplib::Request& req, httplib::Response& res);
  bool makePlan(const httplib::Request& req, Plan& plan);
  void sendWithLibrary(const Plan& plan, bool head, httplib::Response& res);
  void sendRaw(const httplib::Request& req, const Plan& plan, bool head, httplib::Response& res);
  ResponseSwitches rulesFor(const std::string& path);
  bool sleepUnlessStopping(uint64_t milliseconds);

  std::unique_ptr<httplib::Server> http_;
  std::string rootRealPath_;
  int port_ = 0;
  RequestLog log_;
  std::mutex rulesMutex_;
  std::map<std::string, ResponseSwitches> rules_;
  std::atomic<bool> stopping_{false};
};

// Parses "PATH=SWITCHES" as given to --rule; PATH is percent-decoded.
bool parseRuleArgument(const std::string& argument, std::string& path, ResponseSwitches& switches,
                       std::string& error);

// True for 127.0.0.0/8, ::1 and "localhost".
bool isLoopbackHost(const std::string& host);

}  // namespace demo
