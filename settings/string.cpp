// CLS_String: growable text with block-sized capacities, searches and comparisons.
#include <cstdint>
#include <cstring>
#include <string>

#include "os/heap.h"
#include "os/locale_text.h"
#include "zedll/cls_string.h"

namespace {

int g_case_sensitive = 1;
DWORD g_initial_size = 64;
DWORD g_grow_size = 64;

constexpr DWORD kNone = static_cast<DWORD>(-1);

DWORD TextLength(const char* text) {
    if (text == nullptr) return 0;
    const std::size_t n = std::strlen(text);
    return n > 0xFFFFFFFEu ? 0xFFFFFFFEu : static_cast<DWORD>(n);
}

// The first size of the form start + k*step that holds `needed` bytes; 0 when none fits in 32 bits
// (the caller then treats it as a failed allocation). A zero step can only give `start` itself, so
// it then takes exactly what is needed.
DWORD ChooseSize(uint64_t start, uint64_t needed) {
    if (needed <= start) return static_cast<DWORD>(start);
    const uint64_t step = g_grow_size;
    uint64_t size = needed;
    if (step != 0) size = start + (needed - start + step - 1) / step * step;
    return size > 0xFFFFFFFFu ? 0 : static_cast<DWORD>(size);
}

unsigned char Fold(unsigned char c) { return (c >= 0x61 && c <= 0x7F) ? c - 0x20 : c; }

bool Same(unsigned char a, unsigned char b) {
    return g_case_sensitive ? a == b : Fold(a) == Fold(b);
}

// Full match of pattern (length plen >= 1) at text: first and last characters first, then pairs
// from both ends towards the middle.
bool MatchAt(const unsigned char* text, const unsigned char* pat, DWORD plen) {
    const DWORD last = plen - 1;
    if (!Same(text[0], pat[0]) || !Same(text[last], pat[last])) return false;
    for (DWORD k = 1; k <= last / 2; ++k) {
        if (!Same(text[k], pat[k]) || !Same(text[last - k], pat[last - k])) return false;
    }
    return true;
}

DWORD FindIn(const char* text, DWORD len, const char* pattern, DWORD start) {
    const DWORD plen = TextLength(pattern);
    if (plen == 0 || static_cast<uint64_t>(start) + (plen - 1) >= len) return kNone;
    const auto* t = reinterpret_cast<const unsigned char*>(text);
    const auto* p = reinterpret_cast<const unsigned char*>(pattern);
    for (uint64_t pos = start; pos + plen <= len; ++pos) {
        if (MatchAt(t + pos, p, plen)) return static_cast<DWORD>(pos);
    }
    return kNone;
}

bool InSet(unsigned char c, const char* set) {
    for (const char* s = set; *s; ++s) {
        if (Same(c, static_cast<unsigned char>(*s))) return true;
    }
    return false;
}

}  // namespace

CLS_StringIndexError::CLS_StringIndexError(DWORD index)
    : std::out_of_range("CLS_String: index " + std::to_string(index) + " out of range"),
      index_(index) {}
CLS_StringIndexError::~CLS_StringIndexError() = default;

// --- construction -------------------------------------------------------------------------------

CLS_String::CLS_String() : buffer_(nullptr), capacity_(0), length_(0) {
    Resize(ChooseSize(g_initial_size, 1));
}

CLS_String::CLS_String(const CLS_String& other) : buffer_(nullptr), capacity_(0), length_(0) {
    InitPiece(other.buffer_, other.length_, 0, kNone);
}

CLS_String::CLS_String(const CLS_String& source, DWORD start, DWORD count)
    : buffer_(nullptr), capacity_(0), length_(0) {
    InitPiece(source.buffer_, source.length_, start, count);
}

CLS_String::CLS_String(const char* text) : buffer_(nullptr), capacity_(0), length_(0) {
    InitPiece(text, TextLength(text), 0, kNone);
}

CLS_String::CLS_String(const char* text, DWORD start, DWORD count)
    : buffer_(nullptr), capacity_(0), length_(0) {
    InitPiece(text, TextLength(text), start, count);
}

CLS_String::CLS_String(char c) : CLS_String(c, 1) {}
CLS_String::CLS_String(signed char c) : CLS_String(static_cast<char>(c), 1) {}
CLS_String::CLS_String(unsigned char c) : CLS_String(static_cast<char>(c), 1) {}

CLS_String::CLS_String(char c, DWORD n) : buffer_(nullptr), capacity_(0), length_(0) {
    if (!Resize(ChooseSize(g_initial_size, static_cast<uint64_t>(n) + 1))) return;
    std::memset(buffer_, c, n);
    buffer_[n] = 0;
    length_ = n;
}
CLS_String::CLS_String(signed char c, DWORD n) : CLS_String(static_cast<char>(c), n) {}
CLS_String::CLS_String(unsigned char c, DWORD n) : CLS_String(static_cast<char>(c), n) {}

CLS_String::CLS_String(const CLS_String& a, const char* b) : CLS_String(a) { Append(b); }

CLS_String::~CLS_String() {
    zed::HeapRelease(buffer_);
    buffer_ = nullptr;
    capacity_ = 0;
    length_ = 0;
}

void CLS_String::InitPiece(const char* text, DWORD text_len, DWORD start, DWORD count) {
    DWORD take = 0;
    uint64_t needed = 1;
    if (start <= text_len && text != nullptr) {
        const DWORD rest = text_len - start;
        take = (count == kNone || count > rest) ? rest : count;
        // An explicit count reserves room for all of it, even past the source's end.
        needed = (count == kNone ? take : static_cast<uint64_t>(count)) + 1;
    }
    if (!Resize(ChooseSize(g_initial_size, needed))) return;
    if (take != 0) std::memcpy(buffer_, text + start, take);
    buffer_[take] = 0;
    length_ = take;
}

// Sets the capacity to new_capacity (0: a size that does not fit counts as a failed allocation),
// keeping the text that still fits; new bytes are zero. On failure the object becomes empty.
bool CLS_String::Resize(DWORD new_capacity) {
    if (new_capacity == 0) {
        Fail();
        return false;
    }
    if (buffer_ != nullptr && new_capacity == capacity_) return true;
    char* fresh = static_cast<char*>(zed::HeapAllocZeroed(new_capacity));
    if (fresh == nullptr) {
        Fail();
        return false;
    }
    if (buffer_ != nullptr) {
        const DWORD keep = length_ < new_capacity ? length_ : new_capacity - 1;
        std::memcpy(fresh, buffer_, keep);
        length_ = keep;
        zed::HeapRelease(buffer_);
    }
    buffer_ = fresh;
    capacity_ = new_capacity;
    return true;
}

void CLS_String::Fail() {
    zed::HeapRelease(buffer_);
    buffer_ = nullptr;
    capacity_ = 0;
    length_ = 0;
}

// --- assignment and joining ---------------------------------------------------------------------

CLS_String& CLS_String::Assign(const CLS_String& other, DWORD start, DWORD count) {
    if (start > other.length_) return *this;
    const DWORD rest = other.length_ - start;
    const DWORD take = (count == kNone || count > rest) ? rest : count;
    // Copy first: other may be this object.
    std::string piece(other.buffer_ ? other.buffer_ + start : "", take);
    const DWORD size = ChooseSize(g_initial_size, static_cast<uint64_t>(other.length_) + 1);
    length_ = 0;
    if (!Resize(size)) return *this;
    std::memcpy(buffer_, piece.data(), take);
    std::memset(buffer_ + take, 0, capacity_ - take);
    length_ = take;
    return *this;
}

CLS_String& CLS_String::operator=(const CLS_String& other) { return Assign(other); }

CLS_String& CLS_String::Append(const CLS_String& other, DWORD start, DWORD count) {
    if (start >= other.length_) return *this;
    const DWORD rest = other.length_ - start;
    const DWORD take = (count == kNone || count > rest) ? rest : count;
    std::string piece(other.buffer_ + start, take);
    const uint64_t needed = static_cast<uint64_t>(length_) + other.length_ + 1;
    const DWORD base = buffer_ != nullptr ? capacity_ : g_initial_size;
    if (!Resize(ChooseSize(base, needed))) return *this;
    std::memcpy(buffer_ + length_, piece.data(), take);
    length_ += take;
    buffer_[length_] = 0;
    return *this;
}

CLS_String& CLS_String::Append(const char* text) {
    if (text == nullptr || *text == 0) return *this;
    return Append(CLS_String(text));
}

CLS_String& CLS_String::operator+=(const CLS_String& other) { return Append(other); }
CLS_String& CLS_String::operator+=(const char* text) { return Append(text); }
CLS_String CLS_String::operator+(const char* text) const { return CLS_String(*this, text); }
CLS_String CLS_String::operator+(const CLS_String& other) const {
    return CLS_String(*this, other.buffer_);
}

// --- comparison ---------------------------------------------------------------------------------

int CLS_String::Compare(const CLS_String& other, DWORD start, DWORD count) const {
    if (start > other.length_) return 1;
    const DWORD rest = other.length_ - start;
    if (count == kNone) count = rest;
    if (count > rest) return 1;
    const std::string piece(other.buffer_ ? other.buffer_ + start : "", count);
    return zed::os::CollateText(piece.c_str(), buffer_ ? buffer_ : "", g_case_sensitive != 0);
}

// --- editing ------------------------------------------------------------------------------------

CLS_String& CLS_String::Insert(DWORD pos, const CLS_String& other, DWORD start, DWORD count) {
    if (pos >= length_ || start >= other.length_) return *this;
    const DWORD rest = other.length_ - start;
    const DWORD take = (count == kNone || count > rest) ? rest : count;
    std::string text(buffer_, length_);
    text.insert(pos, other.buffer_ + start, take);
    if (text.size() > 0xFFFFFFFEu) return *this;
    length_ = 0;
    if (!Resize(ChooseSize(g_initial_size, text.size() + 1))) return *this;
    std::memcpy(buffer_, text.data(), text.size());
    std::memset(buffer_ + text.size(), 0, capacity_ - text.size());
    length_ = static_cast<DWORD>(text.size());
    return *this;
}

CLS_String& CLS_String::Delete(DWORD pos, DWORD count) {
    if (pos >= length_) return *this;
    DWORD new_length = pos;
    if (count != kNone && count < length_ - pos) {
        std::memmove(buffer_ + pos, buffer_ + pos + count, length_ - pos - count);
        new_length = length_ - count;
    }
    std::memset(buffer_ + new_length, 0, length_ - new_length);
    length_ = new_length;
    Resize(ChooseSize(g_initial_size, static_cast<uint64_t>(new_length) + 1));
    return *this;
}

CLS_String& CLS_String::Replace(DWORD pos, DWORD count, const CLS_String& other, DWORD start,
                                DWORD count2) {
    if (pos >= length_ || start > other.length_) return *this;
    CLS_String piece;
    piece.Assign(other, start, count2);
    Delete(pos, count);
    if (pos >= length_) return Append(piece);
    return Insert(pos, piece);
}

CLS_String& CLS_String::Replace(DWORD pos, DWORD count, const char* text, DWORD start,
                                DWORD count2) {
    return Replace(pos, count, CLS_String(text), start, count2);
}

// --- access -------------------------------------------------------------------------------------

char CLS_String::GetAt(DWORD index) const {
    CheckIndex(index);
    return buffer_[index];
}

void CLS_String::CheckIndex(DWORD i) const {
    if (i >= length_) throw CLS_StringIndexError(i);
}

void CLS_String::CheckPosition(DWORD i) const {
    if (i > length_) throw CLS_StringIndexError(i);
}

char* CLS_String::MakeLower() {
    if (buffer_ != nullptr) zed::os::LowerText(buffer_);
    return buffer_;
}

char* CLS_String::MakeUpper() {
    if (buffer_ != nullptr) zed::os::UpperText(buffer_);
    return buffer_;
}

DWORD CLS_String::GetText(char* dst, DWORD count) const {
    if (dst == nullptr) return 0;
    if (count == kNone) count = TextLength(dst);
    const DWORD n = count < length_ ? count : length_;
    if (n != 0) std::memcpy(dst, buffer_, n);
    dst[n] = 0;
    return n;
}

DWORD CLS_String::GetText(char* dst, DWORD count, DWORD start) const {
    if (dst == nullptr || start >= length_) return 0;
    if (count == kNone) count = TextLength(dst);
    const DWORD rest = length_ - start;
    const DWORD n = count < rest ? count : rest;
    std::memmove(dst, buffer_ + start, n);
    dst[n] = 0;
    return n;
}

// --- search -------------------------------------------------------------------------------------

DWORD CLS_String::Find(const char* pattern, DWORD start) const {
    if (buffer_ == nullptr) return kNone;
    return FindIn(buffer_, length_, pattern, start);
}

DWORD CLS_String::Find(const CLS_String& pattern, DWORD start) const {
    return Find(pattern.buffer_ ? pattern.buffer_ : "", start);
}

DWORD CLS_String::ReverseFind(const char* pattern, DWORD end) const {
    const DWORD plen = TextLength(pattern);
    if (end == kNone) end = length_ - 1;
    if (plen == 0 || buffer_ == nullptr || end >= length_) return kNone;
    const auto* t = reinterpret_cast<const unsigned char*>(buffer_);
    const auto* p = reinterpret_cast<const unsigned char*>(pattern);
    DWORD found = kNone;
    for (uint64_t pos = 0; pos + plen - 1 <= end; ++pos) {
        if (MatchAt(t + pos, p, plen)) found = static_cast<DWORD>(pos);
    }
    return found;
}

DWORD CLS_String::ReverseFind(const CLS_String& pattern, DWORD end) const {
    return ReverseFind(pattern.buffer_ ? pattern.buffer_ : "", end);
}

int CLS_String::Contains(const char* pattern) const { return Find(pattern, 0) != kNone ? 1 : 0; }
int CLS_String::Contains(const CLS_String& pattern) const {
    return Find(pattern, 0) != kNone ? 1 : 0;
}

DWORD CLS_String::FindFirstMissing(const char* set, DWORD start) const {
    if (set == nullptr || start >= length_) return kNone;
    for (DWORD i = 0; set[i] != 0; ++i) {
        const char one[2] = {set[i], 0};
        if (Find(one, start) == kNone) return i;
    }
    return kNone;
}

DWORD CLS_String::FindFirstMissing(const CLS_String& set, DWORD start) const {
    return FindFirstMissing(set.buffer_ ? set.buffer_ : "", start);
}

DWORD CLS_String::ReverseFindNotOf(const char* set, DWORD end) const {
    if (end == kNone) end = length_ - 1;
    if (set == nullptr || end >= length_) return kNone;
    for (DWORD p = end + 1; p-- > 0;) {
        if (!InSet(static_cast<unsigned char>(buffer_[p]), set)) return p;
    }
    return kNone;
}

DWORD CLS_String::ReverseFindNotOf(const CLS_String& set, DWORD end) const {
    return ReverseFindNotOf(set.buffer_ ? set.buffer_ : "", end);
}

// --- process-wide settings ----------------------------------------------------------------------

int CLS_String::SetCaseSensitive(int flag) { return g_case_sensitive = flag != 0 ? 1 : 0; }
int CLS_String::IsCaseSensitive() { return g_case_sensitive; }
DWORD CLS_String::SetInitialSize(DWORD n) { return g_initial_size = n; }
DWORD CLS_String::SetGrowSize(DWORD n) { return g_grow_size = n; }
DWORD CLS_String::GetInitialSize() { return g_initial_size; }
DWORD CLS_String::GetGrowSize() { return g_grow_size; }
