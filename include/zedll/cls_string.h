// CLS_String, the growable 8-bit text of the library, and CLS_FileName, a path split into parts.
//
// Neither class is exported from the library. A host program builds and reads them with its own
// copy of the same code: the strings library (CMake target ZEDLL::strings, which ZEDLL::zedll
// brings along; `-lzedll_strings`). Strings made on either side may cross the interface: same
// layout, same rules, and buffers from the same process heap.
#ifndef ZEDLL_CLS_STRING_H
#define ZEDLL_CLS_STRING_H

#include <stdexcept>

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// Raised by CLS_String::GetAt, CheckIndex and CheckPosition for an index outside the text; the
/// one exception the library throws. Catch it as std::out_of_range.
class CLS_StringIndexError : public std::out_of_range {
public:
    explicit CLS_StringIndexError(DWORD index);
    ~CLS_StringIndexError() override;
    /// The index that was refused.
    DWORD GetIndex() const { return index_; }

private:
    DWORD index_;
};

/// Growable, zero-terminated 8-bit text (process code page), buffer from the process heap.
///
///   +0 (vptr) | buffer: char* | capacity: u32 | length: u32
///
/// buffer[length] is 0 and capacity >= length + 1; a capacity the class chooses is B + k*G, with B
/// and G the process-wide block sizes (SetInitialSize, SetGrowSize; 64 and 64 by default). After a
/// failed heap allocation buffer is null and capacity and length are 0; such an object acts as
/// empty (GetBuffer then returns null).
///
/// Positions and counts are unsigned 32-bit; count (DWORD)-1 means "up to the end"; searches return
/// (DWORD)-1 when nothing is found. Out-of-range positions leave the object unchanged; only GetAt,
/// CheckIndex and CheckPosition throw (CLS_StringIndexError).
///
/// Comparison: with case sensitivity on, the platform's collation (lstrcmpA on Windows; the C
/// locale's byte order, bytes taken as unsigned, on Linux); off, its case-insensitive variant
/// (lstrcmpiA; on Linux the same byte order after folding ASCII "A"-"Z" to lower case).
/// MakeLower/MakeUpper use CharLowerA/CharUpperA on Windows and ASCII-only mapping on Linux.
/// Searches compare bytes, folding 0x61-0x7F down by 0x20 when case sensitivity is off.
///
/// Threads: one object per thread; the process-wide settings are not locked.
class CLS_String {
public:
    static constexpr DWORD kAll = static_cast<DWORD>(-1);

    CLS_String();
    CLS_String(const CLS_String& other);
    /// Up to count characters of source from start (kAll: the rest); start past the end: empty.
    CLS_String(const CLS_String& source, DWORD start, DWORD count);
    CLS_String(const char* text);
    CLS_String(const char* text, DWORD start, DWORD count = kAll);
    CLS_String(char c);
    CLS_String(signed char c);
    CLS_String(unsigned char c);
    /// n copies of c.
    CLS_String(char c, DWORD n);
    CLS_String(signed char c, DWORD n);
    CLS_String(unsigned char c, DWORD n);
    /// a followed by b.
    CLS_String(const CLS_String& a, const char* b);
    virtual ~CLS_String();

    CLS_String& Assign(const CLS_String& other, DWORD start = 0, DWORD count = kAll);
    CLS_String& operator=(const CLS_String& other);
    CLS_String& Append(const CLS_String& other, DWORD start = 0, DWORD count = kAll);
    CLS_String& Append(const char* text);
    CLS_String& operator+=(const CLS_String& other);
    CLS_String& operator+=(const char* text);
    CLS_String operator+(const char* text) const;
    CLS_String operator+(const CLS_String& other) const;

    /// Compares the piece of other (start, count) with this whole text: negative when the piece
    /// sorts before this text, 0 when equal, positive after; 1 when the piece is out of range.
    int Compare(const CLS_String& other, DWORD start = 0, DWORD count = kAll) const;
    bool operator==(const CLS_String& o) const { return Compare(o) == 0; }
    bool operator!=(const CLS_String& o) const { return Compare(o) != 0; }
    bool operator<(const CLS_String& o) const { return Compare(o) > 0; }
    bool operator<=(const CLS_String& o) const { return Compare(o) >= 0; }
    bool operator>(const CLS_String& o) const { return Compare(o) < 0; }
    bool operator>=(const CLS_String& o) const { return Compare(o) <= 0; }
    bool operator==(const char* t) const { return *this == CLS_String(t); }
    bool operator!=(const char* t) const { return *this != CLS_String(t); }
    bool operator<(const char* t) const { return *this < CLS_String(t); }
    bool operator<=(const char* t) const { return *this <= CLS_String(t); }
    bool operator>(const char* t) const { return *this > CLS_String(t); }
    bool operator>=(const char* t) const { return *this >= CLS_String(t); }

    /// Inserts the piece of other before pos; nothing happens unless pos < length and
    /// start < other's length (append at the end with Append).
    CLS_String& Insert(DWORD pos, const CLS_String& other, DWORD start = 0, DWORD count = kAll);
    /// Removes count characters from pos (kAll, or a count reaching the end: the whole tail).
    CLS_String& Delete(DWORD pos, DWORD count);
    /// Delete(pos, count), then the piece of the source goes in at pos (appended when the deletion
    /// reached the end). Nothing happens unless pos < length and start <= the source's length.
    CLS_String& Replace(DWORD pos, DWORD count, const CLS_String& other, DWORD start = 0,
                        DWORD count2 = kAll);
    CLS_String& Replace(DWORD pos, DWORD count, const char* text, DWORD start = 0,
                        DWORD count2 = kAll);

    DWORD GetLength() const { return length_; }
    DWORD GetCapacity() const { return capacity_; }
    char* GetBuffer() const { return buffer_; }
    /// Pointer to the character at offset; the offset is not checked.
    char* GetBuffer(DWORD offset) const { return buffer_ + offset; }
    /// The character at index; throws CLS_StringIndexError when index >= length.
    char GetAt(DWORD index) const;
    /// Unchecked.
    char& operator[](DWORD index) { return buffer_[index]; }
    char operator[](DWORD index) const { return buffer_[index]; }
    int IsValidIndex(DWORD i) const { return i < length_; }
    int IsValidPosition(DWORD i) const { return i <= length_; }
    /// Throw CLS_StringIndexError when i >= length / i > length.
    void CheckIndex(DWORD i) const;
    void CheckPosition(DWORD i) const;
    char* MakeLower();
    char* MakeUpper();
    /// Copies at most count characters (kAll: as many as dst's current text is long) to dst and
    /// terminates it; returns min(count, length).
    DWORD GetText(char* dst, DWORD count = kAll) const;
    /// The same from start; start >= length returns 0 and leaves dst untouched.
    DWORD GetText(char* dst, DWORD count, DWORD start) const;

    DWORD Find(const char* pattern, DWORD start = 0) const;
    DWORD Find(const CLS_String& pattern, DWORD start = 0) const;
    DWORD ReverseFind(const char* pattern, DWORD end = kAll) const;
    DWORD ReverseFind(const CLS_String& pattern, DWORD end = kAll) const;
    int Contains(const char* pattern) const;
    int Contains(const CLS_String& pattern) const;
    /// Index within set of its first character not found in the text from start; -1 otherwise.
    DWORD FindFirstMissing(const char* set, DWORD start) const;
    DWORD FindFirstMissing(const CLS_String& set, DWORD start) const;
    /// Last position <= end whose character is not in set; -1 when none.
    DWORD ReverseFindNotOf(const char* set, DWORD end = kAll) const;
    DWORD ReverseFindNotOf(const CLS_String& set, DWORD end = kAll) const;

    /// Process-wide settings (not locked: set them before threads share strings).
    static int SetCaseSensitive(int flag);
    static int IsCaseSensitive();
    static DWORD SetInitialSize(DWORD n);
    static DWORD SetGrowSize(DWORD n);
    static DWORD GetInitialSize();
    static DWORD GetGrowSize();

private:
    void InitPiece(const char* text, DWORD text_len, DWORD start, DWORD count);
    bool Resize(DWORD new_capacity);
    void Fail();

    char* buffer_;
    DWORD capacity_;
    DWORD length_;
};

inline bool operator==(const char* t, const CLS_String& s) { return CLS_String(t) == s; }
inline bool operator!=(const char* t, const CLS_String& s) { return CLS_String(t) != s; }
inline bool operator<(const char* t, const CLS_String& s) { return CLS_String(t) < s; }
inline bool operator<=(const char* t, const CLS_String& s) { return CLS_String(t) <= s; }
inline bool operator>(const char* t, const CLS_String& s) { return CLS_String(t) > s; }
inline bool operator>=(const char* t, const CLS_String& s) { return CLS_String(t) >= s; }

/// A Windows-style path ("C:\dir\name.ext") and its parts. Each Get... writes its part into dst
/// (which must hold the whole path plus a terminator; GetFileName at most 255 + 1 + 255 + 1
/// bytes) and returns dst; a missing part is written as an empty text.
class CLS_FileName : public CLS_String {
public:
    CLS_FileName(const char* path);
    CLS_FileName(const CLS_FileName& other);
    CLS_FileName& operator=(const CLS_FileName& other);
    ~CLS_FileName() override;

    /// Up to and including the last "\".
    char* GetPath(char* dst) const;
    /// The path without the drive.
    char* GetDirectory(char* dst) const;
    /// Up to and including the first ":" (when it is not the first character).
    char* GetDrive(char* dst) const;
    char* GetName(char* dst) const;
    /// After the last "." of the name.
    char* GetExtension(char* dst) const;
    /// The last "." of the name and what follows.
    char* GetDotExtension(char* dst) const;
    /// Name, ".", extension (the dot also when the extension is empty); empty without a name.
    char* GetFileName(char* dst) const;
};

#endif
