// Letter-hexadecimal text of byte buffers, and CLS_HexConvertor's hexadecimal parsing.
#include <cctype>
#include <cstdio>

#include "zedll/util.h"

void ZEDLL_STDCALL BuferBinToAscii(const unsigned char* src, int n, unsigned char* dst) {
    if (src == nullptr || dst == nullptr) return;
    for (int i = 0; i < n; ++i) {
        dst[2 * i] = static_cast<unsigned char>('A' + (src[i] & 15));
        dst[2 * i + 1] = static_cast<unsigned char>('K' + (src[i] >> 4));
    }
}

void ZEDLL_STDCALL BuferAsciiToBin(const char* src, int n, unsigned char* dst) {
    if (src == nullptr || dst == nullptr) return;
    for (int i = 0; i < n / 2; ++i) {
        const int first = std::toupper(static_cast<unsigned char>(src[2 * i]));
        const int second = std::toupper(static_cast<unsigned char>(src[2 * i + 1]));
        dst[i] = static_cast<unsigned char>(((first - 'A') & 15) + (((second - 'K') & 15) << 4));
    }
}

CLS_HexConvertor::CLS_HexConvertor() = default;
CLS_HexConvertor::~CLS_HexConvertor() = default;

unsigned char CLS_HexConvertor::AsciiToByte(char* text) {
    // Only a leading digit counts: the scan would also take a sign or skip blanks.
    if (text == nullptr || !std::isxdigit(static_cast<unsigned char>(text[0]))) return 0;
    unsigned int value = 0;
    if (std::sscanf(text, "%2x", &value) != 1) return 0;
    return static_cast<unsigned char>(value);
}

unsigned short CLS_HexConvertor::AsciiToWord(char*) { return 0; }
unsigned long CLS_HexConvertor::AsciiToDWord(char*) { return 0; }

int64_t CLS_HexConvertor::AsciiToQWord(char* text) {
    if (text == nullptr) return -1;
    size_t length = 0;
    while (text[length] != '\0') ++length;
    uint64_t value = 0;
    // Positions count from the last character; only the last sixteen reach the result.
    for (size_t position = 0; position < length && position < 16; ++position) {
        const unsigned code = static_cast<unsigned char>(text[length - 1 - position]);
        uint64_t worth = 0;
        if (code & 0x40)
            worth = (code & 7) + 9;
        else if (code & 0xA0)
            worth = code & 15;
        value += worth << (4 * position);
    }
    return static_cast<int64_t>(value);
}

char* CLS_HexConvertor::AsciiToByte(char*, int, unsigned char) { return nullptr; }
char* CLS_HexConvertor::WordToAscii(char*, int, unsigned short) { return nullptr; }
char* CLS_HexConvertor::AsciiToDWord(char*, int, unsigned long) { return nullptr; }
char* CLS_HexConvertor::AsciiToQWord(char*, int, int64_t) { return nullptr; }
