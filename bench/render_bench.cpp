// Drawing the main window: the time of one full frame of 440 x 540, and the
// number of redraws while a long download drives the ring and the percent
// label the way the progress routine does.
//
// Reference: copying one finished frame (memcpy), the floor any renderer of
// this buffer pays to hand it to the screen.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/text.h"
#include "skin/window.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace {

using Clock = std::chrono::steady_clock;

double medianMicros(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The median time of a full redraw of the installing page.
double frameMicros(skin::Window* w, int frames) {
  std::vector<double> times;
  times.reserve(size_t(frames));
  for (int i = 0; i < frames; ++i) {
    ui::setProgressPosition(150 + (i & 1));  // a change, so the frame is drawn again
    const auto t0 = Clock::now();
    w->paint();
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  return medianMicros(times);
}

double copyMicros(const skin::Image& frame, int rounds) {
  std::vector<uint32_t> target(frame.pixels.size());
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    const auto t0 = Clock::now();
    std::memcpy(target.data(), frame.pixels.data(), target.size() * sizeof(uint32_t));
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
  }
  volatile uint32_t sink = target[target.size() / 2];
  (void)sink;
  return medianMicros(times);
}

}  // namespace

int main() {
  if (!ui::loadMainWindow(FormHandlers())) {
    std::fprintf(stderr, "render_bench: the main window could not be built\n");
    return 1;
  }
  skin::Window* w = ui::mainSkinWindowForTesting();
  ui::setCurrentPage(kPageInstalling);
  ui::setLabelText(Ctl::标签_进度, "50%");
  w->paint();
  frameMicros(w, 50);  // warm the caches: glyphs, ring angles

  const int frames = 2000;
  const double frame = frameMicros(w, frames);
  const double copy = copyMicros(w->frame(), frames);
  std::printf("render: full 440x540 frame, median of %d: %.1f us (goal <= 1000 us)   "
              "frame copy: %.1f us   ratio %.1f\n",
              frames, frame, copy, copy > 0 ? frame / copy : 0.0);

  // A 20,000-chunk download as stage 1 of three drives 0..100 of the 0..300
  // range, with the percent label, and the window is painted after every
  // chunk as the pumped events would do.
  const int64_t chunk = 10240, chunks = 20000, total = chunk * chunks;
  ui::setProgressPosition(0);
  ui::setLabelText(Ctl::标签_进度, "0%");
  w->paint();
  const uint64_t before = w->redrawCount();
  int changes = 0;
  int32_t lastPos = ui::progressPosition();
  Text lastLabel = ui::labelText(Ctl::标签_进度);
  char buf[32];
  const auto t0 = Clock::now();
  for (int64_t i = 1; i <= chunks; ++i) {
    const int64_t received = i * chunk;
    const int32_t pos = int32_t(received * 100 / total);
    const int len = formatDecimal(pos * 100 / 300, buf);
    buf[len] = '%';
    buf[len + 1] = 0;
    ui::setProgressPosition(pos);
    ui::setLabelText(Ctl::标签_进度, buf);
    if (pos != lastPos || lastLabel != buf) ++changes;
    lastPos = pos;
    lastLabel = buf;
    w->paint();
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  const uint64_t redraws = w->redrawCount() - before;
  std::printf("render: %lld-chunk download: %llu redraws for %d visible changes (goal: equal, no redraw "
              "without a change)   %.1f ms in all, %.2f us per chunk\n",
              static_cast<long long>(chunks), static_cast<unsigned long long>(redraws), changes, ms,
              ms * 1000.0 / double(chunks));
  ui::closeMainWindowForTesting();
  return redraws == uint64_t(changes) ? 0 : 1;
}
