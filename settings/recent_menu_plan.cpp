// Placement of the recent-file items and the deletions that undo it.
#include "settings/recent_menu_plan.h"

#include <cstdio>

namespace zed {

int RecentDrawPosition(const RecentInsertPoint& point, const uint32_t* ids, int count) {
    if (count < 0) count = 0;
    if (point.append) return count;
    if (point.before_id != kNoCommand) {
        if (ids == nullptr) return count;
        for (int i = 0; i < count; ++i) {
            if (ids[i] == point.before_id) return i;
        }
        return count;
    }
    return point.position >= 0 && point.position <= count ? point.position : count;
}

std::string RecentEntryText(int index, const char* path) {
    char number[16];
    std::snprintf(number, sizeof number, "&%d ", index + 1);
    return std::string(number) + (path != nullptr ? path : "");
}

std::vector<RecentMenuStep> PlanRecentDraw(int at, const char* caption,
                                           const std::vector<std::string>& paths,
                                           uint32_t first_command) {
    std::vector<RecentMenuStep> steps;
    if (at < 0) at = 0;
    steps.push_back({RecentStepKind::Separator, at, false, 0, std::string()});
    const bool popup = caption != nullptr;
    if (popup) steps.push_back({RecentStepKind::Popup, at + 1, false, 0, caption});
    for (size_t i = 0; i < paths.size(); ++i) {
        const int index = static_cast<int>(i);
        steps.push_back({RecentStepKind::Entry, popup ? index : at + 1 + index, popup,
                         first_command + static_cast<uint32_t>(i),
                         RecentEntryText(index, paths[i].c_str())});
    }
    return steps;
}

std::vector<int> PlanRecentFree(int items_drawn, int drawn_at, int item_count,
                                int caption_position, bool has_caption) {
    std::vector<int> positions;
    if (items_drawn <= 0 || item_count <= 0) return positions;
    if (has_caption) {
        if (caption_position >= 1 && caption_position < item_count) {
            positions.push_back(caption_position - 1);
            positions.push_back(caption_position - 1);
        }
        return positions;
    }
    int left = item_count;
    for (int i = 0; i < items_drawn && left > 0; ++i, --left) {
        if (drawn_at < 0) {
            positions.push_back(left - 1);
        } else if (drawn_at < left) {
            positions.push_back(drawn_at);
        } else {
            break;
        }
    }
    return positions;
}

}  // namespace zed
