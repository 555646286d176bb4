// The progress display against the real control model of the main window:
// what the bar and the percent label show after each call.
#include "download/progress_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/main_window.h"

namespace {

struct Step {
  int stage;             // 1..3: a download stage; 0: an unpacking event
  const char* total;     // download stages: the two texts the download passes
  const char* received;
  int32_t unzipValue;    // unpacking event: the archive's percentage
  int32_t bar;           // expected bar position afterwards
  const char* label;     // expected label text afterwards
};

struct DisplayCase {
  const char* name;
  std::vector<Step> steps;
};

const DisplayCase kCases[] = {
    {"stage1_third", {{1, "3", "1", 0, 33, "11%"}}},
    {"stage2_complete", {{2, "1000", "1000", 0, 200, "66%"}}},
    {"stage3_complete", {{3, "1000", "1000", 0, 300, "100%"}}},
    {"stage3_one_short_shows_99", {{3, "1000", "999", 0, 299, "99%"}}},
    // the server reported no length: the bar stays at the stage's start
    {"stage3_without_length", {{3, "0", "10240", 0, 200, "66%"}, {3, "0", "20480", 0, 200, "66%"}}},
    {"texts_that_are_not_numbers", {{2, "abc", "10240", 0, 100, "33%"}}},
    // more than announced: the bar clamps, the label follows what it shows
    {"stage1_more_than_announced", {{1, "100", "250", 0, 250, "83%"}}},
    {"stage3_more_than_announced", {{3, "100", "250", 0, 300, "100%"}}},
    // a quotient far beyond 32 bits must not overflow the conversion
    {"stage1_huge_overrun", {{1, "1", "1000000000000", 0, 300, "100%"}}},
    {"unzip_shows_its_own_percentage", {{0, nullptr, nullptr, 57, 57, "57%"}}},
    {"unzip_after_stage3_drops_the_bar",
     {{3, "1000", "1000", 0, 300, "100%"}, {0, nullptr, nullptr, 100, 100, "100%"}}},
};

intptr_t address(const char* text) { return reinterpret_cast<intptr_t>(text); }

void apply(const Step& step) {
  switch (step.stage) {
    case 0: onUnzipProgress(step.unzipValue); return;
    case 1: EXPECT_EQ(onDownloadProgress1(address(step.total), address(step.received), 10, 0), 0); return;
    case 2: EXPECT_EQ(onDownloadProgress2(address(step.total), address(step.received), 10, 0), 0); return;
    case 3: EXPECT_EQ(onDownloadProgress3(address(step.total), address(step.received), 10, 0), 0); return;
  }
}

// One window for all cases: making it is slow under Wine.
class ProgressDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(ui::loadMainWindow(FormHandlers()));
    ui::setCurrentPage(kPageInstalling);
  }
  static void TearDownTestSuite() { ui::closeMainWindowForTesting(); }
};

TEST_F(ProgressDisplayTest, BarAndLabelFollowEachCall) {
  for (const DisplayCase& c : kCases) {
    SCOPED_TRACE(c.name);
    // Every install starts with the bar at 0.
    ui::setProgressPosition(0);
    for (size_t i = 0; i < c.steps.size(); ++i) {
      apply(c.steps[i]);
      EXPECT_EQ(ui::progressPosition(), c.steps[i].bar) << "step " << i;
      EXPECT_EQ(ui::labelText(Ctl::标签_进度), c.steps[i].label) << "step " << i;
    }
  }
}

}  // namespace
