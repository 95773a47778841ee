// Version resources of files and modules, and the process's command line, as the platform keeps
// them.
#ifndef ZEDLL_OS_VERSION_RESOURCE_H
#define ZEDLL_OS_VERSION_RESOURCE_H

#include <cstdint>
#include <string>
#include <vector>

#include "zedll/platform_types.h"

namespace zed::os {


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

}  // namespace zed::os

#endif
