// Crc32: the exported table, the string checksum and the four ways of reading a file.
#include <cstring>
#include <memory>
#include <new>

#include "os/windows_error.h"
#include "util/crc32_kernel.h"
#include "util/file.h"
#include "zedll/util.h"

namespace pf = zed::os;
namespace fc = zed::file_const;

namespace {

constexpr unsigned long kStart = 0xFFFFFFFFu;
constexpr unsigned long kFault = zed::win_error::kCrc;          // the file or text could not be read through
constexpr unsigned long kNoSize = zed::win_error::kBadLength;         // the size of the opened file could not be read
// Reads of 256 KiB: they stay in the cache between the copy and the checksum, and take far fewer
// calls than 4 KiB blocks for the same bytes.
constexpr DWORD kBlockBytes = 256u << 10;
// Views of at most 10 MiB (0xA00000) in a 32-bit process, whose address space may hold no larger
// free range; a 64-bit process maps 64 MiB at a time. Both are multiples of every platform's
// mapping granularity, so each view starts on it.
constexpr uint64_t kViewBytes = sizeof(void*) == 4 ? uint64_t{0xA00000} : uint64_t{64} << 20;
static_assert(kViewBytes % 0x10000 == 0, "views start on the mapping granularity");

// The block buffer of the read strategies; a small one on the stack if the heap says no.
class Block {
public:
    Block() : heap_(new (std::nothrow) unsigned char[kBlockBytes]) {}
    unsigned char* data() { return heap_ ? heap_.get() : small_; }
    DWORD size() const { return heap_ ? kBlockBytes : static_cast<DWORD>(sizeof small_); }

private:
    std::unique_ptr<unsigned char[]> heap_;
    unsigned char small_[4096];
};

unsigned long Finish(uint32_t reg, unsigned long& crc, unsigned long result) {
    crc = static_cast<unsigned long>(~reg & 0xFFFFFFFFu);
    return result;
}

// The platform read loop shared by the Win32 and Assembly strategies.
unsigned long ReadPlatform(const char* name, unsigned long& crc) {
    crc = kStart;
    uint32_t reg = 0xFFFFFFFFu;
    HANDLE h;
    const DWORD err = pf::FileOpen(name, fc::kOpenExisting, fc::kGenericRead, fc::kShareRead,
                                   fc::kFlagSequentialScan, &h);
    if (err != 0) return Finish(reg, crc, err);
    Block block;
    for (;;) {
        DWORD got = 0;
        if (pf::FileRead(h, block.data(), block.size(), &got) != 0 || got == 0) break;
        reg = zed::crc32::Update(reg, block.data(), got);
    }
    pf::FileClose(h);
    return Finish(reg, crc, 0);
}

}  // namespace

const DWORD Crc32::TableCrc32[256] = {
#include "util/crc32_table.inc"
};

Crc32::Crc32() = default;
Crc32::Crc32(const Crc32&) = default;
Crc32::~Crc32() = default;
Crc32& Crc32::operator=(const Crc32&) = default;

void Crc32::CalcCrc32(unsigned char byte, unsigned long& crc) {
    crc = (crc >> 8) ^ TableCrc32[(crc ^ byte) & 0xFF];
}

unsigned long Crc32::StringCrc32(const char* text, unsigned long& crc) {
    crc = kStart;
    if (text == nullptr) return Finish(0xFFFFFFFFu, crc, kFault);
    // The terminator is looked for a cache-sized piece at a time, so the checksum reads each
    // piece while it is still in the cache (one pass over memory instead of two).
    constexpr size_t kPiece = 64 * 1024;
    uint32_t reg = 0xFFFFFFFFu;
    for (const char* p = text;; p += kPiece) {
        const void* end = std::memchr(p, 0, kPiece);
        if (end != nullptr) {
            reg = zed::crc32::Update(reg, p, static_cast<size_t>(static_cast<const char*>(end) - p));
            break;
        }
        reg = zed::crc32::Update(reg, p, kPiece);
    }
    return Finish(reg, crc, 0);
}

unsigned long Crc32::FileCrc32Win32(const char* name, unsigned long& crc) {
    return ReadPlatform(name, crc);
}

unsigned long Crc32::FileCrc32Assembly(const char* name, unsigned long& crc) {
    return ReadPlatform(name, crc);
}

unsigned long Crc32::FileCrc32Streams(const char* name, unsigned long& crc) {
    crc = kStart;
    uint32_t reg = 0xFFFFFFFFu;
    CLS_File file;
    if (!file.Open(name, fc::kOpenExisting, fc::kGenericRead, fc::kShareRead, 0))
        return Finish(reg, crc, file.GetLastError());
    Block block;
    for (;;) {
        const DWORD got = file.Read(block.data(), block.size());
        if (got == 0 || got == CLS_File::kFailed) break;
        reg = zed::crc32::Update(reg, block.data(), got);
    }
    file.Close();
    return Finish(reg, crc, 0);
}

bool Crc32::GetFileSizeQW(HANDLE file, int64_t& size) {
    uint64_t s = 0;
    if (pf::FileGetSize(file, &s) != 0) {
        size = 0;
        return false;
    }
    size = static_cast<int64_t>(s);
    return true;
}

unsigned long Crc32::FileCrc32Filemap(const char* name, unsigned long& crc) {
    crc = kStart;
    uint32_t reg = 0xFFFFFFFFu;
    HANDLE h;
    DWORD err = pf::FileOpen(name, fc::kOpenExisting, fc::kGenericRead, fc::kShareRead,
                             fc::kFlagSequentialScan, &h);
    if (err != 0) return Finish(reg, crc, err);
    int64_t size = 0;
    unsigned long result = 0;
    if (!GetFileSizeQW(h, size)) {
        result = kNoSize;
    } else if (size > 0) {
        pf::FileMapping* mapping = nullptr;
        err = pf::MappingOpen(h, &mapping);
        if (err != 0) {
            result = err;
        } else {
            const uint64_t total = static_cast<uint64_t>(size);
            for (uint64_t at = 0; at < total; at += kViewBytes) {
                const size_t n = static_cast<size_t>(total - at < kViewBytes ? total - at : kViewBytes);
                const void* view = nullptr;
                if (pf::MappingView(mapping, at, n, &view) != 0) {
                    result = kFault;
                    break;
                }
                reg = zed::crc32::Update(reg, view, n);
                pf::MappingUnview(view, n);
            }
            pf::MappingClose(mapping);
        }
    }
    pf::FileClose(h);
    return Finish(reg, crc, result);
}
