// Process heap on POSIX: the C library's allocator.
#include <cstdlib>

#include "platform/heap.h"

namespace zed::platform {

void* ProcessHeapAlloc(std::size_t bytes) { return std::calloc(1, bytes); }
void* ProcessHeapAllocRaw(std::size_t bytes) { return std::malloc(bytes); }
void ProcessHeapFree(void* block) { std::free(block); }

}  // namespace zed::platform
