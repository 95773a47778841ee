// Fuzz target: the registry store's hive reader and writer on arbitrary file bytes.
//
// Asserts: the text written from whatever was read reads back to a tree that writes the same text
// again (parse, write, parse, write is a fixed point), every key lies at most 512 levels deep,
// and a file with a header still has one after the round trip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "os/posix/registry_hive.h"

namespace hive = zed::os::hive;

namespace {

// Depth of the deepest key below the root, walked with an explicit stack like the writer.
std::size_t Depth(const hive::Key& root) {
    std::size_t deepest = 0;
    std::vector<std::pair<const hive::Key*, std::size_t>> stack{{&root, 0}};
    while (!stack.empty()) {
        const auto [key, depth] = stack.back();
        stack.pop_back();
        if (depth > deepest) deepest = depth;
        for (const auto& sub : key->subkeys) stack.emplace_back(sub.get(), depth + 1);
    }
    return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    hive::Key first;
    const bool had_header = hive::Parse(text, &first);
    if (!had_header) FUZZ_CHECK(first.values.empty() && first.subkeys.empty());
    FUZZ_CHECK(Depth(first) <= hive::kMaxKeyDepth);

    const std::string once = hive::Serialize(first, "HKEY_CURRENT_USER");
    hive::Key second;
    FUZZ_CHECK(hive::Parse(once, &second));
    const std::string twice = hive::Serialize(second, "HKEY_CURRENT_USER");
    FUZZ_CHECK(once == twice);
    return 0;
}
