// Platform interface of the language service: resource modules, their strings, the language
// names the platform knows and the files next to the host program.
#ifndef ZEDLL_OS_RESOURCE_MODULE_H
#define ZEDLL_OS_RESOURCE_MODULE_H

#include <string>
#include <vector>

#include "zedll/platform_types.h"

namespace zed {

/// GetLocaleInfoA items the service asks for.
constexpr DWORD kLocaleAbbreviation = 0x80000003;  // LOCALE_SABBREVLANGNAME | NOUSEROVERRIDE
constexpr DWORD kLocaleDisplayName = 0x80000002;   // LOCALE_SLANGUAGE | NOUSEROVERRIDE

namespace os {

/// The module that holds the library's code and its own resources, found from an address inside
/// the library (the DLL in a host, the executable when the objects are linked into one).
HMODULE OwnModule();
/// The texts that stand for the string resources of OwnModule() where the library's image holds
/// none (POSIX); the language service sets its base table here. Ignored on Windows.
using OwnStringLookup = const char* (*)(UINT id);
void SetOwnModuleStrings(OwnStringLookup lookup);

/// Loads a resource module by bare file name with the platform's search order for libraries
/// (the host program's directory first). 0 and `*module` set, or a Windows error number.
DWORD LoadResourceModule(const char* file_name, HMODULE* module);
/// Releases a module loaded by LoadResourceModule; each load needs one release.
void FreeResourceModule(HMODULE module);
/// A module loaded in the process under this file name (directory and case ignored), or null.
HMODULE FindLoadedModule(const char* file_name);

/// LoadStringA on `module`: at most capacity - 1 characters and a terminator; the characters
/// copied, 0 when the string is missing or empty.
int LoadModuleString(HMODULE module, UINT id, char* buffer, int capacity);

/// GetLocaleInfoA for a language identifier and one of the two items the service asks for
/// (0x80000003 abbreviation, 0x80000002 display name); false and an empty buffer when the
/// platform does not know the language.
bool GetLanguageInfo(WORD language, DWORD item, char* buffer, int capacity);

/// Full path of the host program's own file.
std::string HostProgramPath();
/// Names (without directory) of the files in `directory` that match the pattern made of `prefix`,
/// seven arbitrary characters and ".DLL" (case-insensitive, as the platform matches files).
std::vector<std::string> FindFilesLike(const std::string& directory, const std::string& prefix);

}  // namespace os
}  // namespace zed

#endif
