// Platform interface of the version operations and the command line, and their portable helpers.
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
/// A command line made of separate arguments, as a shell would hand them over: each argument
/// with a blank (or an empty one) in double quotes, joined by spaces.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

namespace platform {

/// Bytes of the version information of `file`, 0 when it has none or cannot be read.
DWORD FileVersionInfoSize(const char* file);
/// Reads the version information into `block` of `size` bytes; false on failure.
bool ReadFileVersionInfo(const char* file, DWORD size, void* block);
/// VerQueryValueA on a block from ReadFileVersionInfo: the first translation entry.
bool QueryFileVersionTranslation(const void* block, DWORD size, WORD* language, WORD* code_page);
/// VerQueryValueA on a block from ReadFileVersionInfo: a text value and its length in characters
/// as the platform reports it.
bool QueryFileVersionText(const void* block, DWORD size, const char* sub_block, std::string* text,
                          UINT* length);
/// A copy of the version resource (type 16, identifier 1) of the module loaded under `module`.
bool ModuleVersionResource(const char* module, std::vector<uint8_t>* bytes);

/// The command line of the process.
std::string ProcessCommandLine();
/// 0 when the platform reports attributes for `path`, else its error number.
DWORD PathAttributesError(const char* path);

}  // namespace platform
}  // namespace zed

#endif
