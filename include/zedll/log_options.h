// The log options: the user's logging method and log file, kept in the registry under the host's
// settings key. The property page that edits them is in zedll/win32/log_page.h.
#ifndef ZEDLL_LOG_OPTIONS_H
#define ZEDLL_LOG_OPTIONS_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// Logging methods as stored in the value "Syslog" (a number) beside "SyslogPath" (a text):
///   0 disabled, 1 system log, 2 file, 3 standard error.

/// Names the settings key (company, product, version; see OPT_RegOptions) and the registry scope
/// (1 current user, 0 local machine). Null names keep their previous value. Returns 1 when at
/// least one name was given (and copied), else 0; until then the other functions return their
/// "not initialised" value. One thread.
ZEDLL_FUNC int ZEDLL_STDCALL log_InitOptionsLog(const char* company, const char* product,
                                                const char* version, int scope);
/// -1 when not initialised; otherwise the stored method (the current one when none is stored).
/// Also reads the stored path into the library's path buffer. The current method is not changed.
ZEDLL_FUNC int ZEDLL_STDCALL log_LoadFlagLog(void);
/// Null when not initialised; otherwise reads method and path like log_LoadFlagLog and returns
/// the library's path buffer (2500 bytes, valid until the next call that changes it).
ZEDLL_FUNC char* ZEDLL_STDCALL log_LoadPathLog(void);
/// A method of 0 or more becomes the current one; a given path replaces the current one (cut to
/// 2499 characters). Returns 1.
ZEDLL_FUNC int ZEDLL_STDCALL log_SetFlagLog(int method, const char* path);
/// -1 when not initialised; otherwise stores the current method and path and returns 1 when the
/// path was stored, 0 when not.
ZEDLL_FUNC int ZEDLL_STDCALL log_WriteLog(void);

#endif
