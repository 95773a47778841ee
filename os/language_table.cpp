// The table of Windows language identifiers and its lookup.
#include "os/language_table.h"

#include <algorithm>
#include <iterator>

namespace zed {
namespace {

constexpr LanguageInfo kLanguages[] = {
#include "os/language_table.inc"
};

constexpr bool Sorted() {
    for (std::size_t i = 1; i < std::size(kLanguages); ++i) {
        if (kLanguages[i - 1].language >= kLanguages[i].language) return false;
    }
    return true;
}
static_assert(Sorted(), "the language table is searched by halving and must stay in order");

}  // namespace

const LanguageInfo* FindLanguageInfo(WORD language) {
    const LanguageInfo* end = std::end(kLanguages);
    const LanguageInfo* row = std::lower_bound(
        std::begin(kLanguages), end, language,
        [](const LanguageInfo& info, WORD value) { return info.language < value; });
    return row != end && row->language == language ? row : nullptr;
}

const LanguageInfo* LanguageTable(std::size_t* count) {
    *count = std::size(kLanguages);
    return kLanguages;
}

}  // namespace zed
