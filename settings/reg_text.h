// Pieces of the REGEDIT4 text-file writer that the tests reach directly.
#ifndef ZEDLL_SETTINGS_REG_TEXT_H
#define ZEDLL_SETTINGS_REG_TEXT_H

#include <string>

#include "zedll/platform_types.h"

namespace zed {

/// Each value text is formatted into a buffer of this many bytes (terminator included).
constexpr std::size_t kValueTextBuffer = 3000;

/// The text after "name"= for one value, CR LF included: a quoted text with backslashes doubled
/// (clipped to fit the buffer), "dword:%.8x", or a "hex:" list wrapped before column 80 and cut
/// near the end of the buffer. False for the types that are not written.
bool FormatValueText(DWORD type, const unsigned char* data, DWORD size, std::string* out);

}  // namespace zed

#endif
