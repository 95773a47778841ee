// Locale-dependent text services: collation and case mapping of 8-bit texts.
#ifndef ZEDLL_OS_LOCALE_TEXT_H
#define ZEDLL_OS_LOCALE_TEXT_H

namespace zed::os {

/// Collates two zero-terminated texts: negative, 0 or positive as a sorts before, equal to or
/// after b. Windows: lstrcmpA / lstrcmpiA. POSIX: the C locale's byte order (unsigned bytes); the
/// case-insensitive form folds ASCII "A"-"Z" to lower case first.
int CollateText(const char* a, const char* b, bool case_sensitive);
/// Converts a zero-terminated text in place. Windows: CharLowerA / CharUpperA; POSIX: ASCII only.
void LowerText(char* text);
void UpperText(char* text);

}  // namespace zed::os

#endif
