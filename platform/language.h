// The language service: the library's texts, dialogs and menus from a language resource module
// or from the library's own resources.
#ifndef ZEDLL_PLATFORM_LANGUAGE_H
#define ZEDLL_PLATFORM_LANGUAGE_H

#include <string>
#include <vector>

#include "os/resource_module.h"
#include "platform/base_strings.h"
#include "zedll/platform_types.h"

namespace zed {

/// The library's text identifiers.
enum class TextId : UINT {
#define ZEDLL_TEXT_ENUM(id, name, text) name = id,
    ZEDLL_BASE_STRINGS(ZEDLL_TEXT_ENUM)
#undef ZEDLL_TEXT_ENUM
};

/// The base-language text of `id` compiled into the library, or null.
const char* BaseString(UINT id);

/// The process-wide language service (one static instance, see LangService).
class SYS_LangModule {
public:
    SYS_LangModule() = default;
    /// Selects the base language again (releasing a loaded module) and frees the prefix.
    ~SYS_LangModule();
    SYS_LangModule(const SYS_LangModule&) = delete;
    SYS_LangModule& operator=(const SYS_LangModule&) = delete;

    /// Stores prefix and base, clears the current language and selects `language`.
    void Init(const char* prefix, WORD language, WORD base);
    /// 1 on success, -1 when `language` is already current, -3 when its module cannot be
    /// loaded (nothing changes then).
    int SetLanguage(WORD language, int keep_previous);
    /// Module file name: prefix, abbreviation, four hex digits, then "." and `extension` unless
    /// it is null. `dst` holds at least 260 bytes; 0 and an empty `dst` for an unknown language.
    int MakeModuleName(char* dst, WORD language, const char* extension) const;
    WORD GetBaseLanguage() const { return base_; }
    WORD GetCurrentLanguage() const { return current_; }
    bool IsInitialised() const { return initialised_ != 0; }
    const char* GetPrefix() const { return prefix_; }
#if defined(_WIN32)
    /// Fills a list box with the available languages and their identifiers as item data.
    void FillLanguageList(HWND list) const;
#endif

private:
    char* prefix_ = nullptr;
    WORD base_ = 0;
    WORD current_ = 0;
    int initialised_ = 0;
};

/// The one language service of the process.
SYS_LangModule& LangService();

/// The library instance and the module searched first; both set by the load sequence.
HMODULE LangGetLibraryInstance();
void LangSetLibraryInstance(HMODULE module);
HMODULE LangGetModule();

/// The library text `id`, from the resource module, else from the library's own strings; null
/// when neither has it. Three rotating 256-byte buffers: a result stays valid for the next two
/// calls. One thread only.
const char* LangGetString(UINT id);
inline const char* LangGetString(TextId id) { return LangGetString(static_cast<UINT>(id)); }

/// One entry of the language list that the selection dialog shows.
struct LanguageEntry {
    WORD language;
    std::string name;
    bool current;
};
/// The base language, then every module next to the host program named by the naming rule.
std::vector<LanguageEntry> ListLanguages(const SYS_LangModule& service);
/// The same for the language modules in `directory`.
std::vector<LanguageEntry> ListLanguagesIn(const SYS_LangModule& service, const std::string& directory);

#if defined(_WIN32)
HMENU LangLoadMenu(const char* name);
INT_PTR LangDialogBox(const char* name, HWND owner, DLGPROC procedure, LPARAM parameter);
INT_PTR LangDialogBoxIndirect(LPCDLGTEMPLATEA dialog, HWND owner, DLGPROC procedure, LPARAM parameter);
HWND LangCreateDialog(const char* name, HWND owner, DLGPROC procedure, LPARAM parameter);
HWND LangCreateDialogIndirect(LPCDLGTEMPLATEA dialog, HWND owner, DLGPROC procedure, LPARAM parameter);
/// Runs "LangSelBox": 1 when a new language became active, else 0.
int LangSelectDialog(HWND owner);
/// The selection procedure of "LangSelBox".
INT_PTR CALLBACK LangSelBoxProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
#endif

}  // namespace zed

#endif
