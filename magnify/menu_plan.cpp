// The magnifier's system menu: move, size, the zoom factors, zoom input, reset, measure, hide.
#include "magnify/menu_plan.h"

#include <cstdio>

#include "platform/language.h"

namespace zed::magnify {
namespace {

std::string Text(TextId id) {
    const char* text = LangGetString(id);
    return text != nullptr ? text : "";
}

MenuItem Command(unsigned id, TextId text) { return MenuItem{MenuItem::kCommand, id, Text(text), false, {}}; }
MenuItem Separator() { return MenuItem{MenuItem::kSeparator, 0, "", false, {}}; }

}  // namespace

std::vector<MenuItem> SystemMenuPlan(int max_zoom) {
    const std::string zoom = Text(TextId::Zoom);
    MenuItem factors{MenuItem::kZoomMenu, 0, "&" + zoom, false, {}};
    bool grey = false;
    for (int f : kZoomFactors) {
        // The first four are always there; from 10 on a factor above the largest is greyed, and
        // so is every one after it.
        if (f >= 10 && max_zoom < f) grey = true;
        char text[300];
        std::snprintf(text, sizeof text, "%s &%dx", zoom.c_str(), f);
        factors.items.push_back(MenuItem{MenuItem::kCommand, kCommandZoomBase + static_cast<unsigned>(f), text, grey, {}});
    }
    return {Command(kCommandMove, TextId::Move),
            Command(kCommandSize, TextId::Size),
            Separator(),
            factors,
            Command(kCommandZoomInput, TextId::ZoomInput),
            Command(kCommandResetZoom, TextId::ResetZoom),
            Command(kCommandMeasure, TextId::Measure),
            Separator(),
            Command(kCommandHide, TextId::Hide)};
}

}  // namespace zed::magnify
