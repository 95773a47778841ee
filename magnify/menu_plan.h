// The magnifier's system menu as a plan: the items in order with their identifiers, texts and
// grey states, rebuilt whenever the largest zoom factor may have changed.
#ifndef ZEDLL_MAGNIFY_MENU_PLAN_H
#define ZEDLL_MAGNIFY_MENU_PLAN_H

#include <string>
#include <vector>

namespace zed::magnify {

constexpr unsigned kCommandHide = 1000;
constexpr unsigned kCommandZoomBase = 1000;   // + the factor
constexpr unsigned kCommandZoomInput = 2000;
constexpr unsigned kCommandMeasure = 3000;
constexpr unsigned kCommandResetZoom = 3100;
constexpr unsigned kCommandMove = 0xF010;     // SC_MOVE
constexpr unsigned kCommandSize = 0xF000;     // SC_SIZE

/// The zoom factors of the menu.
constexpr int kZoomFactors[15] = {1, 2, 4, 7, 10, 15, 20, 30, 40, 50, 60, 70, 80, 90, 100};

struct MenuItem {
    enum Kind { kCommand, kSeparator, kZoomMenu } kind;
    unsigned id;
    std::string text;
    bool grey;
    std::vector<MenuItem> items;   // the zoom menu's factors
};

/// The items after the system menu has been emptied, with the library's texts.
std::vector<MenuItem> SystemMenuPlan(int max_zoom);

}  // namespace zed::magnify

#endif
