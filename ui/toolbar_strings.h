// The toolbar's string list: item texts one after another, each with its zero, closed by one more.
#ifndef ZEDLL_UI_TOOLBAR_STRINGS_H
#define ZEDLL_UI_TOOLBAR_STRINGS_H

namespace zed {

/// The list grows in steps of this many bytes once it is full.
constexpr int kToolbarStringStep = 1000;

/// Appends text to the list held in `list` (a process-heap block, or null for none yet), with
/// `length` bytes used (the closing zero not counted) and `capacity` bytes allocated.
///
///   "File\0Edit\0" "\0"
///    ^ list        ^ list + length: the closing zero
///
/// A first text gets a block of its length + 2; when length + text + 2 reaches the capacity the
/// block grows by kToolbarStringStep. Returns the list, or null (list, length and capacity
/// unchanged) when text is null or the heap refuses. The caller frees with FreeToolbarStrings.
char* AppendToolbarString(char*& list, int& length, int& capacity, const char* text);

/// Releases the list and sets all three to 0.
void FreeToolbarStrings(char*& list, int& length, int& capacity);

}  // namespace zed

#endif
