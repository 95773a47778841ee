// Collation and case mapping on Windows: the user's locale through the system calls.
#include <windows.h>

#include "os/locale_text.h"

namespace zed::os {

int CollateText(const char* a, const char* b, bool case_sensitive) {
    return case_sensitive ? ::lstrcmpA(a, b) : ::lstrcmpiA(a, b);
}

void LowerText(char* text) { ::CharLowerA(text); }
void UpperText(char* text) { ::CharUpperA(text); }

}  // namespace zed::os
