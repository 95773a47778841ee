// REGEDIT4 text files: OPT_RegOptions::Export writes a settings tree, Import reads one back.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "os/registry.h"
#include "settings/reg_paths.h"
#include "settings/reg_text.h"
#include "zedll/reg_options.h"

namespace zed {
namespace {

using os::RegAccess;
using os::ScopedRegKey;

constexpr char kHeader[] = "REGEDIT4\r\n\r\n";
constexpr std::size_t kHeaderSize = 12;
constexpr DWORD kValueNameBuffer = 300;
constexpr DWORD kValueDataBuffer = 3000;
constexpr DWORD kSubkeyNameBuffer = 3000;
constexpr std::size_t kMaxSectionPart = 999;
constexpr std::size_t kMaxValueName = 299;
constexpr std::size_t kMaxTypeText = 999;

void WriteSection(std::FILE* file, int scope, const std::string& path, os::RegKey key) {
    std::string out = "[";
    out.append(RootNameOf(scope)).append("\\").append(path).append("]\r\n");
    char name[kValueNameBuffer];
    std::vector<unsigned char> data(kValueDataBuffer);
    for (DWORD i = 0;; ++i) {
        DWORD name_size = sizeof name, data_size = kValueDataBuffer, type = 0;
        const DWORD rc =
            os::RegistryEnumValue(key, i, name, &name_size, &type, data.data(), &data_size);
        if (rc == win_error::kNoMoreItems) break;
        if (rc != 0) {
            if (rc == win_error::kMoreData) continue;  // too long for the buffers: left out
            break;
        }
        std::string text;
        if (!FormatValueText(type, data.data(), data_size, &text)) continue;
        out.append("\"").append(name).append("\"=").append(text);
    }
    out.append("\r\n");
    std::fwrite(out.data(), 1, out.size(), file);
    for (DWORD i = 0;; ++i) {
        std::string sub(kSubkeyNameBuffer, '\0');
        DWORD sub_size = kSubkeyNameBuffer;
        if (os::RegistryEnumKey(key, i, &sub[0], &sub_size) != 0) break;
        sub.resize(sub_size);
        const std::string sub_path = path + "\\" + sub;
        ScopedRegKey child;
        if (os::RegistryOpen(RootOf(scope), sub_path.c_str(), RegAccess::kRead, child.Out()) != 0) {
            continue;
        }
        WriteSection(file, scope, sub_path, child.Get());
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a file line by line through one growing buffer, so long lines are read whole. A line
// ends at LF (a CR right before it is dropped); a last line without LF counts. A NUL byte ends
// the text of its line: what follows it up to the LF is ignored.
class LineReader {
public:
    explicit LineReader(std::FILE* file) : file_(file) {}

    // False at the end of the file or on a read error (then error() is true).
    bool Next(std::string* line) {
        line->clear();
        for (;;) {
            if (pos_ == end_ && !Fill()) {
                if (line->empty() && !partial_) return false;
                partial_ = false;
                break;
            }
            const char* start = buffer_.data() + pos_;
            const void* lf = std::memchr(start, '\n', end_ - pos_);
            const std::size_t n = lf ? static_cast<const char*>(lf) - start : end_ - pos_;
            line->append(start, n);
            partial_ = true;
            pos_ += n;
            if (lf != nullptr) {
                ++pos_;
                partial_ = false;
                break;
            }
        }
        const std::size_t nul = line->find('\0');
        if (nul != std::string::npos) line->resize(nul);
        if (!line->empty() && line->back() == '\r') line->pop_back();
        return true;
    }

    bool error() const { return error_; }

private:
    bool Fill() {
        if (buffer_.empty()) buffer_.resize(65536);
        pos_ = 0;
        end_ = std::fread(&buffer_[0], 1, buffer_.size(), file_);
        if (end_ == 0 && std::ferror(file_)) error_ = true;
        return end_ != 0;
    }

    std::FILE* file_;
    std::string buffer_;
    std::size_t pos_ = 0, end_ = 0;
    bool partial_ = false;
    bool error_ = false;
};

// The state of one import.
class Importer {
public:
    explicit Importer(std::FILE* file) : file_(file) {}

    int Run() {
        char header[kHeaderSize];
        if (std::fread(header, 1, kHeaderSize, file_) != kHeaderSize ||
            std::memcmp(header, kHeader, kHeaderSize) != 0) {
            return 0;
        }
        // One commit for the whole file where the registry supports it; whatever was written
        // before a stop stays.
        os::RegistryBatch batch;
        LineReader reader(file_);
        std::string line;
        while (reader.Next(&line)) {
            if (!HandleLine(line)) return 0;
        }
        return reader.error() ? 0 : 1;
    }

private:
    bool HandleLine(const std::string& line) {
        if (line.empty()) {
            // Closes the open key only: a hex list left open by a backslash still takes the
            // lines that follow.
            key_.Reset();
            return true;
        }
        if (line[0] == '[') return OpenSection(line);
        if (line[0] == '"' || line[0] == '@' || line[0] == ' ') return ValueLine(line);
        return continuation_;  // any other line stops the import, except inside a hex list
    }

    bool OpenSection(const std::string& line) {
        const std::size_t close = line.rfind(']');
        if (close == std::string::npos) return false;
        const std::size_t root_end = line.find_first_of("\\]", 1);
        const std::string root = line.substr(1, root_end - 1);
        const std::string path =
            line[root_end] == '\\' ? line.substr(root_end + 1, close - root_end - 1) : std::string();
        if (root.size() > kMaxSectionPart || path.size() > kMaxSectionPart) return false;
        os::RegRoot reg_root;
        if (root == "HKEY_CURRENT_USER") {
            reg_root = os::RegRoot::kCurrentUser;
        } else if (root == "HKEY_LOCAL_MACHINE") {
            reg_root = os::RegRoot::kLocalMachine;
        } else {
            return false;
        }
        if (key_) return false;  // the previous section was not closed by an empty line
        return os::RegistryCreate(reg_root, path.c_str(), key_.Out()) == 0;
    }

    bool ValueLine(const std::string& line) {
        std::size_t pos = 0;
        if (continuation_) {
            pos = line.find_first_not_of(' ');
            if (pos == std::string::npos) pos = line.size();
            return HexList(line, pos);
        }
        if (line[0] == '@') {
            name_.clear();
            pos = 1;
        } else {
            const std::size_t open = line.find('"');
            if (open == std::string::npos) return false;
            const std::size_t close = line.find('"', open + 1);
            if (close == std::string::npos) return false;
            if (close - open - 1 > kMaxValueName) return false;
            name_ = line.substr(open + 1, close - open - 1);
            pos = close + 1;
        }
        const std::size_t eq = line.find('=', pos);
        if (eq == std::string::npos) return false;
        const std::size_t type_end = line.find_first_of(":\"", eq + 1);
        if (type_end == std::string::npos) return false;
        const std::string type = line.substr(eq + 1, type_end - eq - 1);
        if (type.size() > kMaxTypeText) return false;
        data_.clear();
        pos = type_end + 1;
        if (type.empty()) return TextValue(line, pos);
        if (type == "hex") return HexList(line, pos);
        if (type == "dword") return DwordValue(line, pos);
        // Another type ("hex(2)", ...) is not read: this line is skipped. A backslash at its
        // end does not carry over, so an indented next line is a value line of its own (and, not
        // starting with a quoted name, stops the import).
        return true;
    }

    bool TextValue(const std::string& line, std::size_t pos) {
        for (std::size_t i = pos; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == '\\' || line[i + 1] == '"')) {
                ++i;
            }
            data_.push_back(line[i]);
        }
        if (data_.empty() || data_.back() != '"') return false;
        data_.back() = '\0';
        return Store(os::kRegSz);
    }

    bool HexList(const std::string& line, std::size_t pos) {
        std::size_t token_start = pos;
        for (std::size_t i = pos; i <= line.size(); ++i) {
            if (i < line.size() && line[i] == '\\') {
                if (!Byte(line, token_start, i)) return false;
                continuation_ = true;
                return true;
            }
            if (i == line.size() || line[i] == ',') {
                if (!Byte(line, token_start, i)) return false;
                token_start = i + 1;
            }
        }
        continuation_ = false;
        return Store(os::kRegBinary);
    }

    // The two hexadecimal digits before a separator (spaces around them allowed); an empty token
    // (the end of "hex:" or of a line ending in ",\") adds nothing.
    bool Byte(const std::string& line, std::size_t from, std::size_t to) {
        while (from < to && line[from] == ' ') ++from;
        while (to > from && line[to - 1] == ' ') --to;
        if (from == to) return true;
        if (to - from != 2) return false;
        const int hi = HexValue(line[from]), lo = HexValue(line[from + 1]);
        if (hi < 0 || lo < 0) return false;
        data_.push_back(static_cast<char>(hi * 16 + lo));
        return true;
    }

    bool DwordValue(const std::string& line, std::size_t pos) {
        if (line.size() < pos + 8) return false;
        uint32_t value = 0;
        for (std::size_t i = pos; i < pos + 8; ++i) {
            const int d = HexValue(line[i]);
            if (d < 0) return false;
            value = value * 16 + static_cast<uint32_t>(d);
        }
        data_.assign(reinterpret_cast<const char*>(&value), 4);
        return Store(os::kRegDword);
    }

    bool Store(DWORD type) {
        if (!key_) return false;
        return os::RegistrySet(key_.Get(), name_.c_str(), type, data_.data(),
                                     static_cast<DWORD>(data_.size())) == 0;
    }

    std::FILE* file_;
    ScopedRegKey key_;
    std::string name_;
    std::string data_;
    bool continuation_ = false;
};

}  // namespace

bool FormatValueText(DWORD type, const unsigned char* data, DWORD size, std::string* out) {
    out->clear();
    if (type == os::kRegSz) {
        out->push_back('"');
        for (DWORD i = 0; i < size && data[i] != 0; ++i) {
            const std::size_t add = data[i] == '\\' ? 2 : 1;
            // Room for the closing quote, CR LF and the terminator: longer texts are clipped.
            if (out->size() + add + 4 > kValueTextBuffer) break;
            if (data[i] == '\\') out->push_back('\\');
            out->push_back(static_cast<char>(data[i]));
        }
        out->append("\"\r\n");
        return true;
    }
    if (type == os::kRegDword) {
        uint32_t value = 0;
        std::memcpy(&value, data, size < 4 ? size : 4);
        char text[24];
        std::snprintf(text, sizeof text, "dword:%.8x\r\n", static_cast<unsigned>(value));
        out->append(text);
        return true;
    }
    if (type == os::kRegBinary) {
        out->append("hex:");
        std::size_t line = 1;
        bool any = false;
        for (DWORD i = 0; i < size; ++i) {
            const bool wrap = out->size() + 3 >= 80 * line;
            const std::size_t start = out->size() + (wrap ? 5 : 0);
            if (start + 6 >= kValueTextBuffer) break;  // the list is cut here
            if (wrap) {
                out->append("\\\r\n  ");
                ++line;
            }
            char byte[4];
            std::snprintf(byte, sizeof byte, "%.2x,", data[i]);
            out->append(byte);
            any = true;
        }
        if (any) out->pop_back();
        out->append("\r\n");
        return true;
    }
    return false;
}

}  // namespace zed

int OPT_RegOptions::Export(const char* file_name, int scope) {
    if (file_name == nullptr) return 1;
    std::FILE* file = std::fopen(file_name, "wb");
    if (file == nullptr) return 1;
    if (Usable()) {
        const std::string path = zed::TreePath(scope, company_, product_, version_);
        zed::os::ScopedRegKey key;
        if (zed::os::RegistryOpen(zed::RootOf(scope), path.c_str(),
                                        zed::os::RegAccess::kRead, key.Out()) == 0) {
            std::fwrite(zed::kHeader, 1, zed::kHeaderSize, file);
            zed::WriteSection(file, scope, path, key.Get());
        }
    }
    std::fclose(file);
    return 1;
}

int OPT_RegOptions::Import(const char* file_name) {
    if (!Usable() || file_name == nullptr) return 0;
    std::FILE* file = std::fopen(file_name, "rb");
    if (file == nullptr) return 0;
    int result;
    {
        zed::Importer importer(file);
        result = importer.Run();
    }
    std::fclose(file);
    return result;
}
