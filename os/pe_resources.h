// A small bounds-checked reader of the resources in a Windows PE file (EXE or DLL, 32 or 64 bits):
// string tables, dialogs and other raw resources, and the strings of a version resource.
#ifndef ZEDLL_OS_PE_RESOURCES_H
#define ZEDLL_OS_PE_RESOURCES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zed::pe {

/// Resource types the library asks for.
enum class ResourceType : uint16_t { Dialog = 5, String = 6, Menu = 4, Version = 16 };

/// A resource name: either an ordinal (id) or a text compared case-insensitively, as the loader
/// of the platform does. `text` empty means the ordinal.
struct ResourceName {
    uint16_t id = 0;
    std::string text;
    static ResourceName Id(uint16_t value) { return ResourceName{value, {}}; }
    static ResourceName Text(const char* value) { return ResourceName{0, value ? value : ""}; }
};

/// The bytes of one resource: a view into the image it came from.
struct ResourceData {
    const uint8_t* bytes = nullptr;
    std::size_t size = 0;
};

/// A PE file held in memory. Every offset read from the file is checked against the file's own
/// size before use, so a damaged or hostile file yields "not found", never a stray read.
class ResourceImage {
public:
    /// Takes the file's bytes; false (and an empty image) when they are not a PE file with a
    /// readable header and section table. A file without resources is still accepted.
    bool Load(std::vector<uint8_t> bytes);
    /// Reads a file into the image; false on read errors or when Load refuses it.
    bool LoadFile(const std::string& path);

    /// Finds a resource by type and name. Among its languages, `language` is taken when present,
    /// then the neutral language, then US English, then any English, then the first one listed.
    bool Find(uint16_t type, const ResourceName& name, ResourceData* out,
              uint16_t language = 0) const;

    /// Loads string `id` as the platform's LoadStringA does: windows-1252 text, at most
    /// `capacity` - 1 characters and a terminator, returns the characters copied (0 when the
    /// string is missing or empty, with `buffer[0]` = 0 when capacity > 0).
    int ReadString(uint32_t id, char* buffer, int capacity) const;

    bool empty() const { return bytes_.empty(); }

private:
    // File offset of `size` bytes at relative virtual address `rva`; false when outside the
    // raw data of every section or the file.
    bool RvaToOffset(uint32_t rva, uint32_t size, std::size_t* offset) const;
    // Resource directory entry lookup; `dir` and results are offsets into the resource section.
    bool FindEntry(uint32_t dir, const ResourceName& name, uint32_t* target) const;
    bool FirstEntry(uint32_t dir, uint16_t preferred, uint32_t* target) const;
    bool NameMatches(uint32_t name_field, const ResourceName& name) const;
    const uint8_t* ResourceAt(uint32_t offset, uint32_t size) const;

    struct Section {
        uint32_t virtual_address, virtual_size, raw_offset, raw_size;
    };
    std::vector<uint8_t> bytes_;
    std::vector<Section> sections_;
    std::size_t rsrc_offset_ = 0;  // file offset of the resource section's root directory
    uint32_t rsrc_size_ = 0;       // bytes of the resource data directory, clipped to the file
};

/// Looks up `sub_block` ("\\VarFileInfo\\Translation", "\\StringFileInfo\\040904b0\\FileVersion")
/// in a version resource (the VS_VERSIONINFO tree with UTF-16 keys), the way the platform's
/// VerQueryValueA answers: text values come back as windows-1252 text in `text` with `length`
/// the characters including the terminator (0 for an empty value); binary values come back in
/// `binary` with `length` their bytes. False when the path is not there or the block is damaged.
bool QueryVersionValue(const uint8_t* block, std::size_t size, const char* sub_block,
                       std::string* text, std::vector<uint8_t>* binary, uint32_t* length);

/// windows-1252 byte for a UTF-16 unit ('?' when the code page has none).
char Utf16ToCp1252(uint16_t unit);

}  // namespace zed::pe

#endif
