// The Windows language identifiers with their abbreviations and display names, for platforms
// whose locale services do not know them.
#ifndef ZEDLL_OS_LANGUAGE_TABLE_H
#define ZEDLL_OS_LANGUAGE_TABLE_H

#include <cstddef>

#include "zedll/platform_types.h"

namespace zed {

struct LanguageInfo {
    WORD language;
    const char* abbreviation;  // three letters, as LOCALE_SABBREVLANGNAME gives them
    const char* name;          // English display name, windows-1252, as LOCALE_SLANGUAGE
};

/// The row of `language`, or null when Windows lists no such language.
const LanguageInfo* FindLanguageInfo(WORD language);
/// All rows, in identifier order.
const LanguageInfo* LanguageTable(std::size_t* count);

}  // namespace zed

#endif
