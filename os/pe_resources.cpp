// Bounds-checked reading of PE resources: headers, sections, the resource tree, string tables and
// version resources.
#include "os/pe_resources.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>

namespace zed::pe {
namespace {

// Files larger than this are not language modules or version carriers worth reading whole.
constexpr std::size_t kMaxFileBytes = 256u << 20;

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// True when [offset, offset + length) lies inside a buffer of `size` bytes, without overflow.
bool Inside(std::size_t offset, std::size_t length, std::size_t size) {
    return offset <= size && length <= size - offset;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// The windows-1252 bytes 0x80..0x9F and the UTF-16 units they stand for (0 = unassigned).
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

char Utf16ToCp1252(uint16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == unit) return static_cast<char>(0x80 + i);
    }
    return '?';
}

bool ResourceImage::Load(std::vector<uint8_t> bytes) {
    bytes_.clear();
    sections_.clear();
    rsrc_offset_ = 0;
    rsrc_size_ = 0;
    const std::size_t size = bytes.size();
    if (size < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') return false;
    const uint32_t pe = Read32(&bytes[0x3C]);
    if (!Inside(pe, 24, size) || std::memcmp(&bytes[pe], "PE\0\0", 4) != 0) return false;
    const uint16_t section_count = Read16(&bytes[pe + 6]);
    const uint16_t optional_size = Read16(&bytes[pe + 20]);
    const std::size_t optional = pe + 24;
    if (!Inside(optional, optional_size, size) || optional_size < 2) return false;
    const uint16_t magic = Read16(&bytes[optional]);
    std::size_t count_at, dirs_at;
    if (magic == 0x10B) {
        count_at = 92;
        dirs_at = 96;
    } else if (magic == 0x20B) {
        count_at = 108;
        dirs_at = 112;
    } else {
        return false;
    }
    const std::size_t table = optional + optional_size;
    if (!Inside(table, std::size_t{section_count} * 40, size)) return false;
    for (uint16_t i = 0; i < section_count; ++i) {
        const uint8_t* s = &bytes[table + std::size_t{i} * 40];
        sections_.push_back(Section{Read32(s + 12), Read32(s + 8), Read32(s + 20), Read32(s + 16)});
    }
    bytes_ = std::move(bytes);

    // The resource directory is data directory 2; a file without one simply has no resources.
    if (optional_size < dirs_at + 3 * 8 || Read32(&bytes_[optional + count_at]) < 3) return true;
    const uint32_t rsrc_rva = Read32(&bytes_[optional + dirs_at + 16]);
    const uint32_t rsrc_size = Read32(&bytes_[optional + dirs_at + 20]);
    std::size_t root;
    if (rsrc_rva == 0 || !RvaToOffset(rsrc_rva, 16, &root)) return true;
    // Clip the tree to the raw data of its section and to the file.
    std::size_t available = 0;
    for (const Section& s : sections_) {
        if (rsrc_rva >= s.virtual_address && rsrc_rva - s.virtual_address < s.raw_size) {
            available = s.raw_size - (rsrc_rva - s.virtual_address);
        }
    }
    if (available > bytes_.size() - root) available = bytes_.size() - root;
    rsrc_offset_ = root;
    rsrc_size_ = static_cast<uint32_t>(rsrc_size != 0 && rsrc_size < available ? rsrc_size : available);
    return true;
}

bool ResourceImage::LoadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff length = in.tellg();
    if (length <= 0 || static_cast<unsigned long long>(length) > kMaxFileBytes) return false;
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<std::size_t>(length));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), length)) return false;
    return Load(std::move(bytes));
}

bool ResourceImage::RvaToOffset(uint32_t rva, uint32_t size, std::size_t* offset) const {
    for (const Section& s : sections_) {
        if (rva < s.virtual_address) continue;
        const uint32_t delta = rva - s.virtual_address;
        if (delta >= s.raw_size || size > s.raw_size - delta) continue;
        const std::size_t at = std::size_t{s.raw_offset} + delta;
        if (!Inside(at, size, bytes_.size())) continue;
        *offset = at;
        return true;
    }
    return false;
}

const uint8_t* ResourceImage::ResourceAt(uint32_t offset, uint32_t size) const {
    if (!Inside(offset, size, rsrc_size_)) return nullptr;
    return &bytes_[rsrc_offset_ + offset];
}

bool ResourceImage::NameMatches(uint32_t name_field, const ResourceName& name) const {
    const bool is_text = (name_field & 0x80000000u) != 0;
    if (name.text.empty()) return !is_text && (name_field & 0xFFFFu) == name.id && name_field < 0x10000u;
    if (!is_text) return false;
    const uint32_t at = name_field & 0x7FFFFFFFu;
    const uint8_t* length_field = ResourceAt(at, 2);
    if (length_field == nullptr) return false;
    const uint16_t length = Read16(length_field);
    if (length != name.text.size()) return false;
    const uint8_t* chars = ResourceAt(at + 2, uint32_t{length} * 2);
    if (chars == nullptr) return false;
    for (uint16_t i = 0; i < length; ++i) {
        const uint16_t unit = Read16(chars + 2 * i);
        if (unit > 0x7F || AsciiUpper(static_cast<char>(unit)) != AsciiUpper(name.text[i])) return false;
    }
    return true;
}

bool ResourceImage::FindEntry(uint32_t dir, const ResourceName& name, uint32_t* target) const {
    const uint8_t* header = ResourceAt(dir, 16);
    if (header == nullptr) return false;
    const uint32_t count = uint32_t{Read16(header + 12)} + Read16(header + 14);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = ResourceAt(dir + 16 + i * 8, 8);
        if (entry == nullptr) return false;
        if (NameMatches(Read32(entry), name)) {
            *target = Read32(entry + 4);
            return true;
        }
    }
    return false;
}

bool ResourceImage::FirstEntry(uint32_t dir, uint16_t preferred, uint32_t* target) const {
    const uint8_t* header = ResourceAt(dir, 16);
    if (header == nullptr) return false;
    const uint32_t count = uint32_t{Read16(header + 12)} + Read16(header + 14);
    // The platform's loader picks the caller's language, then the neutral one, then its user's
    // (here the library's base, US English), then any English, and otherwise the first listed.
    auto rank = [preferred](uint32_t language) {
        if (preferred != 0 && language == preferred) return 0;
        if (language == 0) return 1;
        if (language == 0x0409) return 2;
        if ((language & 0x3FF) == 0x09) return 3;
        return 4;
    };
    int best = 5;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = ResourceAt(dir + 16 + i * 8, 8);
        if (entry == nullptr) break;
        const int r = rank(Read32(entry));
        if (r < best) {
            best = r;
            *target = Read32(entry + 4);
            if (r == 0) break;
        }
    }
    return best < 5;
}

bool ResourceImage::Find(uint16_t type, const ResourceName& name, ResourceData* out,
                         uint16_t language) const {
    if (rsrc_size_ == 0) return false;
    uint32_t names_dir, languages_dir, data_entry;
    // Type and name levels must lead to subdirectories, the language level to a data entry.
    if (!FindEntry(0, ResourceName::Id(type), &names_dir) || !(names_dir & 0x80000000u)) return false;
    if (!FindEntry(names_dir & 0x7FFFFFFFu, name, &languages_dir) || !(languages_dir & 0x80000000u)) {
        return false;
    }
    if (!FirstEntry(languages_dir & 0x7FFFFFFFu, language, &data_entry) || (data_entry & 0x80000000u)) {
        return false;
    }
    const uint8_t* entry = ResourceAt(data_entry, 16);
    if (entry == nullptr) return false;
    const uint32_t rva = Read32(entry);
    const uint32_t size = Read32(entry + 4);
    std::size_t offset;
    if (!RvaToOffset(rva, size, &offset)) return false;
    out->bytes = &bytes_[offset];
    out->size = size;
    return true;
}

int ResourceImage::ReadString(uint32_t id, char* buffer, int capacity) const {
    if (buffer == nullptr || capacity <= 0) return 0;
    buffer[0] = 0;
    if (id > 0xFFFF) return 0;
    ResourceData block;
    if (!Find(static_cast<uint16_t>(ResourceType::String),
              ResourceName::Id(static_cast<uint16_t>((id >> 4) + 1)), &block)) {
        return 0;
    }
    std::size_t at = 0;
    for (uint32_t index = 0;; ++index) {
        if (!Inside(at, 2, block.size)) return 0;
        const uint16_t length = Read16(block.bytes + at);
        at += 2;
        if (index == (id & 15)) {
            std::size_t chars = length;
            if (!Inside(at, chars * 2, block.size)) chars = (block.size - at) / 2;
            int copied = 0;
            while (copied < capacity - 1 && static_cast<std::size_t>(copied) < chars) {
                buffer[copied] = Utf16ToCp1252(Read16(block.bytes + at + 2 * copied));
                ++copied;
            }
            buffer[copied] = 0;
            return copied;
        }
        at += std::size_t{length} * 2;
    }
}

namespace {

// One node of a version resource: key, value and the range of its children.
struct VersionNode {
    std::size_t start = 0, end = 0;   // the node's bytes
    std::u16string key;
    std::size_t value = 0, value_bytes = 0;
    bool text = false;
    uint16_t value_length = 0;        // as written: words for text, bytes for binary
    std::size_t children = 0;         // offset of the first child
};

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

bool ParseNode(const uint8_t* block, std::size_t limit, std::size_t start, VersionNode* node) {
    if (!Inside(start, 6, limit)) return false;
    const uint16_t length = Read16(block + start);
    if (length < 6 || !Inside(start, length, limit)) return false;
    node->start = start;
    node->end = start + length;
    node->value_length = Read16(block + start + 2);
    node->text = Read16(block + start + 4) == 1;
    node->key.clear();
    std::size_t at = start + 6;
    for (;;) {
        if (!Inside(at, 2, node->end)) return false;
        const uint16_t unit = Read16(block + at);
        at += 2;
        if (unit == 0) break;
        node->key.push_back(static_cast<char16_t>(unit));
    }
    node->value = Align4(at);
    if (node->value > node->end) node->value = node->end;
    std::size_t bytes = node->text ? std::size_t{node->value_length} * 2 : node->value_length;
    if (bytes > node->end - node->value) bytes = node->end - node->value;
    node->value_bytes = bytes;
    node->children = Align4(node->value + bytes);
    return true;
}

bool KeyEquals(const std::u16string& key, const std::string& wanted) {
    if (key.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] > 0x7F || AsciiUpper(static_cast<char>(key[i])) != AsciiUpper(wanted[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool QueryVersionValue(const uint8_t* block, std::size_t size, const char* sub_block,
                       std::string* text, std::vector<uint8_t>* binary, uint32_t* length) {
    if (block == nullptr || sub_block == nullptr) return false;
    VersionNode node;
    if (!ParseNode(block, size, 0, &node)) return false;
    const char* p = sub_block;
    while (*p != 0) {
        while (*p == '\\') ++p;
        if (*p == 0) break;
        std::string part;
        while (*p != 0 && *p != '\\') part.push_back(*p++);
        // Children run from after the value to the end of the node; a zero-length child would
        // never advance, so ParseNode refuses it.
        bool found = false;
        VersionNode child;
        for (std::size_t at = node.children; at < node.end; at = Align4(child.end)) {
            if (!ParseNode(block, node.end, at, &child)) break;
            if (KeyEquals(child.key, part)) {
                found = true;
                break;
            }
        }
        if (!found) return false;
        node = child;
    }
    if (text) text->clear();
    if (binary) binary->clear();
    if (node.text) {
        std::string value;
        for (std::size_t i = 0; 2 * i + 1 < node.value_bytes; ++i) {
            const uint16_t unit = Read16(block + node.value + 2 * i);
            if (unit == 0) break;
            value.push_back(Utf16ToCp1252(unit));
        }
        *length = node.value_length == 0 ? 0 : static_cast<uint32_t>(value.size() + 1);
        if (text) *text = std::move(value);
    } else {
        *length = static_cast<uint32_t>(node.value_bytes);
        if (binary) binary->assign(block + node.value, block + node.value + node.value_bytes);
    }
    return true;
}

}  // namespace zed::pe
