// Process heap on Windows.
#include <windows.h>

#include "os/heap.h"

namespace zed::os {

void* ProcessHeapAlloc(std::size_t bytes) {
    return ::HeapAlloc(::GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
}
void* ProcessHeapAllocRaw(std::size_t bytes) { return ::HeapAlloc(::GetProcessHeap(), 0, bytes); }
void ProcessHeapFree(void* block) { ::HeapFree(::GetProcessHeap(), 0, block); }

}  // namespace zed::os
