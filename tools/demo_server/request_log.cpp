#include "tools/demo_server/request_log.h"

namespace demo {

RequestLog::~RequestLog() {
  if (file_) fclose(file_);
}

bool RequestLog::openFile(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) fclose(file_);
  file_ = fopen(path.c_str(), "a");
  return file_ != nullptr;
}

void RequestLog::add(const std::string& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.push_back(line);
  if (lines_.size() > kMaxLines) lines_.pop_front();
  if (file_) {
    fprintf(file_, "%s\n", line.c_str());
    fflush(file_);
  }
}

std::string RequestLog::text() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string all;
  for (const std::string& line : lines_) all += line + "\n";
  return all;
}

void RequestLog::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.clear();
}

}  // namespace demo
