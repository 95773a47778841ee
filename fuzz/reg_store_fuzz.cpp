// Fuzz target: a program's settings read through OPT_RegOptions from a damaged hive file of the
// Linux registry store, then written once.
//
// Asserts: reads give a value or their default without harm; the write succeeds and changes no
// other value; a copy of the tree reads the same; the hive the store writes back reads again and
// is its own fixed point (read, write gives the same text).
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "os/posix/registry_hive.h"
#include "zedll/reg_options.h"

namespace hive = zed::os::hive;

namespace {

// The value names the seeds use; what the fuzzer spells differently is simply not read.
const char* const kNames[] = {"s", "d", "b", "x", "", "v", "long"};

// Everything OPT_RegOptions tells about one value.
struct Reading {
    int string_result;
    char text[64];
    DWORD number;
    DWORD binary_size;
    unsigned char binary[64];
    uint64_t double_bits;
    DWORD color;
    int flag;
    char character;
    int kinds[7];

    bool operator==(const Reading& o) const { return std::memcmp(this, &o, sizeof o) == 0; }
};

Reading Read(OPT_RegOptions& options, const char* name) {
    Reading r;
    std::memset(&r, 0, sizeof r);  // padding included: readings compare as bytes
    r.string_result = options.GetString(name, "default", r.text, sizeof r.text);
    r.number = options.GetDword(name, DWORD{7});
    const unsigned char def[2] = {0xAB, 0xCD};
    r.binary_size = options.GetBinary(name, def, sizeof def, r.binary, sizeof r.binary);
    const double d = options.GetDouble(name, 1.5);
    std::memcpy(&r.double_bits, &d, sizeof d);
    r.color = options.GetColor(name, 0x00030201);
    r.flag = options.GetBool(name, 1);
    r.character = options.GetChar(name, 'c');
    r.kinds[0] = options.IsString(name);
    r.kinds[1] = options.IsDword(name);
    r.kinds[2] = options.IsBinary(name);
    r.kinds[3] = options.IsDouble(name);
    r.kinds[4] = options.IsBool(name);
    r.kinds[5] = options.IsChar(name);
    r.kinds[6] = options.HasValue(name, 1, static_cast<DWORD>(-1));
    return r;
}

const std::string& StoreDir() {
    static const std::string dir = [] {
        const std::string path = zedfuzz::ScratchPath("store");
        ::mkdir(path.c_str(), 0700);
        setenv("ZEDLL_REGISTRY_DIR", path.c_str(), 1);
        return path;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string dir = StoreDir();
    const std::string user = dir + "/HKEY_CURRENT_USER.reg";
    // A new file each time (a new inode while the store still holds the old one open), so the
    // store reads it afresh; the copy's product is not in the input and starts empty.
    ::unlink(user.c_str());
    ::unlink((dir + "/HKEY_LOCAL_MACHINE.reg").c_str());
    zedfuzz::WriteFile(user, data, size);

    OPT_RegOptions options("FuzzCo", "P", "1");
    std::vector<Reading> before;
    for (const char* name : kNames) before.push_back(Read(options, name));
    (void)options.KeyExists();
    (void)options.Export(zedfuzz::ScratchPath("store-export.reg").c_str());

    FUZZ_CHECK(options.SetDword("probe", DWORD{0x2a}) == 1);
    FUZZ_CHECK(options.GetDword("probe", DWORD{0}) == 0x2a);
    for (std::size_t i = 0; i < before.size(); ++i) FUZZ_CHECK(Read(options, kNames[i]) == before[i]);

    // A destination that already holds values would mix them in: only a fresh one is compared.
    OPT_RegOptions copy("FuzzCo", "Q", "1");
    const bool fresh = copy.KeyExists() == 0;
    if (options.CopyTo("FuzzCo", "Q", "1", 1, 1) == 1 && fresh) {
        for (std::size_t i = 0; i < before.size(); ++i) FUZZ_CHECK(Read(copy, kNames[i]) == before[i]);
    }

    const std::string written = zedfuzz::ReadFile(user);
    hive::Key tree;
    FUZZ_CHECK(hive::Parse(written, &tree));
    FUZZ_CHECK(hive::Serialize(tree, "HKEY_CURRENT_USER") == written);
    return 0;
}
