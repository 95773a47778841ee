// The log-options page where the platform has no property sheets: there is no page to give.
#include "zedll/log_options.h"

LPPROPSHEETPAGEA ZEDLL_STDCALL log_GetLogSheet(void) { return nullptr; }
