// Dialog template bytes written out by hand, for comparing with what the builder assembles.
#ifndef ZEDLL_TESTS_UI_TEMPLATE_BYTES_H
#define ZEDLL_TESTS_UI_TEMPLATE_BYTES_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "zedll/platform_types.h"

namespace zedtest {

using Bytes = std::vector<uint8_t>;

/// Little-endian words and ASCII strings in UTF-16.
struct Expect {
    Bytes bytes;
    Expect& W(uint32_t w) {
        bytes.push_back(w & 0xFF);
        bytes.push_back((w >> 8) & 0xFF);
        return *this;
    }
    Expect& D(uint32_t d) { return W(d & 0xFFFF).W(d >> 16); }
    Expect& S(const char* s) {
        for (; *s; ++s) W(static_cast<uint8_t>(*s));
        return W(0);
    }
    Expect& Pad() {
        while (bytes.size() % 4) bytes.push_back(0);
        return *this;
    }
};

/// The first `n` bytes of an assembled template.
inline Bytes Take(const DLGTEMPLATE* t, std::size_t n) {
    const auto* p = reinterpret_cast<const uint8_t*>(t);
    return Bytes(p, p + n);
}

}  // namespace zedtest

#endif
