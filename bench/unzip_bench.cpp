// Times our unpack against Info-ZIP unzip on the same archives, in the same
// run: each tool unpacks into a fresh folder a few times, best time counts.
//
//   unzip_bench [--work DIR] [--runs N]
//
// The archives are made once by unzip_bench.py and kept in DIR.
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/zip/zip_unpack.h"

namespace fs = std::filesystem;

namespace {

struct Sample {
  double seconds = 0;
  long peakKiB = 0;
  bool ok = false;
};

// Runs body in a child process so that its time and its peak memory are its
// own, as they are for unzip.
template <typename Body>
Sample inChild(Body body) {
  Sample s;
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) _exit(body() ? 0 : 1);
  int status = 0;
  struct rusage usage = {};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return s;
  s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  s.peakKiB = usage.ru_maxrss;
  s.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return s;
}

Sample runOurs(const fs::path& archive, const fs::path& out) {
  return inChild([&] { return unzipArchive(archive.string(), out.string(), nullptr, nullptr); });
}

Sample runUnzip(const fs::path& archive, const fs::path& out) {
  return inChild([&] {
    execlp("unzip", "unzip", "-o", "-q", archive.c_str(), "-d", out.c_str(), (char*)nullptr);
    return false;
  });
}

bool better(const Sample& s, const Sample& best) {
  return best.seconds == 0 || s.seconds < best.seconds;
}

bool benchArchive(const fs::path& work, const char* name, int runs) {
  fs::path archive = work / name;
  Sample ours, theirs;
  long ourPeak = 0;
  for (int i = 0; i < runs; ++i) {
    fs::path out = work / "out";
    fs::remove_all(out);
    fs::create_directories(out);
    Sample a = runOurs(archive, out);
    fs::remove_all(out);
    fs::create_directories(out);
    Sample b = runUnzip(archive, out);
    fs::remove_all(out);
    if (!a.ok || !b.ok) {
      fprintf(stderr, "%s: %s failed\n", name, a.ok ? "unzip" : "our unpack");
      return false;
    }
    if (better(a, ours)) ours = a;
    if (better(b, theirs)) theirs = b;
    if (a.peakKiB > ourPeak) ourPeak = a.peakKiB;
  }
  printf(
      "%-9s ours %8.3f s   unzip %8.3f s   ratio (unzip/ours) %5.2f   peak RSS ours %6.1f MiB, "
      "unzip %6.1f MiB\n",
      name, ours.seconds, theirs.seconds, theirs.seconds / ours.seconds, ourPeak / 1024.0,
      theirs.peakKiB / 1024.0);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path work = fs::current_path() / "bench-work";
  int runs = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string flag = argv[i];
    if (flag == "--work") work = argv[i + 1];
    if (flag == "--runs") runs = std::atoi(argv[i + 1]);
  }
  std::string make = std::string("python3 '") + UNZIP_BENCH_SCRIPT + "' '" + work.string() + "'";
  if (std::system(make.c_str()) != 0) {
    fprintf(stderr, "could not make the archives\n");
    return 1;
  }
  printf("unpack, best of %d runs into fresh folders\n", runs);
  bool ok = benchArchive(work, "many.zip", runs);
  ok = benchArchive(work, "big.zip", runs > 3 ? 3 : runs) && ok;
  return ok ? 0 : 1;
}
