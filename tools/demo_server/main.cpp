// demo-server --root DIR [--host 127.0.0.1] [--port 5001] [--log FILE] [--rule 'PATH=SWITCHES']...
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <pthread.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "tools/demo_server/demo_server.h"

namespace {

const char kUsage[] =
    "usage: demo-server --root DIR [--host 127.0.0.1] [--port 5001] [--log FILE]\n"
    "                   [--rule 'PATH=SWITCHES']...\n"
    "SWITCHES is a comma-separated list of status=N, cut=N, reset=N, stall=MS,\n"
    "nolength=1, norange=1, body=TEXT; the same switches work per request in\n"
    "the query string. Port 0 picks a free port.\n";

bool parsePort(const std::string& text, int& port) {
  char* end = nullptr;
  long value = strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 0 || value > 65535) return false;
  port = static_cast<int>(value);
  return true;
}

bool parseArguments(int argc, char** argv, demo::ServerOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (name == "--help" || name == "-h") {
      fputs(kUsage, stdout);
      exit(0);
    }
    if (i + 1 >= argc) {
      error = name.rfind("--", 0) == 0 ? name + " needs a value" : "unexpected argument '" + name + "'";
      return false;
    }
    std::string value = argv[++i];
    if (name == "--root") {
      options.root = value;
    } else if (name == "--host") {
      options.host = value;
    } else if (name == "--port") {
      if (!parsePort(value, options.port)) {
        error = "bad port '" + value + "'";
        return false;
      }
    } else if (name == "--log") {
      options.logFile = value;
    } else if (name == "--rule") {
      std::string path;
      demo::ResponseSwitches switches;
      if (!demo::parseRuleArgument(value, path, switches, error)) return false;
      options.rules[path] = switches;
    } else {
      error = "unknown option '" + name + "'";
      return false;
    }
  }
  if (options.root.empty()) {
    error = "--root DIR is required";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  demo::ServerOptions options;
  std::string error;
  if (!parseArguments(argc, argv, options, error)) {
    fprintf(stderr, "demo-server: %s\n%s", error.c_str(), kUsage);
    return 2;
  }

  // Signals are taken by one waiting thread, not by a handler that would
  // interrupt a worker; every thread started later inherits this mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  demo::DemoServer server;
  if (!server.bind(options, error)) {
    fprintf(stderr, "demo-server: %s\n", error.c_str());
    return 1;
  }
  std::atomic<bool> finished{false};
  std::thread([&server, &finished, stopSignals] {
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    // Connections kept alive by idle clients hold the workers for their
    // keep-alive time; do not make the caller wait for that.
    for (int i = 0; i < 50 && !finished; ++i) usleep(20000);
    if (!finished) {
      printf("demo-server: stopped\n");
      fflush(stdout);
      _exit(0);
    }
  }).detach();

  printf("demo-server: serving %s on http://%s:%d/\n", options.root.c_str(), options.host.c_str(),
         server.port());
  fflush(stdout);
  bool ok = server.run();
  finished = true;
  printf("demo-server: stopped\n");
  return ok ? 0 : 1;
}
