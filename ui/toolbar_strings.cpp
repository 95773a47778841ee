// Growth and release of the toolbar's string list.
#include "ui/toolbar_strings.h"

#include <cstring>

#include "os/heap.h"

namespace zed {

char* AppendToolbarString(char*& list, int& length, int& capacity, const char* text) {
    if (text == nullptr) return nullptr;
    const int size = static_cast<int>(std::strlen(text));
    if (list == nullptr) {
        auto* first = static_cast<char*>(HeapAllocZeroed(static_cast<std::size_t>(size) + 2));
        if (first == nullptr) return nullptr;
        list = first;
        length = 0;
        capacity = size + 2;
    }
    // One step may not be enough for a long text: the list keeps growing until the text fits.
    int wanted = capacity;
    while (length + size + 2 >= wanted) wanted += kToolbarStringStep;
    if (wanted != capacity) {
        void* grown = HeapAllocCopy(list, static_cast<std::size_t>(length) + 1,
                                    static_cast<std::size_t>(wanted));
        if (grown == nullptr) return nullptr;
        HeapRelease(list);
        list = static_cast<char*>(grown);
        capacity = wanted;
    }
    std::memcpy(list + length, text, static_cast<std::size_t>(size) + 1);
    length += size + 1;
    list[length] = '\0';
    return list;
}

void FreeToolbarStrings(char*& list, int& length, int& capacity) {
    HeapRelease(list);
    list = nullptr;
    length = 0;
    capacity = 0;
}

}  // namespace zed
