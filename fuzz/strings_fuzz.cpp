// Fuzz target: CLS_String and CLS_FileName driven through operation sequences read from the
// input, next to a plain std::string that follows the documented rules.
//
// Asserts after every step: length, text and terminator equal the reference, the capacity holds
// the text; searches, comparisons, copies out and index errors give what the rules say; on the
// final text the path parts fit buffers of exactly their promised sizes and are pieces of it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "zedll/cls_string.h"

namespace {

constexpr DWORD kAll = CLS_String::kAll;
constexpr DWORD kNone = static_cast<DWORD>(-1);

bool g_sensitive = true;

unsigned char SearchFold(unsigned char c) { return (c >= 0x61 && c <= 0x7F) ? c - 0x20 : c; }
bool Same(unsigned char a, unsigned char b) {
    return g_sensitive ? a == b : SearchFold(a) == SearchFold(b);
}
bool MatchAt(const std::string& text, std::size_t pos, const std::string& pattern) {
    for (std::size_t k = 0; k < pattern.size(); ++k)
        if (!Same(text[pos + k], pattern[k])) return false;
    return true;
}
DWORD ModelFind(const std::string& text, const std::string& pattern, DWORD start) {
    if (pattern.empty()) return kNone;
    for (uint64_t pos = start; pos + pattern.size() <= text.size(); ++pos)
        if (MatchAt(text, pos, pattern)) return static_cast<DWORD>(pos);
    return kNone;
}
DWORD ModelReverseFind(const std::string& text, const std::string& pattern, DWORD end) {
    if (end == kAll) end = static_cast<DWORD>(text.size()) - 1;
    if (pattern.empty() || end >= text.size()) return kNone;
    DWORD found = kNone;
    for (uint64_t pos = 0; pos + pattern.size() - 1 <= end; ++pos)
        if (MatchAt(text, pos, pattern)) found = static_cast<DWORD>(pos);
    return found;
}
// Comparison collates by unsigned bytes, folding "A".."Z" to lower case when insensitive.
int ModelCollate(const std::string& a, const std::string& b) {
    auto fold = [](unsigned char c) { return (!g_sensitive && c >= 'A' && c <= 'Z') ? c + 32 : c; };
    for (std::size_t i = 0;; ++i) {
        const int x = i < a.size() ? fold(a[i]) : 0, y = i < b.size() ? fold(b[i]) : 0;
        if (x != y || x == 0) return x < y ? -1 : x > y ? 1 : 0;
    }
}
int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

// The piece (start, count) of text, or false when start lies past `limit`.
std::string Piece(const std::string& text, DWORD start, DWORD count) {
    const std::size_t rest = text.size() - start;
    return text.substr(start, count == kAll || count > rest ? rest : count);
}

void CheckSame(const CLS_String& s, const std::string& m) {
    FUZZ_CHECK(s.GetLength() == m.size());
    FUZZ_CHECK(s.GetBuffer() != nullptr);
    FUZZ_CHECK(s.GetCapacity() >= m.size() + 1);
    FUZZ_CHECK(std::memcmp(s.GetBuffer(), m.data(), m.size()) == 0);
    FUZZ_CHECK(s.GetBuffer()[m.size()] == 0);
}

// Positions and counts: mostly small, sometimes any 32-bit number, sometimes "all".
DWORD Number(zedfuzz::Input& in) {
    const uint8_t b = in.U8();
    if (b < 200) return b % 48;
    if (b < 240) return in.U32();
    return kAll;
}

// A buffer of exactly `size` bytes on the heap, so that one byte more is caught.
struct Exact {
    explicit Exact(std::size_t size) : bytes(new char[size]) { std::memset(bytes, 0x55, size); }
    ~Exact() { delete[] bytes; }
    char* bytes;
};

void CheckFileName(const std::string& m) {
    if (m.find('\0') != std::string::npos) return;
    CLS_FileName name(m.c_str());
    const std::size_t whole = m.size() + 1;
    struct Part {
        char* (CLS_FileName::*get)(char*) const;
        bool prefix, suffix;
    };
    const Part parts[] = {{&CLS_FileName::GetPath, true, false},
                          {&CLS_FileName::GetDirectory, false, false},
                          {&CLS_FileName::GetDrive, true, false},
                          {&CLS_FileName::GetName, false, false},
                          {&CLS_FileName::GetExtension, false, true},
                          {&CLS_FileName::GetDotExtension, false, true}};
    for (const Part& part : parts) {
        Exact dst(whole);
        FUZZ_CHECK((name.*part.get)(dst.bytes) == dst.bytes);
        const std::string got(dst.bytes, strnlen(dst.bytes, whole));
        FUZZ_CHECK(got.size() < whole);
        FUZZ_CHECK(m.find(got) != std::string::npos);
        if (part.prefix) FUZZ_CHECK(m.compare(0, got.size(), got) == 0);
        if (part.suffix) FUZZ_CHECK(m.size() >= got.size() && m.compare(m.size() - got.size(), got.size(), got) == 0);
    }
    // Name, dot and extension, each part at most the path (".abc" is "abc" twice: "abc.abc") and
    // at most 255 characters: the buffer the class asks for is 255 + 1 + 255 + 1 bytes.
    const std::size_t file_name_size = std::min<std::size_t>(2 * m.size() + 2, 512);
    Exact dst(file_name_size);
    name.GetFileName(dst.bytes);
    FUZZ_CHECK(strnlen(dst.bytes, file_name_size) < file_name_size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    zedfuzz::Input in(data, size);
    CLS_String::SetInitialSize(in.U8() % 130);
    CLS_String::SetGrowSize(in.U8() % 130);
    g_sensitive = true;
    CLS_String::SetCaseSensitive(1);

    CLS_String s;
    std::string m;
    for (int step = 0; step < 64 && !in.empty(); ++step) {
        const uint8_t op = in.U8() % 20;
        const std::string t = in.Text(40);
        const CLS_String other(t.c_str());
        switch (op) {
        case 0:
            s.Append(t.c_str());
            m += t;
            break;
        case 1: {
            const DWORD start = Number(in), count = Number(in);
            s.Append(other, start, count);
            if (start < t.size()) m += Piece(t, start, count);
            break;
        }
        case 2: {
            const DWORD start = Number(in), count = Number(in);
            s.Assign(other, start, count);
            if (start <= t.size()) m = Piece(t, start, count);
            break;
        }
        case 3: {
            const DWORD pos = Number(in), start = Number(in), count = Number(in);
            s.Insert(pos, other, start, count);
            if (pos < m.size() && start < t.size()) m.insert(pos, Piece(t, start, count));
            break;
        }
        case 4: {
            const DWORD pos = Number(in), count = Number(in);
            s.Delete(pos, count);
            if (pos < m.size()) m.erase(pos, count == kAll ? std::string::npos : count);
            break;
        }
        case 5: {
            const DWORD pos = Number(in), count = Number(in), start = Number(in), count2 = Number(in);
            s.Replace(pos, count, t.c_str(), start, count2);
            if (pos < m.size() && start <= t.size()) {
                const std::string tail = count == kAll || count >= m.size() - pos ? "" : m.substr(pos + count);
                m = m.substr(0, pos) + Piece(t, start, count2) + tail;
            }
            break;
        }
        case 6:
            s.MakeUpper();
            for (char& c : m) c = (c >= 'a' && c <= 'z') ? c - 32 : c;
            break;
        case 7:
            s.MakeLower();
            for (char& c : m) c = (c >= 'A' && c <= 'Z') ? c + 32 : c;
            break;
        case 8: {
            const DWORD start = Number(in);
            FUZZ_CHECK(s.Find(t.c_str(), start) == ModelFind(m, t, start));
            FUZZ_CHECK(s.Contains(other) == (ModelFind(m, t, 0) != kNone ? 1 : 0));
            break;
        }
        case 9: {
            const DWORD end = Number(in);
            FUZZ_CHECK(s.ReverseFind(other, end) == ModelReverseFind(m, t, end));
            break;
        }
        case 10: {
            const DWORD start = Number(in), count = Number(in);
            int expected = 1;
            if (start <= t.size() && (count == kAll || count <= t.size() - start))
                expected = ModelCollate(Piece(t, start, count), m);
            FUZZ_CHECK(Sign(s.Compare(other, start, count)) == Sign(expected));
            break;
        }
        case 11: {
            const DWORD start = Number(in), count = Number(in) % 64;
            const DWORD n = start < m.size() ? static_cast<DWORD>(std::min<std::size_t>(count, m.size() - start)) : 0;
            Exact dst(n + 1);
            dst.bytes[0] = 'z';
            const DWORD got = s.GetText(dst.bytes, count, start);
            FUZZ_CHECK(got == n);
            if (start < m.size()) {
                FUZZ_CHECK(std::memcmp(dst.bytes, m.data() + start, n) == 0 && dst.bytes[n] == 0);
            } else {
                FUZZ_CHECK(dst.bytes[0] == 'z');
            }
            break;
        }
        case 12: {
            const DWORD start = Number(in);
            DWORD expected = kNone;
            if (start < m.size()) {
                for (std::size_t i = 0; i < t.size() && expected == kNone; ++i)
                    if (ModelFind(m, std::string(1, t[i]), start) == kNone) expected = static_cast<DWORD>(i);
            }
            FUZZ_CHECK(s.FindFirstMissing(t.c_str(), start) == expected);
            break;
        }
        case 13: {
            DWORD end = Number(in);
            const DWORD got = s.ReverseFindNotOf(other, end);
            if (end == kAll) end = static_cast<DWORD>(m.size()) - 1;
            DWORD expected = kNone;
            if (end < m.size()) {
                for (DWORD p = end + 1; p-- > 0 && expected == kNone;) {
                    bool in_set = false;
                    for (char c : t) in_set = in_set || Same(m[p], c);
                    if (!in_set) expected = p;
                }
            }
            FUZZ_CHECK(got == expected);
            break;
        }
        case 14: {
            const DWORD index = Number(in);
            bool threw = false;
            try {
                FUZZ_CHECK(s.GetAt(index) == m[index]);
            } catch (const CLS_StringIndexError& e) {
                threw = true;
                FUZZ_CHECK(e.GetIndex() == index);
            }
            FUZZ_CHECK(threw == (index >= m.size()));
            break;
        }
        case 15: {
            // An explicit count reserves room for all of it: four billion asks for four billion
            // bytes, which is the caller's to avoid, so the count stays small here.
            const DWORD start = Number(in), count = Number(in);
            const DWORD bounded = count == kAll ? kAll : count % 4096;
            s = CLS_String(t.c_str(), start, bounded);
            m = start <= t.size() ? Piece(t, start, bounded) : std::string();
            break;
        }
        case 16: {
            const DWORD n = in.U8() * 2u;   // n copies ask for n bytes: kept small
            const char c = t.empty() ? 'x' : t[0];
            s = CLS_String(c, n);
            m.assign(n, c);
            break;
        }
        case 17: {
            CLS_String copy(s);
            CheckSame(copy, m);
            const CLS_String& same = copy;
            copy = same;
            CheckSame(copy, m);
            s = copy + other;
            m += t;
            break;
        }
        case 18: {
            const DWORD start = Number(in) % 64;
            const CLS_String piece(s, start, kAll);
            CheckSame(piece, start <= m.size() ? m.substr(start) : std::string());
            s.Assign(s);
            break;
        }
        default:
            g_sensitive = !g_sensitive;
            CLS_String::SetCaseSensitive(g_sensitive ? 1 : 0);
            break;
        }
        CheckSame(s, m);
    }
    CheckFileName(m);
    return 0;
}
