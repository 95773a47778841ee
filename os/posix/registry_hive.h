// The POSIX registry store's hive: a key tree in memory and its REGEDIT4-style text file.
#ifndef ZEDLL_OS_POSIX_REGISTRY_HIVE_H
#define ZEDLL_OS_POSIX_REGISTRY_HIVE_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "zedll/platform_types.h"

namespace zed::os::hive {

/// Windows keeps keys at most 512 levels below a root; deeper paths are refused on creation and
/// skipped as malformed when read, so that a damaged hive cannot grow without bound.
constexpr std::size_t kMaxKeyDepth = 512;

/// Names of keys and values compare with ASCII letters folded; the stored spelling is kept.
bool SameName(std::string_view a, std::string_view b);

struct Value {
    std::string name;  // "" is the unnamed (default) value
    DWORD type = 0;
    std::string data;  // the bytes exactly as stored
};

struct Key {
    std::string name;
    std::vector<Value> values;                  // in the order of their first writing
    std::vector<std::unique_ptr<Key>> subkeys;  // sorted by folded name, as Windows lists them

    Key() = default;
    /// Frees the whole subtree without recursion: a tree of any depth cannot exhaust the stack.
    ~Key();
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    /// Drops every value and subkey.
    void Clear();
    Key* FindSubkey(std::string_view n) const;
    /// The existing subkey or a new one, placed in sorted order.
    Key* AddSubkey(std::string_view n);
    /// Removes a subkey; false when it is missing.
    bool RemoveSubkey(std::string_view n);
    Value* FindValue(std::string_view n);
    void SetValue(std::string_view n, DWORD type, std::string data);
    bool RemoveValue(std::string_view n);

private:
    // Folded value name -> position, covering values[0, indexed_): keys with many values find
    // theirs in constant time instead of scanning. Rebuilt after a removal.
    std::unordered_map<std::string, std::size_t> value_index_;
    std::size_t indexed_ = 0;
};

/// The hive file of one root:
///
///   REGEDIT4
///   <empty line>
///   [HKEY_CURRENT_USER]               one section per key, depth first, empty keys included
///   "name"="text"                     REG_SZ ending in its one terminator
///   "count"=dword:0000002a            REG_DWORD of 4 bytes
///   "blob"=hex:01,02                  REG_BINARY
///   @=hex(7):61,00,00                 any other type or size (hex(N), N in hexadecimal)
///   <empty line>
///   [HKEY_CURRENT_USER\Software]
///
/// Lines end with LF (a CR before it is ignored on reading). In names and texts "\" is written
/// "\\", a double quote "\"" and bytes below 0x20 or 0x7F as "\xHH", so any bytes round-trip; the
/// file also imports into Windows' own registry editor when it holds plain texts.
std::string Serialize(const Key& root, const char* root_name);
/// Rebuilds the tree from Serialize's text. Malformed lines are skipped; false when the header
/// is missing (the tree is then empty).
bool Parse(std::string_view text, Key* root);

/// Splits a key path at "\"; empty components (doubled or trailing "\") are dropped.
std::vector<std::string> SplitPath(std::string_view path);
/// A key name the store accepts: 1 to 255 bytes, no control characters (no "\": SplitPath
/// already cut there).
bool ValidKeyName(std::string_view name);

}  // namespace zed::os::hive

namespace zed::os::registry_testing {
/// Called between writing the temporary hive file and renaming it over the hive (null: none), so
/// that a test can end the process at the worst moment.
void SetBeforeRenameHook(void (*hook)());
/// Hive files read from disk since the process started: a read with nothing changed reads none.
long HiveLoads();
}  // namespace zed::os::registry_testing

#endif
