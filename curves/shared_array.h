// Result arrays of CLS_Spline: zero-filled blocks of the general-purpose allocator that copies of
// one object share, released when the last holder lets go.
#ifndef ZEDLL_CURVES_SHARED_ARRAY_H
#define ZEDLL_CURVES_SHARED_ARRAY_H

#include <cstddef>

namespace zed {

/// A zero-filled array of `count` elements of `element_size` bytes, held once, or null when the
/// allocator refuses or the size does not fit. The reference count sits in a hidden header in
/// front of the elements, so the object itself stays two plain pointers.
void* SharedArrayAlloc(std::size_t count, std::size_t element_size);
/// As SharedArrayAlloc, but the elements' contents are undefined: for a caller that writes every
/// element itself (and zero-fills what it leaves), so that no byte is written twice.
void* SharedArrayAllocUncleared(std::size_t count, std::size_t element_size);
/// One more holder of `array` (null is ignored).
void SharedArrayRetain(void* array);
/// One holder fewer; the last one releases the block (null is ignored).
void SharedArrayRelease(void* array);
/// Holders of `array` (0 for null); for tests.
long SharedArrayHolders(const void* array);

}  // namespace zed

#endif
