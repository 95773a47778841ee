// The library's load and unload sequence, run by the platform's entry point (Windows) or by the
// construction and destruction of a static object (elsewhere).
#ifndef ZEDLL_PLATFORM_LIBRARY_ENTRY_H
#define ZEDLL_PLATFORM_LIBRARY_ENTRY_H

#include "zedll/platform_types.h"

namespace zed {

/// Process attach: records `instance` as the library instance and resource module and opens the
/// language service for the base language 1033. Later calls are ignored.
void LibraryAttach(HMODULE instance);
/// Process detach: undoes what attach set up, in reverse. Ignored when not attached.
void LibraryDetach();
bool LibraryAttached();

}  // namespace zed

#endif
