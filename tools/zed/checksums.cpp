// zed crc32, zed md5 and zed history show: the library's checksums and history file on real files.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "progress.h"
#include "standard_input.h"
#include "zedll.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace zedtool {
namespace {

// Short names for the numbers the file operations return (the numbers are the platform's).
const char* Describe(unsigned long code) {
    switch (code) {
    case 2: return "no such file";
    case 3: return "no such folder";
    case 5: return "access denied";
    case 23: return "the file could not be read through";
    case 24: return "the size of the file could not be read";
    case 32: return "the file is in use";
    default: return "error";
    }
}

}  // namespace

int RunCrc32(const std::vector<std::string>& files, const std::string& strategy) {
    using Run = unsigned long (*)(const char*, unsigned long&);
    Run run = &Crc32::FileCrc32Filemap;
    bool known_progress = false;   // the read strategies show up in the process's read count
    if (strategy == "streams") {
        run = &Crc32::FileCrc32Streams;
        known_progress = true;
    } else if (strategy == "win32") {
        run = &Crc32::FileCrc32Win32;
        known_progress = true;
    } else if (strategy == "assembly") {
        run = &Crc32::FileCrc32Assembly;
        known_progress = true;
    } else if (strategy != "filemap") {
        std::cerr << "zed crc32: unknown strategy " << strategy << "\n";
        return 2;
    }
    int status = 0;
    for (const std::string& shown : files) {
        std::unique_ptr<SpooledInput> spool;
        if (shown == "-") spool = std::make_unique<SpooledInput>();
        const std::string name = spool ? spool->name() : shown;
        if (spool && name.empty()) {
            std::fprintf(stderr, "zed crc32: -: cannot read standard input\n");
            status = 1;
            continue;
        }
        unsigned long crc = 0, result = 0;
        const int64_t base = ProcessBytesRead();
        RunWithProgress(name, FileSize(name), [&] { result = run(name.c_str(), crc); },
                        [&]() -> int64_t {
                            const int64_t now = ProcessBytesRead();
                            return known_progress && base >= 0 && now >= 0 ? now - base : -1;
                        });
        if (result != 0) {
            std::fprintf(stderr, "zed crc32: %s: %s (%lu)\n", shown.c_str(), Describe(result), result);
            status = 1;
            continue;
        }
        std::printf("%08lx  %s\n", crc & 0xFFFFFFFFul, shown.c_str());
    }
    std::fflush(stdout);
    return status;
}

int RunMd5(const std::vector<std::string>& files) {
    int status = 0;
    for (const std::string& name : files) {
        const bool standard_input = name == "-";
#if defined(_WIN32)
        if (standard_input) _setmode(_fileno(stdin), _O_BINARY);
#endif
        FILE* f = standard_input ? stdin : std::fopen(name.c_str(), "rb");
        if (f == nullptr) {
            std::fprintf(stderr, "zed md5: %s: cannot open\n", name.c_str());
            status = 1;
            continue;
        }
        MD5 md5;
        unsigned char digest[16];
        bool ok = false;
        RunWithProgress(name, FileSize(name), [&] { ok = md5.computeSum(f, digest); },
                        [&]() -> int64_t { return standard_input ? -1 : static_cast<int64_t>(std::ftell(f)); });
        if (!standard_input) std::fclose(f);
        if (!ok) {
            std::fprintf(stderr, "zed md5: %s: read error\n", name.c_str());
            status = 1;
            continue;
        }
        md5.printSum(digest);
        std::printf("  %s\n", name.c_str());
    }
    std::fflush(stdout);
    return status;
}

int RunHistoryShow(const std::string& file, std::ostream& out) {
    // The history writes its file back when it is destroyed, so it is pointed at a copy: showing
    // a file never changes it.
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "zed history show: " << file << ": cannot open\n";
        return 1;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    static const char kSignature[18] = "ZEHistory66100501";
    if (bytes.size() < 18 || std::memcmp(bytes.data(), kSignature, 18) != 0) {
        std::cerr << "zed history show: " << file << ": not a history file\n";
        return 1;
    }
    int32_t stored = 0;
    if (bytes.size() >= 22)
        for (int i = 0; i < 4; ++i)
            stored |= static_cast<int32_t>(static_cast<unsigned char>(bytes[18 + i])) << (8 * i);
    // Room for every record the file holds (at most one per 4 bytes after the header).
    const int64_t most = static_cast<int64_t>((bytes.size() - 18) / 4) + 1;
    // A count above that cannot be right, and a history drops (count - capacity) records by the
    // count it finds: the working copy says 0 instead, so that every whole record is listed.
    if (stored >= most && bytes.size() >= 22) std::memset(bytes.data() + 18, 0, 4);
    std::error_code ec;
    const std::string copy =
        (std::filesystem::temp_directory_path(ec) / ("zed-history-show-" + std::to_string(std::rand()) + ".tmp"))
            .string();
    {
        std::ofstream tmp(copy, std::ios::binary | std::ios::trunc);
        tmp.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!tmp) {
            std::cerr << "zed history show: cannot write the working copy " << copy << "\n";
            return 1;
        }
    }
    const int capacity = static_cast<int>(stored > 0 && stored < most ? stored : most);
    int shown = 0;
    {
        std::string name = copy;   // the constructor takes a writable name
        CLS_History history(name.data(), capacity);
        out << file << ": " << history.GetCount() << " record(s), count field " << stored << ", "
            << bytes.size() << " bytes\n";
        for (int i = 0; i < history.GetCount(); ++i) {
            CLS_History::CLS_History_obj* rec = history.Get(i);
            out << "  #" << i << "  " << rec->length << " bytes  ";
            bool text = true;
            for (uint32_t k = 0; k < rec->length; ++k)
                if (rec->data[k] < 0x20 || rec->data[k] > 0x7E) text = false;
            const uint32_t shown_bytes = rec->length < 48 ? rec->length : 48;
            if (text) {
                out << '"' << std::string(reinterpret_cast<char*>(rec->data), shown_bytes) << '"';
            } else {
                char hex[4];
                for (uint32_t k = 0; k < shown_bytes; ++k) {
                    std::snprintf(hex, sizeof hex, "%02x", rec->data[k]);
                    out << hex << (k + 1 < shown_bytes ? " " : "");
                }
            }
            out << (rec->length > shown_bytes ? " ..." : "") << "\n";
            ++shown;
        }
    }
    std::remove(copy.c_str());
    return 0;
}

}  // namespace zedtool
