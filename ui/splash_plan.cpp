// The splash screen's template and percentage text.
#include "ui/splash_plan.h"

#include <cstdio>

namespace zed::ui {
namespace {

// Popup, visible, clip siblings; centred, set font, 3-D look. Tool window, control parent.
constexpr long kSplashStyle = static_cast<long>(0x94000804 | 0x40);
constexpr long kSplashExStyle = 0x10080;
constexpr long kPercentStyle = 0x50000000;
constexpr long kProgressStyle = 0x50800001;   // child, visible, border, smooth

}  // namespace

bool BuildSplash(WIN_DlgTemplate& dlg, unsigned short bitmap) {
    return dlg.SetDlgFont(8, "MS Sans Serif") == 1 &&
           dlg.CreateHeader(0, 0, 256, 148, kSplashStyle, kSplashExStyle, "SplashLoader") == 0 &&
           dlg.CreateBmp(kSplashBitmapId, bitmap, 0, 0, 280, 200) > 0 &&
           dlg.CreateStatic(kSplashPercentId, 90, 92, 30, 8, kPercentStyle, 0, " 0 % ") > 0 &&
           dlg.CreateControl("msctls_progress32", "Progress1", 0, kSplashProgressId, 33, 104, 145, 8,
                             kProgressStyle, 0) > 0;
}

void FormatPercent(int percent, char* out) { std::snprintf(out, 16, "%d %%", percent); }

}  // namespace zed::ui
