// CLS_FileName: drive, directory, name and extension of a Windows-style path.
#include <cstdio>
#include <cstring>
#include <string>

#include "zedll/cls_string.h"

namespace {

constexpr DWORD kNone = static_cast<DWORD>(-1);

// Copies text[from, to) into dst and terminates it.
char* CopyRange(char* dst, const char* text, DWORD from, DWORD to) {
    if (dst == nullptr) return dst;
    const DWORD n = to > from ? to - from : 0;
    if (n != 0) std::memmove(dst, text + from, n);
    dst[n] = 0;
    return dst;
}

// Positions of the last "\" (B), the first ":" when it is not the first character (C) and the
// last "." (D); kNone when missing.
struct Marks {
    DWORD b = kNone, c = kNone, d = kNone;
};

Marks Scan(const char* text, DWORD len) {
    Marks m;
    for (DWORD i = 0; i < len; ++i) {
        if (text[i] == '\\') m.b = i;
        if (text[i] == '.') m.d = i;
        if (text[i] == ':' && m.c == kNone) m.c = i;
    }
    if (m.c == 0) m.c = kNone;
    return m;
}

}  // namespace

CLS_FileName::CLS_FileName(const char* path) : CLS_String(path) {}
CLS_FileName::CLS_FileName(const CLS_FileName& other) : CLS_String(other) {}
CLS_FileName& CLS_FileName::operator=(const CLS_FileName& other) {
    Assign(other);
    return *this;
}
CLS_FileName::~CLS_FileName() = default;

char* CLS_FileName::GetPath(char* dst) const {
    const char* t = GetBuffer() ? GetBuffer() : "";
    const Marks m = Scan(t, GetLength());
    return CopyRange(dst, t, 0, m.b == kNone ? 0 : m.b + 1);
}

char* CLS_FileName::GetDirectory(char* dst) const {
    const char* t = GetBuffer() ? GetBuffer() : "";
    const Marks m = Scan(t, GetLength());
    if (m.b == kNone) return CopyRange(dst, t, 0, 0);
    if (m.c != kNone && m.c < m.b) return CopyRange(dst, t, m.c + 1, m.b + 1);
    return CopyRange(dst, t, 0, m.b + 1);
}

char* CLS_FileName::GetDrive(char* dst) const {
    const char* t = GetBuffer() ? GetBuffer() : "";
    const Marks m = Scan(t, GetLength());
    return CopyRange(dst, t, 0, m.c == kNone ? 0 : m.c + 1);
}

char* CLS_FileName::GetName(char* dst) const {
    const char* t = GetBuffer() ? GetBuffer() : "";
    const DWORD len = GetLength();
    const Marks m = Scan(t, len);
    if (m.b != kNone) {
        return (m.d != kNone && m.d > m.b) ? CopyRange(dst, t, m.b + 1, m.d)
                                           : CopyRange(dst, t, m.b + 1, len);
    }
    if (m.c != kNone) {
        return (m.d != kNone && m.d > m.c) ? CopyRange(dst, t, m.c + 1, m.d)
                                           : CopyRange(dst, t, m.c + 1, len);
    }
    if (m.d == kNone) return CopyRange(dst, t, 0, len);
    if (m.d >= 1) return CopyRange(dst, t, 0, m.d);
    return CopyRange(dst, t, 1, len);
}

char* CLS_FileName::GetExtension(char* dst) const {
    const char* t = GetBuffer() ? GetBuffer() : "";
    const DWORD len = GetLength();
    const Marks m = Scan(t, len);
    if (m.d == kNone || (m.b != kNone && m.d < m.b)) return CopyRange(dst, t, 0, 0);
    return CopyRange(dst, t, m.d + 1, len);
}

char* CLS_FileName::GetDotExtension(char* dst) const {
    const char* t = GetBuffer() ? GetBuffer() : "";
    const DWORD len = GetLength();
    const Marks m = Scan(t, len);
    if (m.d == kNone || m.d < 1 || (m.b != kNone && m.d < m.b)) return CopyRange(dst, t, 0, 0);
    return CopyRange(dst, t, m.d, len);
}

char* CLS_FileName::GetFileName(char* dst) const {
    if (dst == nullptr) return dst;
    // Name and extension each pass through a 256-byte buffer, so each keeps at most 255 characters.
    const DWORD len = GetLength();
    std::string whole_name(len + 1, '\0'), whole_ext(len + 1, '\0');
    GetName(&whole_name[0]);
    GetExtension(&whole_ext[0]);
    char name[256], ext[256];
    std::snprintf(name, sizeof name, "%s", whole_name.c_str());
    std::snprintf(ext, sizeof ext, "%s", whole_ext.c_str());
    if (name[0] == 0) {
        dst[0] = 0;
        return dst;
    }
    std::sprintf(dst, "%s.%s", name, ext);
    return dst;
}
