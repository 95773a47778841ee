// The log-options property page: the user picks the logging method and the log file.
#ifndef ZEDLL_WIN32_LOG_PAGE_H
#define ZEDLL_WIN32_LOG_PAGE_H

#include <prsht.h>

#include "zedll/export.h"
#include "zedll/log_options.h"

/// The description of the log-options property page ("_ZELOG" from the resource module,
/// titled with the library's text "Logging"), owned by the library and valid until unload; the
/// page stores method and path when the user applies it. Null when not initialised.
ZEDLL_FUNC LPPROPSHEETPAGEA ZEDLL_STDCALL log_GetLogSheet(void);

#endif
