// The language switch: the library's texts and dialogs from a language resource module.
#ifndef ZEDLL_LANGUAGE_H
#define ZEDLL_LANGUAGE_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// Switches every library text and dialog to `language` (a Windows language identifier), loading
/// the module "ZED" + abbreviation + four hex digits + ".DLL" found by the platform's library
/// search order (the host program's directory first); 1033 is the library's own English. A
/// language without a module keeps the previous one; the outcome is not reported. One thread.
ZEDLL_FUNC void ZEDLL_STDCALL ZEDLLSetLanguage(WORD language);

/// Lists the languages the selection dialog offers: the base language first, then one per
/// language module next to the host program. Writes at most `capacity` identifiers (none when
/// `languages` is null) and returns how many there are.
ZEDLL_FUNC int ZEDLL_STDCALL ZEDLLGetLanguages(WORD* languages, int capacity);

/// Writes the platform's display name of `language` ("German (Germany)") into `buffer` of `size`
/// bytes, cut to fit. 1 on success; 0 and an empty buffer when the language is unknown.
ZEDLL_FUNC int ZEDLL_STDCALL ZEDLLGetLanguageName(WORD language, char* buffer, DWORD size);

#endif
