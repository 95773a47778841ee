// Process-heap allocation with the fault-injection hook in front of the platform backend.
#include "os/heap.h"

#include <atomic>
#include <cstring>

namespace zed {
namespace {

std::atomic<long> g_allowed{-1};   // allocations left before the injected failures; -1: unlimited
std::atomic<long> g_attempts{0};

bool TakeAllowance() {
    g_attempts.fetch_add(1, std::memory_order_relaxed);
    long left = g_allowed.load(std::memory_order_relaxed);
    while (left >= 0) {
        if (left == 0) return false;
        if (g_allowed.compare_exchange_weak(left, left - 1, std::memory_order_relaxed)) return true;
    }
    return true;
}

}  // namespace

void* HeapAllocZeroed(std::size_t bytes) {
    if (!TakeAllowance()) return nullptr;
    return os::ProcessHeapAlloc(bytes == 0 ? 1 : bytes);
}

void* HeapAllocScratch(std::size_t bytes) {
    if (!TakeAllowance()) return nullptr;
    return os::ProcessHeapAllocRaw(bytes == 0 ? 1 : bytes);
}

void* HeapAllocCopy(const void* source, std::size_t used, std::size_t bytes) {
    if (used > bytes || (used > 0 && source == nullptr)) return nullptr;
    if (!TakeAllowance()) return nullptr;
    if (bytes == 0) bytes = 1;
    auto* block = static_cast<unsigned char*>(os::ProcessHeapAllocRaw(bytes));
    if (block == nullptr) return nullptr;
    if (used > 0) std::memcpy(block, source, used);
    std::memset(block + used, 0, bytes - used);
    return block;
}

char* HeapCopyText(const char* text) {
    if (text == nullptr) return nullptr;
    const std::size_t length = std::strlen(text);
    return static_cast<char*>(HeapAllocCopy(text, length, length + 1));
}

void HeapRelease(void* block) {
    if (block != nullptr) os::ProcessHeapFree(block);
}

namespace heap_testing {
void FailAfter(long n) {
    g_attempts.store(0);
    g_allowed.store(n < 0 ? -1 : n);
}
void Reset() { FailAfter(-1); }
long Attempts() { return g_attempts.load(); }
}  // namespace heap_testing

}  // namespace zed
