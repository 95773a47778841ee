// What every fuzz target shares: checks that abort, a scratch folder, files and an input reader.
#ifndef ZEDLL_FUZZ_FUZZ_SUPPORT_H
#define ZEDLL_FUZZ_FUZZ_SUPPORT_H

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

/// A broken promise of the library: libFuzzer keeps the input as a crasher. Never a print alone.
#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__,  \
                         __LINE__);                                                        \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

namespace zedfuzz {

/// A folder of this process for the files a target writes (tmpfs when there is one, so that the
/// store's fsync costs nothing), removed at exit.
inline const std::string& ScratchDir() {
    static const std::string dir = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = std::string(base) + "/zedll-fuzz.XXXXXX";
        if (mkdtemp(&pattern[0]) == nullptr) std::abort();
        static std::string remove_command = "rm -rf '" + pattern + "'";
        std::atexit([] { (void)std::system(remove_command.c_str()); });
        return pattern;
    }();
    return dir;
}

inline std::string ScratchPath(const char* name) { return ScratchDir() + "/" + name; }

inline void WriteFile(const std::string& path, const void* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
}

/// The whole file; empty when it is missing.
inline std::string ReadFile(const std::string& path) {
    std::string text;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return text;
    char block[65536];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) text.append(block, n);
    std::fclose(file);
    return text;
}

/// Takes numbers and pieces from the front of the input; past its end everything reads as 0.
class Input {
public:
    Input(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    std::size_t left() const { return size_ - pos_; }

    uint8_t U8() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t U16() { return static_cast<uint16_t>(U8() | U8() << 8); }
    uint32_t U32() { return static_cast<uint32_t>(U16()) | static_cast<uint32_t>(U16()) << 16; }
    /// Any bit pattern, NaNs and infinities included.
    float Float() {
        const uint32_t bits = U32();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    /// Up to `most` bytes (a length byte first), NUL bytes cut out so it is a C text.
    std::string Text(std::size_t most) {
        const std::size_t want = U8() % (most + 1);
        std::string text;
        while (text.size() < want && !empty()) {
            const char c = static_cast<char>(U8());
            if (c != 0) text.push_back(c);
        }
        return text;
    }
    /// Copies up to n bytes into out, zero-filling past the end of the input.
    void Bytes(void* out, std::size_t n) {
        auto* bytes = static_cast<uint8_t*>(out);
        for (std::size_t i = 0; i < n; ++i) bytes[i] = U8();
    }
    /// The rest of the input.
    std::string Rest() {
        std::string rest(reinterpret_cast<const char*>(data_ + pos_), left());
        pos_ = size_;
        return rest;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

}  // namespace zedfuzz

#endif
