// Fuzz target: PE files as language modules and as version information, read by the library's
// own resource reader.
//
// Asserts: every resource found lies wholly inside readable memory (each byte is read); strings
// are cut to the buffer and terminated; version texts are cut to size - 1 and agree between a
// short and a long buffer; a failed lookup leaves an empty buffer; the version read from the
// loaded module is the one read from the file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "os/pe_resources.h"
#include "os/resource_module.h"
#include "zedll/version_info.h"

namespace pe = zed::pe;

namespace {

// Reads every byte of a found resource, so that a view past the image is caught.
unsigned Touch(const pe::ResourceData& data) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < data.size; ++i) sum += data.bytes[i];
    return sum;
}

void CheckString(int copied, const char* buffer, int capacity) {
    FUZZ_CHECK(copied >= 0);
    if (capacity <= 0) return;
    FUZZ_CHECK(copied <= capacity - 1);
    FUZZ_CHECK(buffer[copied] == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The first bytes choose the lookups; the whole input is the file, so that seeds are plain
    // DLLs and still steer the lookups through their DOS header.
    zedfuzz::Input in(data, size);
    const int capacity = in.U8() % 64;
    const uint16_t ids[] = {in.U16(), 1, 2, 13, 100, 101, 16 * 10, static_cast<uint16_t>(in.U8())};
    const uint16_t language = in.U16();

    pe::ResourceImage image;
    const bool loaded = image.Load(std::vector<uint8_t>(data, data + size));
    if (!loaded) FUZZ_CHECK(image.empty());
    volatile unsigned sink = 0;
    for (uint16_t type : {4, 5, 6, 16}) {
        for (uint16_t id : ids) {
            pe::ResourceData found;
            if (image.Find(type, pe::ResourceName::Id(id), &found, language)) sink = sink + Touch(found);
        }
        pe::ResourceData named;
        if (image.Find(type, pe::ResourceName::Text("LANGUAGE"), &named)) sink = sink + Touch(named);
    }
    for (uint16_t id : ids) {
        std::vector<char> buffer(capacity > 0 ? capacity : 1, '\x7f');
        CheckString(image.ReadString(id, capacity > 0 ? buffer.data() : nullptr, capacity),
                    buffer.data(), capacity);
    }

    std::string path = zedfuzz::ScratchPath("ZEDDEU0407.DLL");
    zedfuzz::WriteFile(path, data, size);

    char value[] = "FileVersion";
    char whole[1024];
    const int long_result = GetVersionFile(&path[0], value, whole, sizeof whole);
    if (long_result == 0) FUZZ_CHECK(whole[0] == 0);
    FUZZ_CHECK(std::memchr(whole, 0, sizeof whole) != nullptr);
    const DWORD short_size = 1 + in.U8() % 12;
    std::vector<char> cut(short_size);
    const int short_result = GetVersionFile(&path[0], value, cut.data(), short_size);
    FUZZ_CHECK((short_result != 0) == (long_result != 0));
    FUZZ_CHECK(std::memchr(cut.data(), 0, short_size) != nullptr);
    FUZZ_CHECK(std::strncmp(cut.data(), whole, short_size - 1) == 0);

    HMODULE module = nullptr;
    if (zed::os::LoadResourceModule(path.c_str(), &module) == 0) {
        FUZZ_CHECK(module != nullptr && loaded);
        for (uint16_t id : ids) {
            std::vector<char> buffer(capacity > 0 ? capacity : 1);
            CheckString(zed::os::LoadModuleString(module, id, buffer.data(), capacity),
                        buffer.data(), capacity);
        }
        char module_name[] = "ZEDDEU0407.DLL";
        char from_module[1024];
        const int module_result = GetVersionModule(module_name, value, from_module, sizeof from_module);
        if (module_result == 0) FUZZ_CHECK(from_module[0] == 0);
        if (module_result != 0) {
            FUZZ_CHECK(long_result != 0);
            FUZZ_CHECK(std::strcmp(from_module, whole) == 0);
        }
        zed::os::FreeResourceModule(module);
    } else {
        FUZZ_CHECK(module == nullptr && !loaded);
    }
    return 0;
}
