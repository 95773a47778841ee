// The portable halves of the version operations and the command line: value paths and argument splitting.
#ifndef ZEDLL_PLATFORM_VERSION_INFO_H
#define ZEDLL_PLATFORM_VERSION_INFO_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zedll/platform_types.h"

namespace zed {

/// "\StringFileInfo\<language><code page>\<value>" with both words as four lower-case hex digits.
void FormatVersionValuePath(char* buffer, std::size_t capacity, WORD language, WORD code_page,
                            const char* value);

/// Entries of the argument table: the program, 127 arguments and the closing null.
constexpr int kArgumentTableSize = 129;
/// Splits `line` in place (it is modified: separators become zero bytes) into `table`; false when
/// a quoted program name is not closed. `table` has kArgumentTableSize entries.
bool SplitCommandLine(char* line, char** table, int* argc);

}  // namespace zed

#endif
