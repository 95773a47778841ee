// The recent-file menu as plain data: where DrawMenu puts its items and what FreeMenu removes.
#ifndef ZEDLL_SETTINGS_RECENT_MENU_PLAN_H
#define ZEDLL_SETTINGS_RECENT_MENU_PLAN_H

#include <cstdint>
#include <string>
#include <vector>

namespace zed {

/// The command id a popup item reports, and the "no id, use the position" insert-before id.
constexpr uint32_t kNoCommand = 0xFFFFFFFFu;

/// Where the drawn items go: at the end (append), before the item with command id before_id, or,
/// when before_id is kNoCommand, at position.
struct RecentInsertPoint {
    bool append;
    uint32_t before_id;
    int position;
};

/// The position of the separator in a target whose items have the command ids ids[0..count)
/// (popups kNoCommand). Append mode, an id that names no item, and a position outside 0..count
/// all give count: what cannot be placed goes to the end, so that it can still be removed.
int RecentDrawPosition(const RecentInsertPoint& point, const uint32_t* ids, int count);

/// The text of entry index: "&%d %s" with index + 1 and the path (null counts as empty).
std::string RecentEntryText(int index, const char* path);

enum class RecentStepKind { Separator, Popup, Entry };

/// One insertion by position: into the target, or, for entries under a caption, into the popup.
struct RecentMenuStep {
    RecentStepKind kind;
    int position;
    bool in_popup;
    uint32_t id;       // entries only
    std::string text;  // popup caption or entry text
};

/// The insertions of one drawing, in order. Everything is kept together from `at` on: separator,
/// then either the popup (caption set, entries inside it from 0) or the entries themselves. In
/// append mode `at` is the item count, which makes this "append at the end".
std::vector<RecentMenuStep> PlanRecentDraw(int at, const char* caption,
                                           const std::vector<std::string>& paths,
                                           uint32_t first_command);

/// The positions to delete, one after the other, to undo the last drawing of items_drawn items.
/// caption_position >= 0: the position of the first item whose text is the caption; the item
/// before it goes twice (separator, then the popup that moved into its place); a caption found
/// at 0 has no separator before it and nothing is deleted. Otherwise, with drawn_at < 0 (append
/// mode), the last item of a target of item_count items, items_drawn times; with drawn_at >= 0,
/// the item at drawn_at items_drawn times. Never a position outside the target.
std::vector<int> PlanRecentFree(int items_drawn, int drawn_at, int item_count,
                                int caption_position, bool has_caption);

}  // namespace zed

#endif
