// The process heap: zero-filled blocks for points, lines, texts and strings.
#ifndef ZEDLL_OS_HEAP_H
#define ZEDLL_OS_HEAP_H

#include <cstddef>

namespace zed {

/// A zero-filled block of `bytes` (at least one byte) from the process heap, or null when the
/// heap refuses. Release it with HeapRelease.
void* HeapAllocZeroed(std::size_t bytes);
/// A block of `bytes` (at least one byte) holding a copy of the first `used` bytes of `source`,
/// the rest zero: the same contents as a zero-filled block filled by hand, without clearing the
/// copied part first. Null when the heap refuses or `used` exceeds `bytes`.
void* HeapAllocCopy(const void* source, std::size_t used, std::size_t bytes);
/// A block of `bytes` (at least one byte) whose contents are undefined: working memory that is
/// written before it is read, without the cost of clearing it. Null when the heap refuses.
void* HeapAllocScratch(std::size_t bytes);
/// A copy of the text `text` with its terminator on the process heap; null for null or when the
/// heap refuses. Release it with HeapRelease.
char* HeapCopyText(const char* text);
/// Returns a block to the process heap; null is ignored.
void HeapRelease(void* block);

/// Test hook: refuse allocations on purpose, so that every failure path can be walked.
namespace heap_testing {
/// The next `n` allocations succeed and every later one fails, until Reset (n < 0: never fail).
void FailAfter(long n);
void Reset();
/// Allocations asked for since the last Reset, failed ones included.
long Attempts();
}  // namespace heap_testing

namespace os {
/// Backend: zero-filled process-heap block, null on failure. Callers go through HeapAllocZeroed.
void* ProcessHeapAlloc(std::size_t bytes);
/// Backend: a process-heap block whose contents are undefined, null on failure.
void* ProcessHeapAllocRaw(std::size_t bytes);
void ProcessHeapFree(void* block);
}  // namespace os

}  // namespace zed

#endif
