// Compile-time checks of the settings classes' sizes, which host programs rely on.
#include <type_traits>

#include "zedll/cls_string.h"
#include "zedll/date_time.h"
#include "zedll/recent_files.h"
#include "zedll/reg_options.h"

// Dates and times are passed by value: four bytes, trivially copyable.
static_assert(sizeof(CLS_Date) == 4 && std::is_trivially_copyable<CLS_Date>::value, "CLS_Date");
static_assert(sizeof(CLS_Time) == 4 && std::is_trivially_copyable<CLS_Time>::value, "CLS_Time");
// vptr, buffer, capacity, length: 16 bytes in the 32-bit DLL.
static_assert(sizeof(CLS_String) == 2 * sizeof(void*) + 8, "CLS_String");
static_assert(sizeof(CLS_FileName) == sizeof(CLS_String), "CLS_FileName adds no fields");
// vptr, company, product, version.
static_assert(sizeof(OPT_RegOptions) == 4 * sizeof(void*), "OPT_RegOptions");
// vptr, entries, maximum, count, options: 20 bytes in the 32-bit DLL.
static_assert(sizeof(OPT_RLastFiles) == 3 * sizeof(void*) + 8, "OPT_RLastFiles");
