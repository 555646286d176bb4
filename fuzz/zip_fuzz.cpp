// Unpacks any input as a ZIP archive into a scratch folder that has a
// sentinel file beside it. Aborts when the sentinel changes, when anything
// appears outside the target folder, or when the report and the progress
// values contradict each other.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/zip/zip_unpack.h"

namespace fs = std::filesystem;

namespace {

const size_t kMaxInput = 1 << 20;
const uint64_t kMaxWritten = 16 << 20;  // a zip bomb stops here
const char kSentinel[] = "sentinel: must survive every input";

fs::path gScratch;
fs::path gTarget;

void fail(const char* what, const std::string& detail = "") {
  fprintf(stderr, "zip_fuzz: %s %s\n", what, detail.c_str());
  abort();
}

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void removeScratch() {
  std::error_code ec;
  fs::remove_all(gScratch, ec);
}

void record(void* context, int32_t percent) {
  static_cast<std::vector<int32_t>*>(context)->push_back(percent);
}

void checkProgress(const std::vector<int32_t>& progress, const UnzipReport& report, bool ok) {
  if (progress.empty()) fail("no progress event");
  if (progress.back() != 0 && progress.back() != 100) fail("last progress neither 0 nor 100");
  for (size_t i = 0; i < progress.size(); ++i) {
    if (progress[i] < 0 || progress[i] > 100) fail("progress out of range");
    if (i > 0 && progress[i] < progress[i - 1]) fail("progress went back");
  }
  size_t handled = report.written + report.failed.size();
  if (handled > size_t(report.entries)) fail("more entries handled than counted");
  if (ok && (!report.failed.empty() || report.written != report.entries))
    fail("success with failures");
}

void checkNothingOutside() {
  if (readFile(gScratch / "sentinel.txt") != kSentinel) fail("sentinel changed");
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(gScratch, ec);
       it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (ec) fail("cannot list the scratch folder");
    std::string rel = fs::relative(it->path(), gScratch).generic_string();
    if (rel == "sentinel.txt" || rel == "a" || rel == "a/b" || rel == "a/b/out" ||
        rel.rfind("a/b/out/", 0) == 0)
      continue;
    fail("written outside the target:", rel);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gScratch = fs::temp_directory_path() / ("zip_fuzz." + std::to_string(getpid()));
  gTarget = gScratch / "a" / "b" / "out";  // "../../x" still lands inside the scratch folder
  fs::create_directories(gScratch / "a" / "b");
  std::ofstream(gScratch / "sentinel.txt", std::ios::binary) << kSentinel;
  atexit(removeScratch);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  std::error_code ec;
  fs::remove_all(gTarget, ec);
  UnzipOptions limits;
  limits.maxTotalBytes = kMaxWritten;
  UnzipReport report;
  std::vector<int32_t> progress;
  bool ok = unzipFromMemory(data, size, gTarget.string(), record, &progress, &report, limits);
  checkProgress(progress, report, ok);
  checkNothingOutside();
  return 0;
}
