// Compile-time checks of the packed piece layouts; every offset on the 32-bit build.
#include <cstddef>

#include "zedll/pieces.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"

static_assert(alignof(CLS_LK) == 1 && alignof(CLS_OtherText) == 1 && alignof(CLS_LineKus) == 1,
              "packed: arrays of lines and texts have no gaps");
static_assert(sizeof(CLS_LK::TLine) == 4 && sizeof(CLS_LK::TSLine) == 4, "32-bit line types");

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(CLS_LK) == 46, "CLS_LK");
static_assert(offsetof(CLS_LK, clockwise) == 0 && offsetof(CLS_LK, closed) == 1 &&
                  offsetof(CLS_LK, type) == 2 && offsetof(CLS_LK, subType) == 6 &&
                  offsetof(CLS_LK, param) == 10 && offsetof(CLS_LK, code) == 14 &&
                  offsetof(CLS_LK, capacity) == 18 && offsetof(CLS_LK, count) == 22 &&
                  offsetof(CLS_LK, rect) == 26 && offsetof(CLS_LK, points) == 42,
              "CLS_LK field offsets");

static_assert(sizeof(CLS_OtherText) == 46, "CLS_OtherText");
static_assert(offsetof(CLS_OtherText, text) == 0 && offsetof(CLS_OtherText, value1) == 4 &&
                  offsetof(CLS_OtherText, value2) == 8 && offsetof(CLS_OtherText, height) == 12 &&
                  offsetof(CLS_OtherText, value3) == 16 && offsetof(CLS_OtherText, position) == 20 &&
                  offsetof(CLS_OtherText, vector) == 33 && offsetof(CLS_OtherText, angle) == 41 &&
                  offsetof(CLS_OtherText, flag) == 45,
              "CLS_OtherText field offsets");

static_assert(sizeof(CLS_LineKus) == 108, "CLS_LineKus");
static_assert(offsetof(CLS_LineKus, header0) == 0 && offsetof(CLS_LineKus, header1) == 2 &&
                  offsetof(CLS_LineKus, header2) == 6 && offsetof(CLS_LineKus, value) == 8 &&
                  offsetof(CLS_LineKus, bits) == 12 && offsetof(CLS_LineKus, name1) == 16 &&
                  offsetof(CLS_LineKus, name6) == 36 && offsetof(CLS_LineKus, numLines) == 40 &&
                  offsetof(CLS_LineKus, numLines2) == 44 && offsetof(CLS_LineKus, rect) == 48 &&
                  offsetof(CLS_LineKus, rectAll) == 64 && offsetof(CLS_LineKus, dieBreak1) == 80 &&
                  offsetof(CLS_LineKus, dieBreak3) == 88 && offsetof(CLS_LineKus, lines) == 92 &&
                  offsetof(CLS_LineKus, lines2) == 96 && offsetof(CLS_LineKus, texts) == 100 &&
                  offsetof(CLS_LineKus, numTexts) == 104,
              "CLS_LineKus field offsets");

static_assert(sizeof(CLS_IOKUS) == 116, "CLS_IOKUS is 116 bytes");
static_assert(offsetof(CLS_IOKUS, name1) == 0 && offsetof(CLS_IOKUS, name2) == 4 &&
                  offsetof(CLS_IOKUS, name3) == 8 && offsetof(CLS_IOKUS, name4) == 12 &&
                  offsetof(CLS_IOKUS, name5) == 16 && offsetof(CLS_IOKUS, name6) == 20 &&
                  offsetof(CLS_IOKUS, numPoints) == 24 && offsetof(CLS_IOKUS, numLeading) == 28 &&
                  offsetof(CLS_IOKUS, reserved32) == 32 && offsetof(CLS_IOKUS, rect) == 40 &&
                  offsetof(CLS_IOKUS, rectAll) == 56 && offsetof(CLS_IOKUS, header0) == 72 &&
                  offsetof(CLS_IOKUS, header1) == 74 && offsetof(CLS_IOKUS, header2) == 78 &&
                  offsetof(CLS_IOKUS, value) == 80 && offsetof(CLS_IOKUS, bits) == 84 &&
                  offsetof(CLS_IOKUS, dieBreak1) == 88 && offsetof(CLS_IOKUS, dieBreak2) == 92 &&
                  offsetof(CLS_IOKUS, dieBreak3) == 96 && offsetof(CLS_IOKUS, points) == 100 &&
                  offsetof(CLS_IOKUS, secondOutline) == 104 && offsetof(CLS_IOKUS, texts) == 108 &&
                  offsetof(CLS_IOKUS, numTexts) == 112,
              "CLS_IOKUS field offsets");

static_assert(sizeof(IOKUS) == 154, "IOKUS is 154 bytes");
static_assert(offsetof(IOKUS, name1) == 0 && offsetof(IOKUS, name2) == 4 &&
                  offsetof(IOKUS, name3) == 8 && offsetof(IOKUS, name4) == 12 &&
                  offsetof(IOKUS, name5) == 16 && offsetof(IOKUS, name6) == 20 &&
                  offsetof(IOKUS, numPoints) == 24 && offsetof(IOKUS, numLeading) == 28 &&
                  offsetof(IOKUS, left) == 32 && offsetof(IOKUS, top) == 36 &&
                  offsetof(IOKUS, right) == 40 && offsetof(IOKUS, bottom) == 44 &&
                  offsetof(IOKUS, header0) == 48 && offsetof(IOKUS, reserved50) == 50 &&
                  offsetof(IOKUS, header1) == 51 && offsetof(IOKUS, reserved55) == 55 &&
                  offsetof(IOKUS, bits9) == 59 && offsetof(IOKUS, header2) == 60 &&
                  offsetof(IOKUS, reserved62) == 62 && offsetof(IOKUS, dieBreak1) == 126 &&
                  offsetof(IOKUS, dieBreak2) == 130 && offsetof(IOKUS, dieBreak3) == 134 &&
                  offsetof(IOKUS, attrs) == 138 && offsetof(IOKUS, coords) == 142 &&
                  offsetof(IOKUS, texts) == 146 && offsetof(IOKUS, numTexts) == 150,
              "IOKUS field offsets");
#endif

#pragma GCC diagnostic pop
