// Fuzz target: letter-hexadecimal text and CLS_HexConvertor on arbitrary bytes.
//
// Asserts, on buffers of exactly the promised sizes: bytes to letters and back is the identity;
// letters decode, re-encode and decode to the same bytes, and letters from the alphabet come
// back as written (upper case); nothing is written for n <= 0; AsciiToByte and AsciiToQWord
// agree with a reading of their own on hexadecimal texts.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "zedll/util.h"

namespace {

int Digit(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const int n = static_cast<int>(size);

    // Bytes -> letters -> bytes.
    std::vector<unsigned char> letters(2 * size);
    BuferBinToAscii(data, n, letters.data());
    for (std::size_t i = 0; i < size; ++i) {
        FUZZ_CHECK(letters[2 * i] == 'A' + (data[i] & 15));
        FUZZ_CHECK(letters[2 * i + 1] == 'K' + (data[i] >> 4));
    }
    std::vector<unsigned char> back(size);
    BuferAsciiToBin(reinterpret_cast<const char*>(letters.data()), 2 * n, back.data());
    FUZZ_CHECK(size == 0 || std::memcmp(back.data(), data, size) == 0);

    // Any text -> bytes -> letters -> bytes; an odd last character is left alone.
    std::vector<unsigned char> decoded(size / 2);
    BuferAsciiToBin(reinterpret_cast<const char*>(data), n, decoded.data());
    std::vector<unsigned char> encoded(2 * decoded.size());
    BuferBinToAscii(decoded.data(), static_cast<int>(decoded.size()), encoded.data());
    std::vector<unsigned char> again(decoded.size());
    BuferAsciiToBin(reinterpret_cast<const char*>(encoded.data()), static_cast<int>(encoded.size()),
                    again.data());
    FUZZ_CHECK(again == decoded);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const int first = std::toupper(data[i]), second = std::toupper(data[i + 1]);
        if (first >= 'A' && first <= 'P' && second >= 'K' && second <= 'Z') {
            FUZZ_CHECK(encoded[i] == first && encoded[i + 1] == second);
        }
    }

    // Nothing written for n <= 0.
    unsigned char untouched[2] = {0x5A, 0x5A};
    BuferBinToAscii(data, size > 0 ? -n : 0, untouched);
    BuferAsciiToBin(reinterpret_cast<const char*>(data), size > 0 ? -n : 0, untouched);
    FUZZ_CHECK(untouched[0] == 0x5A && untouched[1] == 0x5A);

    // The parsers read a zero-terminated copy.
    std::string text(reinterpret_cast<const char*>(data), size);
    CLS_HexConvertor convertor;
    const unsigned char byte = convertor.AsciiToByte(&text[0]);
    const std::size_t length = std::strlen(text.c_str());
    unsigned expected_byte = 0;
    if (length > 0 && Digit(text[0]) >= 0) {
        expected_byte = static_cast<unsigned>(Digit(text[0]));
        if (length > 1 && Digit(text[1]) >= 0) expected_byte = expected_byte * 16 + Digit(text[1]);
    }
    FUZZ_CHECK(byte == expected_byte);

    const int64_t q = convertor.AsciiToQWord(&text[0]);
    bool all_digits = true;
    uint64_t expected_q = 0;
    for (std::size_t i = length > 16 ? length - 16 : 0; i < length; ++i) {
        const int d = Digit(text[i]);
        if (d < 0) all_digits = false;
        expected_q = expected_q * 16 + static_cast<uint64_t>(d < 0 ? 0 : d);
    }
    if (all_digits) FUZZ_CHECK(static_cast<uint64_t>(q) == expected_q);
    FUZZ_CHECK(convertor.AsciiToWord(&text[0]) == 0 && convertor.AsciiToDWord(&text[0]) == 0);
    FUZZ_CHECK(convertor.AsciiToQWord(nullptr) == -1);
    return 0;
}
