#include <unistd.h>

#include <vector>

#include "runtime/module_path.h"

Text moduleFilePath() {
  std::vector<char> buf(4096);
  const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
  if (n <= 0 || size_t(n) >= buf.size()) return Text();
  return Text(buf.data(), size_t(n));
}

Text moduleFileName() {
  const Text path = moduleFilePath();
  const auto slash = path.find_last_of('/');
  return slash == Text::npos ? path : path.substr(slash + 1);
}
