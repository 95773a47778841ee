// Heap texts, point buffers and the sub-type rule shared by lines and pieces.
#include "pieces/piece_storage.h"

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

}  // namespace zed
