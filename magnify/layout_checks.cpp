// Compile-time checks of the magnifier's records, which hosts read field by field.
#include <cstddef>

#include "zedll/win32/magnify_view.h"

static_assert(sizeof(LRECT) == 16, "LRECT");
static_assert(offsetof(MagnifyNS, extra) == 24, "MagnifyNS extra");
// 36 bytes in the 32-bit DLL: seven 32-bit fields and two pointer-sized ones.
static_assert(sizeof(void*) != 4 || sizeof(MagnifyNS) == 36, "MagnifyNS");
static_assert(offsetof(MagnifyNS, userData) == (sizeof(void*) == 4 ? 32 : 40), "MagnifyNS user data");
