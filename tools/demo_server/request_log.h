// The request log: one line per request, kept in memory for the control
// endpoint and appended to a file when one is given.
#pragma once

#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

namespace demo {

class RequestLog {
 public:
  RequestLog() = default;
  ~RequestLog();
  RequestLog(const RequestLog&) = delete;
  RequestLog& operator=(const RequestLog&) = delete;

  bool openFile(const std::string& path);
  void add(const std::string& line);
  std::string text() const;  // every kept line, each ended by "\n"
  void clear();              // the file keeps its lines

 private:
  // A long demo session must not grow without bound: the oldest lines go.
  static constexpr size_t kMaxLines = 100000;
  mutable std::mutex mutex_;
  std::deque<std::string> lines_;
  FILE* file_ = nullptr;
};

}  // namespace demo
