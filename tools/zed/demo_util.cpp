// zed demo, checksums and containers: the sample outline's bytes checksummed, written as letter
// hexadecimal, passed through a FIFO and kept in a history.
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "commands.h"
#include "sample_outline.h"
#include "zedll.h"

namespace zedtool {

void DemoUtil(std::ostream& out) {
    const std::vector<tagAPOINT> outline = SampleOutline();
    const auto* bytes = reinterpret_cast<const unsigned char*>(outline.data());
    const unsigned long size = static_cast<unsigned long>(outline.size() * sizeof(tagAPOINT));

    out << "\nChecksums of the outline's " << size << " bytes\n";
    unsigned long crc = 0;
    Crc32::StringCrc32("123456789", crc);
    char line[80];
    std::snprintf(line, sizeof line, "  CRC-32 of \"123456789\"      %08lx (the standard check value)\n", crc);
    out << line;
    // The outline holds zero bytes, so its CRC-32 runs the table step over the whole array.
    unsigned long running = 0xFFFFFFFFul;
    for (unsigned long i = 0; i < size; ++i)
        running = (running >> 8) ^ Crc32::TableCrc32[(running ^ bytes[i]) & 0xFF];
    std::snprintf(line, sizeof line, "  CRC-32 of the outline        %08lx\n", running ^ 0xFFFFFFFFul);
    out << line;
    MD5 md5;
    unsigned char digest[16];
    md5.computeSum(bytes, size, digest);
    out << "  MD5 of the outline           ";
    for (unsigned char d : digest) {
        std::snprintf(line, sizeof line, "%02x", d);
        out << line;
    }
    out << "\n";

    std::vector<unsigned char> letters(2 * sizeof(tagAPOINT));
    BuferBinToAscii(bytes + sizeof(tagAPOINT), static_cast<int>(sizeof(tagAPOINT)), letters.data());
    out << "  second point as letters      " << std::string(letters.begin(), letters.end()) << "\n";
    CLS_HexConvertor hex;
    char byte_text[] = "7f";   // the parsers take writable text
    char qword_text[] = "123456789ABCDEF0";
    out << "  \"7f\" and \"123456789ABCDEF0\" read as hexadecimal: " << +hex.AsciiToByte(byte_text)
        << ", " << hex.AsciiToQWord(qword_text) << "\n";

    // Each point travels through a FIFO as a record: its length, then the point.
    struct PointRecord {
        uint32_t length;
        tagAPOINT point;
    };
    CLS_FIFO fifo(static_cast<int>(outline.size()));
    for (const tagAPOINT& p : outline) {
        PointRecord r{sizeof(PointRecord), p};
        fifo.Write(reinterpret_cast<LifoFifoItem*>(&r));
    }
    int same = 0, taken = 0;
    PointRecord r{};
    while (fifo.Read(reinterpret_cast<LifoFifoItem*>(&r))) {
        same += std::memcmp(&r.point, &outline[static_cast<size_t>(taken)], sizeof(tagAPOINT)) == 0;
        ++taken;
    }
    out << "  FIFO of " << fifo.GetSize() << " slots: " << taken << " points in, " << same
        << " came back unchanged and in order\n";

    CLS_History history;   // in memory only: no file
    for (size_t i = 0; i < outline.size(); ++i) {
        const std::string note = "corner " + std::to_string(i);
        CLS_History::CLS_History_obj o{static_cast<uint32_t>(note.size()),
                                       reinterpret_cast<unsigned char*>(const_cast<char*>(note.data()))};
        history.Put(&o);
    }
    const CLS_History::CLS_History_obj* oldest = history.Get(0);
    const CLS_History::CLS_History_obj* newest = history.Get(-1);
    out << "  history of " << history.GetCapacity() << " keeps " << history.GetCount() << ": from \""
        << std::string(reinterpret_cast<char*>(oldest->data), oldest->length) << "\" to \""
        << std::string(reinterpret_cast<char*>(newest->data), newest->length) << "\"\n";
}

}  // namespace zedtool
