// Compile-time checks of the window classes' sizes, which host programs rely on when they derive.
#include <cstddef>

#include "zedll/win32/dlg_template.h"
#include "zedll/win32/window_base.h"

// vptr, window, parent: 12 bytes in the 32-bit DLL.
static_assert(sizeof(WIN_Father) == 3 * sizeof(void*), "WIN_Father");
// table, count, capacity.
static_assert(sizeof(WIN_Handler) == sizeof(void*) + 8, "WIN_Handler");
// The base, four counts, four pointers, the 100-byte face name and the point size: 148 bytes in
// the 32-bit DLL (elsewhere padded to the pointer size).
constexpr std::size_t kDlgTemplateFields = 3 * sizeof(void*) + 16 + 4 * sizeof(void*) + 100 + 4;
static_assert(sizeof(WIN_DlgTemplate) == (kDlgTemplateFields + sizeof(void*) - 1) / sizeof(void*) * sizeof(void*),
              "WIN_DlgTemplate");
