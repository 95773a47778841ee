// Fuzz target: REGEDIT4 text files read by OPT_RegOptions::Import into an empty registry store.
//
// Asserts: whatever the import took, its export imports again completely into an empty store
// and exports to the very same bytes (export, import, export agree).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "zedll/reg_options.h"

namespace {

const std::string& StoreDir() {
    static const std::string dir = [] {
        const std::string path = zedfuzz::ScratchPath("store");
        setenv("ZEDLL_REGISTRY_DIR", path.c_str(), 1);
        return path;
    }();
    return dir;
}

void EmptyStore() {
    ::unlink((StoreDir() + "/HKEY_CURRENT_USER.reg").c_str());
    ::unlink((StoreDir() + "/HKEY_LOCAL_MACHINE.reg").c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string input = zedfuzz::ScratchPath("import.reg");
    const std::string first = zedfuzz::ScratchPath("export1.reg");
    const std::string second = zedfuzz::ScratchPath("export2.reg");
    EmptyStore();
    zedfuzz::WriteFile(input, data, size);

    OPT_RegOptions options("FuzzCo", "P", "1");
    (void)options.Import(input.c_str());
    FUZZ_CHECK(options.Export(first.c_str()) == 1);
    const std::string exported = zedfuzz::ReadFile(first);

    EmptyStore();
    if (!exported.empty()) FUZZ_CHECK(options.Import(first.c_str()) == 1);
    FUZZ_CHECK(options.Export(second.c_str()) == 1);
    FUZZ_CHECK(zedfuzz::ReadFile(second) == exported);
    return 0;
}
