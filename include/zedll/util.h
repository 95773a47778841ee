// Checksums (CRC-32, MD5), FIFO/LIFO/stack queues of variable-length records, the history file and
// the letter-hexadecimal text conversion.
#ifndef ZEDLL_UTIL_H
#define ZEDLL_UTIL_H

#include <cstdint>
#include <cstdio>

#include "zedll/export.h"
#include "zedll/platform_types.h"

class CLS_File;

// ---------------------------------------------------------------------------------------------
// CRC-32

/// The CRC-32 of IEEE 802.3 and zlib (reflected polynomial 0xEDB88320, initial value 0xFFFFFFFF,
/// final complement) over a string or a whole file. No state: every operation is static and may
/// run on several threads at once. The crc argument is set to 0xFFFFFFFF first and complemented
/// at the end whatever the result, so a file that cannot be opened leaves it at 0.
///
/// File results: 0 success (an empty file too, crc 0); the platform's error number when the file
/// cannot be opened (2 for a missing file, 3 for a missing folder, on every platform); 24
/// (FileCrc32Filemap) the size could not be read; 23 the file could not be read through (a view
/// that could not be mapped). A read failure part-way ends the loop early: crc covers what was
/// read.
class ZEDLL_API Crc32 {
public:
    Crc32();
    Crc32(const Crc32& other);
    virtual ~Crc32();
    Crc32& operator=(const Crc32& other);

    /// Entry i is the remainder of the byte i: entry 1 is 0x77073096, entry 255 0x2D02EF8D.
    static const DWORD TableCrc32[256];

    /// CRC-32 of the bytes before the terminating zero; 0. A null text gives 23 and crc 0.
    static unsigned long StringCrc32(const char* text, unsigned long& crc);
    /// Through the library's file class, in blocks.
    static unsigned long FileCrc32Streams(const char* name, unsigned long& crc);
    /// Through the platform's file calls with the sequential-scan hint.
    static unsigned long FileCrc32Win32(const char* name, unsigned long& crc);
    /// Through a read-only mapping, in consecutive views (at most 10485760 bytes each in a
    /// 32-bit process).
    static unsigned long FileCrc32Filemap(const char* name, unsigned long& crc);
    /// As FileCrc32Win32, with the running value kept in a local between blocks.
    static unsigned long FileCrc32Assembly(const char* name, unsigned long& crc);

protected:
    /// true and the 64-bit size of an open file; false and 0 when the platform cannot tell.
    static bool GetFileSizeQW(HANDLE file, int64_t& size);
    /// One table step: crc = (crc >> 8) ^ TableCrc32[(crc ^ byte) & 0xFF].
    static void CalcCrc32(unsigned char byte, unsigned long& crc);
};

// ---------------------------------------------------------------------------------------------
// MD5

/// The MD5 message digest of RFC 1321 over a buffer or a C stream. A digest is 16 bytes in RFC
/// order. Each object owns a working context (allocated by the constructor); copies get their own
/// copy of it. One object must not be used by two threads at once.
class ZEDLL_API MD5 {
public:
    MD5();
    MD5(const MD5& other);
    ~MD5();
    MD5& operator=(const MD5& other);

    /// Digest of `length` bytes into `digest` (16 bytes). Nothing is written if either pointer
    /// is null (with a non-zero length) or the context could not be allocated.
    void computeSum(const unsigned char* data, unsigned long length, unsigned char* digest);
    /// true when the digest of the data equals the 16 bytes at `expected`.
    bool compareSum(const unsigned char* data, unsigned long length, const unsigned char* expected);
    /// Writes the digest as 32 lowercase hexadecimal digits to standard output, no line end.
    void printSum(const unsigned char* digest);
    /// Rewinds, reads to the end in blocks of up to 1024 bytes (fread) and writes the digest. false on a read error (the
    /// stream stays where reading stopped); on success the stream is rewound again.
    bool computeSum(FILE* stream, unsigned char* digest);
    /// false on a read error or a mismatch.
    bool compareSum(FILE* stream, const unsigned char* expected);
    /// false on a read error; otherwise prints the stream's digest as printSum above.
    bool printSum(FILE* stream);

protected:
    void MD5Init();
    void MD5Update(const unsigned char* data, unsigned long length);
    void MD5Final(unsigned char* digest);

private:
    struct Context;
    /// The RFC 1321 block transform of one 64-byte block given as sixteen little-endian words.
    static void MD5Transform(uint32_t state[4], const uint32_t block[16]);
    Context* context_;
};

// ---------------------------------------------------------------------------------------------
// FIFO, LIFO and stack

/// A caller-built record of variable length. The containers look only at `length`, the size in
/// bytes of the whole record, this field included; the caller's data follows it:
///
///   +0        +4                 +length
///   | length | caller's bytes... |
///   | u32    |                   |
///
/// Any length is stored, 0 to 3 included; only a null record is refused. Storing copies `length`
/// bytes and a take writes exactly `length` bytes into the caller's buffer, so a record shorter
/// than its own length field is only the first `length` bytes of that field, and a take of it
/// leaves the rest of the caller's field as it was (a length of 0 writes nothing).
struct LifoFifoItem {
    uint32_t length;
};

/// First in, first out: a fixed number of slots (10 by default), a private copy of each record.
/// Every store, take, discard and initialise holds the object's own recursive lock, so a producer
/// and a consumer on two threads may share one object. Take operations copy `length` bytes into
/// the caller's buffer, which must be large enough. Copies (construction and assignment) are
/// deep: their own lock, slots and record copies.
class ZEDLL_API CLS_FIFO {
public:
    CLS_FIFO();
    explicit CLS_FIFO(int size);
    CLS_FIFO(const CLS_FIFO& other);
    ~CLS_FIFO();
    CLS_FIFO& operator=(const CLS_FIFO& other);

    /// Empties the queue and takes new slots: 1, or 0 when they could not be obtained.
    int InitFifo();
    /// 1 stored (any length, 0 included); 0 when full, the record is null or the copy could not
    /// be made.
    int Write(LifoFifoItem* item);
    /// 1 and the oldest record copied into `item`; 0 when empty (or `item` is null).
    int Read(LifoFifoItem* item);
    /// New number of slots; empties the queue. 1 or 0 as InitFifo.
    int SetSize(int size);
    int GetSize();
    bool IsOk();
    bool IsItem();
    /// Discards the n oldest records; n <= 0 discards all.
    void FreeTop(int n);
    /// Discards the n newest records; n <= 0 discards all.
    void FreeBottom(int n);

private:
    int read_;
    int write_;
    int count_;
    int size_;
    LifoFifoItem** slots_;
    void* lock_;
    int ok_;
};

namespace zed {
struct LifoAccess;   // the steps CLS_LIFO and CLS_Stack share
}

/// Last in, first out, with the rules of CLS_FIFO; holds size - 1 records (slot 0 stays empty).
class ZEDLL_API CLS_LIFO {
public:
    CLS_LIFO();
    explicit CLS_LIFO(int size);
    CLS_LIFO(const CLS_LIFO& other);
    ~CLS_LIFO();
    CLS_LIFO& operator=(const CLS_LIFO& other);

    int InitLifo();
    int Write(LifoFifoItem* item);
    /// 1 and the newest record copied into `item`; 0 when empty.
    int Read(LifoFifoItem* item);
    int SetSize(int size);
    int GetSize();
    bool IsOk();
    bool IsItem();
    /// Discards the n newest records; n <= 0 discards all.
    void FreeTop(int n);
    /// Discards the n oldest records, the rest move down in order; n <= 0 discards all.
    void FreeBottom(int n);

private:
    friend struct zed::LifoAccess;
    int depth_;
    int size_;
    LifoFifoItem** slots_;
    void* lock_;
    int ok_;
};

/// CLS_LIFO under stack names: Push, Pop, FreeTop; holds size - 1 records.
class ZEDLL_API CLS_Stack {
public:
    CLS_Stack();
    explicit CLS_Stack(int size);
    CLS_Stack(const CLS_Stack& other);
    ~CLS_Stack();
    CLS_Stack& operator=(const CLS_Stack& other);

    int InitStack();
    int Push(LifoFifoItem* item);
    int Pop(LifoFifoItem* item);
    int GetSize();
    bool IsOk();
    bool IsItem();
    void FreeTop(int n);

private:
    friend struct zed::LifoAccess;
    int depth_;
    int size_;
    LifoFifoItem** slots_;
    void* lock_;
    int ok_;
};

// ---------------------------------------------------------------------------------------------
// History file

/// The last N records a host hands over (N = capacity), mirrored in a small file that survives
/// from one run to the next. The file (little-endian):
///
///   +0                   +18         +22
///   | "ZEHistory66100501" 0 | count i32 | L u32 | L bytes | L u32 | L bytes | ... (oldest first)
///
/// and ends right after the last record. The file stays open (reading shared) for the object's
/// life; Flush and the destructor write it back. A file that cannot be opened or carries another
/// signature leaves the object not valid and empty, and is never written. A file whose stored
/// count exceeds the capacity has the first (count - capacity) records dropped, the count taken
/// as stored; loading then stops at the first record that is not whole (a damaged file loads the
/// whole records before the damage). No locks: one object, one thread at a time.
///
/// Copies (construction and assignment) are deep: their own copies of the records and their own
/// duplicate of the file handle, so that each writes the file back once and nothing is released
/// twice; whichever is destroyed last leaves its records in the file.
class ZEDLL_API CLS_History {
public:
    /// One record: `length` bytes at `data`.
    struct CLS_History_obj {
        uint32_t length;
        unsigned char* data;
    };

    /// No file, no records, capacity 10, not valid.
    CLS_History();
    /// Opens or creates `name` and loads its newest `capacity` records. Capacity 0 opens the file
    /// too and keeps no record (Flush writes the count 0 and cuts the file; Put returns false).
    /// A negative capacity is refused: not valid, the file is not opened.
    CLS_History(char* name, int capacity);
    CLS_History(const CLS_History& other);
    /// Writes back, closes the file and releases the records.
    ~CLS_History();
    CLS_History& operator=(const CLS_History& other);

    /// Adds a copy of the record (dropping the oldest when full). false when the copy could not
    /// be allocated (or the record is null, or the capacity is 0). The caller keeps its record.
    bool Put(CLS_History_obj* record);
    /// Index 0 is the oldest, count - 1 (or -1) the newest; null otherwise. The pointer stays
    /// valid until the next Put, assignment or destruction.
    CLS_History_obj* Get(int index);
    /// Writes every record to the file and cuts what an older, longer content left behind.
    void Flush();

    /// Records held.
    int GetCount() const;
    /// Most records kept.
    int GetCapacity() const;
    /// Whether the file was opened and was new or carried the signature.
    bool IsValid() const;

private:
    bool ReadItem(CLS_History_obj* item);
    bool WriteItem(CLS_History_obj* item);

    CLS_File* file_;
    int count_;
    int capacity_;
    uint8_t valid_;
    CLS_History_obj* records_;
};

// ---------------------------------------------------------------------------------------------
// Hexadecimal text

/// Two letters per byte, with no terminating zero: the low half as "A".."P", the high half as
/// "K".."Z" (0x12 0xFF 0x5A -> "CLPZKP"). `dst` receives 2n characters; nothing for n <= 0 or
/// null pointers.
ZEDLL_FUNC void ZEDLL_STDCALL BuferBinToAscii(const unsigned char* src, int n, unsigned char* dst);
/// The reverse: n / 2 bytes from n characters (either case; an odd last one is ignored). Other
/// characters still yield a byte by the same arithmetic.
ZEDLL_FUNC void ZEDLL_STDCALL BuferAsciiToBin(const char* src, int n, unsigned char* dst);

/// Hexadecimal text to numbers. No data, no state.
class ZEDLL_API CLS_HexConvertor {
public:
    CLS_HexConvertor();
    ~CLS_HexConvertor();

    /// At most two hexadecimal digits at the start of the text ("7f" -> 127, "abc" -> 171);
    /// 0 when it does not begin with one (or is null).
    unsigned char AsciiToByte(char* text);
    /// Always 0.
    unsigned short AsciiToWord(char* text);
    /// Always 0.
    unsigned long AsciiToDWord(char* text);
    /// The text read as hexadecimal from its last character backwards ("FF" -> 255); digits
    /// beyond the 16th from the end fall outside; control characters count as 0. Null gives -1.
    int64_t AsciiToQWord(char* text);
    /// Always null; nothing is written.
    char* AsciiToByte(char* text, int size, unsigned char value);
    /// Always null; nothing is written.
    char* WordToAscii(char* text, int size, unsigned short value);
    /// Always null; nothing is written.
    char* AsciiToDWord(char* text, int size, unsigned long value);
    /// Always null; nothing is written.
    char* AsciiToQWord(char* text, int size, int64_t value);
};

#endif
