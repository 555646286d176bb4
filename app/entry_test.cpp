// Every way out of the program runs the exit clean-up exactly once and ends
// with code 0. Each case runs in a child process (a death test), with the
// real window under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "app/entry.h"
#include "app/install_state.h"
#include "runtime/app_runtime.h"

namespace {

// Registered after exitCleanup, so it sees the state the clean-up left.
void reportCleanup() {
  const InstallState& s = installState();
  std::fprintf(stderr, "cleanup runs=%d task=%s texts=%s\n", exitCleanupRunsForTesting(),
               s.downloadTask ? "alive" : "gone",
               s.serverHost.empty() && s.customDir.empty() && s.defaultDir.empty() ? "released" : "kept");
  std::fflush(stderr);
}

void fillState() {
  InstallState& s = installState();
  s.serverHost = "127.0.0.1";
  s.customDir = "D:\\Games\\LanJing";
  s.customDir = "X:\\LanJing";  // assigned again: holds only the last value
  s.defaultDir = "C:\\LanJing";
}

void exitNow() {
  fillState();
  registerExitRoutine(reportCleanup);
  exitProgram(0);
}

void CALLBACK exitFromTimer(HWND, UINT, UINT_PTR, DWORD) { exitProgram(0); }
void exitLater() {
  fillState();
  registerExitRoutine(reportCleanup);
  SetTimer(nullptr, 0, 50, exitFromTimer);
}

void closeWindowLater() {
  fillState();
  registerExitRoutine(reportCleanup);
  PostMessageW(static_cast<HWND>(ui::mainWindowHandle()), WM_CLOSE, 0, 0);
}

void runProgramWith(void (*onCreated)()) {
  FormHandlers h;
  h.onMainWindowCreated = onCreated;
  int code = entryRoutine(h);
  // Only the last-window way gets here; the program then exits as main does.
  std::fprintf(stderr, "loop returned %d, final runs=%d\n", code, exitCleanupRunsForTesting());
  std::fflush(stderr);
  exitProgram(code);
}

}  // namespace

TEST(ExitCleanup, RunsOnceOnAnExitFromInsideTheCreationHandler) {
  EXPECT_EXIT(runProgramWith(exitNow), ::testing::ExitedWithCode(0),
              "cleanup runs=1 task=gone texts=released");
}

TEST(ExitCleanup, RunsOnceOnAnExplicitExitFromTheMessageLoop) {
  EXPECT_EXIT(runProgramWith(exitLater), ::testing::ExitedWithCode(0),
              "cleanup runs=1 task=gone texts=released");
}

TEST(ExitCleanup, RunsOnceWhenTheLastWindowGoesAway) {
  EXPECT_EXIT(runProgramWith(closeWindowLater), ::testing::ExitedWithCode(0),
              "cleanup runs=1 task=gone texts=released\nloop returned 0, final runs=1");
}

TEST(InstallStateFields, AssignedAgainHoldsOnlyTheLastValue) {
  InstallState s;
  s.customDir = "D:\\Games\\LanJing";
  s.customDir = "X:\\LanJing";
  EXPECT_EQ(s.customDir, "X:\\LanJing");
  EXPECT_EQ(s.codePage, 0);  // zero-initialised until start-up sets 936
}
