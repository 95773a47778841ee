// Process heap on POSIX: the C library's allocator.
#include <cstdlib>

#include "os/heap.h"

namespace zed::os {

void* ProcessHeapAlloc(std::size_t bytes) { return std::calloc(1, bytes); }
void* ProcessHeapAllocRaw(std::size_t bytes) { return std::malloc(bytes); }
void ProcessHeapFree(void* block) { std::free(block); }

}  // namespace zed::os
