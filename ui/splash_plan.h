// The splash screen's plan: its dialog template, the percentage text, the centring and the
// minimum display time.
#ifndef ZEDLL_UI_SPLASH_PLAN_H
#define ZEDLL_UI_SPLASH_PLAN_H

#include <cstdint>

#include "zedll/win32/dlg_template.h"

namespace zed::ui {

constexpr int kSplashBitmapId = 30000;
constexpr int kSplashPercentId = 30001;
constexpr int kSplashProgressId = 30002;
/// The remaining display time is polled in steps of this many milliseconds.
constexpr unsigned kSplashPollMs = 200;

/// Font, header and the three controls (picture, percentage text, progress bar) in that order.
/// False when the builder refused any of them.
bool BuildSplash(WIN_DlgTemplate& dlg, unsigned short bitmap);

/// "42 %": the number, a space and a percent sign. `out` holds 16 bytes.
void FormatPercent(int percent, char* out);

/// When the splash may go, from the tick counter (milliseconds, wrapping at 2^32).
class SplashClock {
public:
    SplashClock() = default;
    /// A minimum beyond the counter's range waits the longest the counter can tell.
    SplashClock(uint32_t start, uint32_t minimum_seconds)
        : start_(start),
          minimum_(minimum_seconds > UINT32_MAX / 1000 ? UINT32_MAX : minimum_seconds * 1000) {}
    /// The counter has moved on since the splash appeared.
    bool Moved(uint32_t now) const { return now != start_; }
    /// The minimum time has passed.
    bool Elapsed(uint32_t now) const { return now - start_ >= minimum_; }
    uint32_t minimum_ms() const { return minimum_; }

private:
    uint32_t start_ = 0;
    uint32_t minimum_ = 0;
};

}  // namespace zed::ui

#endif
