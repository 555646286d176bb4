#include "runtime/app_runtime.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string g_trace;
void first() { g_trace += "1"; }
void second() { g_trace += "2"; }
void exitsAgain() {
  g_trace += "x";
  exitProgram(0);  // an exit from inside an exit routine must not recurse
}

class ExitRoutines : public ::testing::Test {
 protected:
  void SetUp() override {
    resetExitRoutinesForTesting();
    g_trace.clear();
  }
};

}  // namespace

TEST_F(ExitRoutines, RunInOrderRegisteredAndOnlyOnce) {
  registerExitRoutine(second);
  registerExitRoutine(first);
  registerExitRoutine(second);  // already there: not appended again
  runExitRoutines();
  runExitRoutines();
  EXPECT_EQ(g_trace, "21");
}

TEST_F(ExitRoutines, ExplicitExitRunsThemOnceAndEndsWithTheCode) {
  EXPECT_EXIT(
      {
        registerExitRoutine(first);
        registerExitRoutine(exitsAgain);
        exitProgram(0);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(ExitRoutines, MessageLoopWithoutWindowsRunsThemAndReturnsZero) {
  registerExitRoutine(first);
  EXPECT_EQ(runMessageLoop(), 0);
  EXPECT_EQ(g_trace, "1");
}
