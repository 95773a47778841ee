// Heap texts, point buffers and the sub-type rule shared by lines and pieces.
#include "pieces/internal.h"

#include <cstring>

#include "os/heap.h"

namespace zed {

tagAPOINT* HeapPoints(int64_t slots) {
    if (slots <= 0 || static_cast<uint64_t>(slots) > SIZE_MAX / sizeof(tagAPOINT) ||
        slots > INT32_MAX) {
        return nullptr;
    }
    return static_cast<tagAPOINT*>(HeapAllocZeroed(static_cast<std::size_t>(slots) * sizeof(tagAPOINT)));
}

tagAPOINT* HeapPointsCopy(const tagAPOINT* source, int n, int64_t slots) {
    if (n < 0 || n > slots || slots <= 0 || static_cast<uint64_t>(slots) > SIZE_MAX / sizeof(tagAPOINT) ||
        slots > INT32_MAX) {
        return nullptr;
    }
    return static_cast<tagAPOINT*>(HeapAllocCopy(source, static_cast<std::size_t>(n) * sizeof(tagAPOINT),
                                                 static_cast<std::size_t>(slots) * sizeof(tagAPOINT)));
}

CLS_LK::TSLine DeriveSubType(const ATR& first) {
    CLS_LK::TSLine sub = CLS_LK::subNone;
    if (first.IsDrill()) sub = CLS_LK::subDrill;
    if (first.IsMark() || first.IsNotch2() || first.IsNotch()) sub = CLS_LK::subMark;
    if (first.IsFlag8()) sub = CLS_LK::subFlag8;
    if (first.IsKind13()) sub = CLS_LK::subKind13;
    if (first.IsKind17()) sub = CLS_LK::subKind17;
    if (first.IsKindGroup()) sub = CLS_LK::subKindGroup;
    return sub;
}

}  // namespace zed
