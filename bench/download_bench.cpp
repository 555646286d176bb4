// Download throughput and memory: DownloadTask against curl, same server,
// same files, same run.
//
//   download_bench BASE_URL OUT_DIR NAME...   measure each served file NAME
//   download_bench --one URL OUT_FILE         one download (the measured child)
//
// Each download runs in a child process so that its peak resident memory is
// its own (wait4's rusage). Our child's progress routine does the display's
// real work per chunk: it parses both texts and computes the percent.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "download/download_task.h"

namespace {

volatile double g_percentSink = 0;

intptr_t displayWork(intptr_t totalText, intptr_t receivedText, intptr_t, intptr_t) {
  const int64_t total = textToInt64(reinterpret_cast<const char*>(totalText));
  const int64_t received = textToInt64(reinterpret_cast<const char*>(receivedText));
  g_percentSink = total == 0 ? 0.0 : double(received) * 100.0 / double(total);
  return 0;
}

int downloadOnce(const char* url, const char* outFile) {
  DownloadTask task;
  Text message;
  const DownloadResult result = task.download(url, outFile, displayWork, 0, false, message);
  return result == DownloadResult::Completed ? 0 : 1;
}

struct Measure {
  double seconds = 0;
  long peakKiB = 0;
  bool ok = false;
};

// Runs argv as a child; wall time and the child's own peak memory.
Measure runChild(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  Measure m;
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return m;
  m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  m.peakKiB = usage.ru_maxrss;
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return m;
}

long fileSize(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  return size;
}

// Best of a few alternating runs: the least disturbed figure for each side.
constexpr int kRounds = 5;

bool measureFile(const std::string& self, const std::string& base, const std::string& outDir,
                 const std::string& name) {
  const std::string url = base + "/" + name;
  const std::string ours = outDir + "/ours-" + name;
  const std::string theirs = outDir + "/curl-" + name;
  Measure best[2];
  for (int round = 0; round < kRounds; ++round) {
    // Alternate who goes first: the one after pays for the other's writeback.
    Measure a, b;
    if (round % 2 == 0) {
      a = runChild({self, "--one", url, ours});
      b = runChild({"curl", "-s", "-f", "-o", theirs, url});
    } else {
      b = runChild({"curl", "-s", "-f", "-o", theirs, url});
      a = runChild({self, "--one", url, ours});
    }
    if (!a.ok || !b.ok) {
      std::fprintf(stderr, "%s: download failed (ours %d, curl %d)\n", name.c_str(), a.ok, b.ok);
      return false;
    }
    if (round == 0 || a.seconds < best[0].seconds) best[0] = a;
    if (round == 0 || b.seconds < best[1].seconds) best[1] = b;
  }
  const long bytes = fileSize(ours);
  if (bytes <= 0 || bytes != fileSize(theirs)) {
    std::fprintf(stderr, "%s: sizes differ\n", name.c_str());
    return false;
  }
  const double mib = double(bytes) / (1024.0 * 1024.0);
  const double oursRate = mib / best[0].seconds;
  const double curlRate = mib / best[1].seconds;
  std::printf("%-14s %8.0f MiB  ours %8.1f MiB/s  curl %8.1f MiB/s  ratio %.3f (goal >= 0.95)"
              "  peak RSS ours %6.1f MiB  curl %6.1f MiB\n",
              name.c_str(), mib, oursRate, curlRate, oursRate / curlRate,
              double(best[0].peakKiB) / 1024.0, double(best[1].peakKiB) / 1024.0);
  std::remove(ours.c_str());
  std::remove(theirs.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--one") return downloadOnce(argv[2], argv[3]);
  if (argc < 4) {
    std::fprintf(stderr, "usage: download_bench BASE_URL OUT_DIR NAME...\n"
                         "       download_bench --one URL OUT_FILE\n");
    return 2;
  }
  std::printf("download_bench: DownloadTask (10240-byte chunks, progress per chunk) vs curl -o,"
              " best of %d\n", kRounds);
  // The measured child is this program again.
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof(self) - 1);
  if (n <= 0) return 2;
  self[n] = 0;
  bool ok = true;
  for (int i = 3; i < argc; ++i) ok = measureFile(self, argv[1], argv[2], argv[i]) && ok;
  std::printf("memory goal: our peak RSS flat across file sizes\n");
  return ok ? 0 : 1;
}
