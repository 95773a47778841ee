// The hive tree of the POSIX registry store and its text form.
#include "os/posix/registry_hive.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace zed::os::hive {
namespace {

unsigned char Fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 0x20 : c; }

// Negative, 0, positive in the folded order Windows uses to list subkeys.
int CompareFolded(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = Fold(static_cast<unsigned char>(a[i]));
        const unsigned char y = Fold(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string Folded(std::string_view n) {
    std::string out(n);
    for (char& c : out) c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    return out;
}

// Below this many values a scan is as quick as the index and costs no memory.
constexpr std::size_t kIndexedValues = 16;

void AppendEscaped(std::string* out, std::string_view text) {
    for (unsigned char c : text) {
        if (c == '\\' || c == '"') {
            out->push_back('\\');
            out->push_back(static_cast<char>(c));
        } else if (c < 0x20 || c == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out->append(hex);
        } else {
            out->push_back(static_cast<char>(c));
        }
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted, escaped text starting after its opening quote; moves pos past the closing one.
bool ReadQuoted(std::string_view line, size_t* pos, std::string* out) {
    size_t i = *pos;
    while (i < line.size()) {
        const char c = line[i];
        if (c == '"') {
            *pos = i + 1;
            return true;
        }
        if (c == '\\' && i + 1 < line.size()) {
            const char n = line[i + 1];
            if (n == 'x' && i + 3 < line.size() && HexDigit(line[i + 2]) >= 0 &&
                HexDigit(line[i + 3]) >= 0) {
                out->push_back(static_cast<char>(HexDigit(line[i + 2]) * 16 + HexDigit(line[i + 3])));
                i += 4;
                continue;
            }
            out->push_back(n);
            i += 2;
            continue;
        }
        out->push_back(c);
        ++i;
    }
    return false;
}

bool ReadHexList(std::string_view list, std::string* out) {
    size_t i = 0;
    while (i < list.size()) {
        if (i + 1 >= list.size()) return false;
        const int hi = HexDigit(list[i]), lo = HexDigit(list[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out->push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        if (i < list.size()) {
            if (list[i] != ',') return false;
            ++i;
        }
    }
    return true;
}

bool ParseValueLine(std::string_view line, Key* key) {
    std::string name;
    size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else {
        pos = 1;
        if (!ReadQuoted(line, &pos, &name)) return false;
        // No caller can name such a value: it would read and copy as the unnamed one.
        if (name.find('\0') != std::string::npos) return false;
    }
    if (pos >= line.size() || line[pos] != '=') return false;
    std::string_view rest = line.substr(pos + 1);
    std::string data;
    DWORD type = 0;
    if (!rest.empty() && rest[0] == '"') {
        size_t p = 1;
        if (!ReadQuoted(rest, &p, &data) || p != rest.size()) return false;
        data.push_back('\0');
        type = 1;
    } else if (rest.substr(0, 6) == "dword:") {
        const std::string_view digits = rest.substr(6);
        if (digits.size() != 8) return false;
        uint32_t v = 0;
        for (char c : digits) {
            const int d = HexDigit(c);
            if (d < 0) return false;
            v = v * 16 + static_cast<uint32_t>(d);
        }
        for (int b = 0; b < 4; ++b) data.push_back(static_cast<char>((v >> (8 * b)) & 0xFF));
        type = 4;
    } else if (rest.substr(0, 4) == "hex:") {
        if (!ReadHexList(rest.substr(4), &data)) return false;
        type = 3;
    } else if (rest.substr(0, 4) == "hex(") {
        const size_t close = rest.find("):");
        if (close == std::string_view::npos || close == 4 || close > 12) return false;
        uint64_t t = 0;
        for (char c : rest.substr(4, close - 4)) {
            const int d = HexDigit(c);
            if (d < 0) return false;
            t = t * 16 + static_cast<uint64_t>(d);
        }
        if (t > 0xFFFFFFFFu || !ReadHexList(rest.substr(close + 2), &data)) return false;
        type = static_cast<DWORD>(t);
    } else {
        return false;
    }
    key->SetValue(name, type, std::move(data));
    return true;
}

// One section: the header line, the values, the empty line that closes it.
void SerializeSection(const Key& key, const std::string& path, std::string* out) {
    out->append("[").append(path).append("]\n");
    for (const Value& v : key.values) {
        if (v.name.empty()) {
            out->push_back('@');
        } else {
            out->push_back('"');
            AppendEscaped(out, v.name);
            out->push_back('"');
        }
        out->push_back('=');
        const bool plain_text = v.type == 1 && !v.data.empty() && v.data.back() == '\0' &&
                                v.data.find('\0') == v.data.size() - 1;
        if (plain_text) {
            out->push_back('"');
            AppendEscaped(out, std::string_view(v.data).substr(0, v.data.size() - 1));
            out->push_back('"');
        } else if (v.type == 4 && v.data.size() == 4) {
            uint32_t n = 0;
            for (int b = 3; b >= 0; --b) n = n * 256 + static_cast<unsigned char>(v.data[b]);
            char text[16];
            std::snprintf(text, sizeof text, "dword:%08x", n);
            out->append(text);
        } else {
            char head[24];
            if (v.type == 3) {
                std::snprintf(head, sizeof head, "hex:");
            } else {
                std::snprintf(head, sizeof head, "hex(%x):", v.type);
            }
            out->append(head);
            static const char kDigits[] = "0123456789abcdef";
            for (size_t i = 0; i < v.data.size(); ++i) {
                const unsigned char c = static_cast<unsigned char>(v.data[i]);
                if (i != 0) out->push_back(',');
                out->push_back(kDigits[c >> 4]);
                out->push_back(kDigits[c & 15]);
            }
        }
        out->push_back('\n');
    }
    out->push_back('\n');
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareFolded(a, b) == 0;
}

Key::~Key() { Clear(); }

void Key::Clear() {
    values.clear();
    value_index_.clear();
    indexed_ = 0;
    // Detach every node's children before the node goes, so no destructor ever recurses.
    std::vector<std::unique_ptr<Key>> pending = std::move(subkeys);
    subkeys.clear();
    while (!pending.empty()) {
        std::unique_ptr<Key> node = std::move(pending.back());
        pending.pop_back();
        for (auto& sub : node->subkeys) pending.push_back(std::move(sub));
        node->subkeys.clear();
    }
}

Key* Key::FindSubkey(std::string_view n) const {
    const auto it = std::lower_bound(subkeys.begin(), subkeys.end(), n,
        [](const std::unique_ptr<Key>& k, std::string_view x) { return CompareFolded(k->name, x) < 0; });
    return (it != subkeys.end() && SameName((*it)->name, n)) ? it->get() : nullptr;
}

Key* Key::AddSubkey(std::string_view n) {
    const auto it = std::lower_bound(subkeys.begin(), subkeys.end(), n,
        [](const std::unique_ptr<Key>& k, std::string_view x) { return CompareFolded(k->name, x) < 0; });
    if (it != subkeys.end() && SameName((*it)->name, n)) return it->get();
    auto fresh = std::make_unique<Key>();
    fresh->name = std::string(n);
    return subkeys.insert(it, std::move(fresh))->get();
}

bool Key::RemoveSubkey(std::string_view n) {
    for (auto it = subkeys.begin(); it != subkeys.end(); ++it) {
        if (SameName((*it)->name, n)) {
            subkeys.erase(it);
            return true;
        }
    }
    return false;
}

Value* Key::FindValue(std::string_view n) {
    if (values.size() < kIndexedValues) {
        for (Value& v : values) {
            if (SameName(v.name, n)) return &v;
        }
        return nullptr;
    }
    for (; indexed_ < values.size(); ++indexed_) value_index_.emplace(Folded(values[indexed_].name), indexed_);
    const auto it = value_index_.find(Folded(n));
    return it != value_index_.end() ? &values[it->second] : nullptr;
}

void Key::SetValue(std::string_view n, DWORD type, std::string data) {
    if (Value* v = FindValue(n)) {
        v->type = type;
        v->data = std::move(data);
        return;
    }
    values.push_back(Value{std::string(n), type, std::move(data)});
}

bool Key::RemoveValue(std::string_view n) {
    Value* v = FindValue(n);
    if (v == nullptr) return false;
    values.erase(values.begin() + (v - values.data()));
    value_index_.clear();   // positions after it moved
    indexed_ = 0;
    return true;
}

std::string Serialize(const Key& root, const char* root_name) {
    std::string out = "REGEDIT4\n\n";
    out.reserve(4096);
    // Depth first without recursion: one path, extended by a name on the way down and cut back
    // to the parent's length on the way up.
    struct Frame {
        const Key* key;
        std::size_t next_subkey;
        std::size_t path_length;
    };
    std::string path(root_name);
    SerializeSection(root, path, &out);
    std::vector<Frame> stack{{&root, 0, path.size()}};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next_subkey == top.key->subkeys.size()) {
            stack.pop_back();
            continue;
        }
        const Key& sub = *top.key->subkeys[top.next_subkey++];
        path.resize(top.path_length);
        path.append("\\").append(sub.name);
        SerializeSection(sub, path, &out);
        stack.push_back({&sub, 0, path.size()});
    }
    return out;
}

bool Parse(std::string_view text, Key* root) {
    root->Clear();
    // Sections may come in any order. New subkeys are appended, found again through one hash of
    // (parent, folded name), and every list is sorted once at the end: reading stays n log n
    // however the siblings are ordered in the file.
    std::unordered_map<std::string, Key*> made;
    std::string slot;
    auto child = [&](Key* parent, const std::string& part) {
        slot.assign(reinterpret_cast<const char*>(&parent), sizeof parent);
        slot.append(Folded(part));
        Key*& found = made[slot];
        if (found == nullptr) {
            parent->subkeys.push_back(std::make_unique<Key>());
            found = parent->subkeys.back().get();
            found->name = part;
        }
        return found;
    };
    size_t pos = 0;
    bool first = true;
    Key* current = nullptr;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (first) {
            if (line != "REGEDIT4") return false;
            first = false;
            continue;
        }
        if (line.empty()) {
            current = nullptr;
            continue;
        }
        if (line[0] == '[') {
            const size_t close = line.rfind(']');
            current = nullptr;
            if (close == std::string_view::npos) continue;
            const std::string_view full = line.substr(1, close - 1);
            const size_t slash = full.find('\\');
            // The first component names the root; the rest is the path below it.
            current = root;
            if (slash != std::string_view::npos) {
                const std::vector<std::string> parts = SplitPath(full.substr(slash + 1));
                const bool valid = parts.size() <= kMaxKeyDepth &&
                                   std::all_of(parts.begin(), parts.end(), ValidKeyName);
                if (!valid) {
                    current = nullptr;
                    continue;
                }
                for (const std::string& part : parts) current = child(current, part);
            }
            continue;
        }
        if (current != nullptr && (line[0] == '"' || line[0] == '@')) ParseValueLine(line, current);
    }
    std::vector<Key*> unsorted{root};
    while (!unsorted.empty()) {
        Key* key = unsorted.back();
        unsorted.pop_back();
        std::sort(key->subkeys.begin(), key->subkeys.end(),
                  [](const std::unique_ptr<Key>& a, const std::unique_ptr<Key>& b) {
                      return CompareFolded(a->name, b->name) < 0;
                  });
        for (const auto& sub : key->subkeys) unsorted.push_back(sub.get());
    }
    return !first;
}

std::vector<std::string> SplitPath(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string_view::npos) end = path.size();
        if (end > start) parts.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

bool ValidKeyName(std::string_view name) {
    if (name.empty() || name.size() > 255) return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

}  // namespace zed::os::hive
