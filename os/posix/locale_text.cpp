// Collation and case mapping on POSIX: the C locale, deterministic whatever the environment says.
#include "os/locale_text.h"

namespace zed::os {
namespace {
unsigned char FoldLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
unsigned char FoldUpper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }
}  // namespace

int CollateText(const char* a, const char* b, bool case_sensitive) {
    const auto* p = reinterpret_cast<const unsigned char*>(a);
    const auto* q = reinterpret_cast<const unsigned char*>(b);
    for (;; ++p, ++q) {
        const unsigned char x = case_sensitive ? *p : FoldLower(*p);
        const unsigned char y = case_sensitive ? *q : FoldLower(*q);
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

void LowerText(char* text) {
    for (; *text; ++text) *text = static_cast<char>(FoldLower(static_cast<unsigned char>(*text)));
}

void UpperText(char* text) {
    for (; *text; ++text) *text = static_cast<char>(FoldUpper(static_cast<unsigned char>(*text)));
}

}  // namespace zed::os
