// Reference-counted result arrays of CLS_Spline on the general-purpose allocator.
#include "curves/shared_array.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace zed {
namespace {

// 16 bytes in front of the elements, so that they keep the allocator's own alignment.
struct alignas(16) Header {
    std::atomic<long> holders;
};
static_assert(sizeof(Header) == 16, "the header keeps the elements 16-byte aligned");

Header* HeaderOf(const void* array) {
    return reinterpret_cast<Header*>(const_cast<unsigned char*>(static_cast<const unsigned char*>(array)) -
                                     sizeof(Header));
}

}  // namespace

void* SharedArrayAlloc(std::size_t count, std::size_t element_size) {
    if (element_size == 0 || count > (SIZE_MAX - sizeof(Header)) / element_size) return nullptr;
    // calloc: large blocks come as fresh zero pages, untouched until written.
    void* block = std::calloc(1, sizeof(Header) + count * element_size);
    if (block == nullptr) return nullptr;
    Header* header = new (block) Header;
    header->holders.store(1, std::memory_order_relaxed);
    return static_cast<unsigned char*>(block) + sizeof(Header);
}

void* SharedArrayAllocUncleared(std::size_t count, std::size_t element_size) {
    if (element_size == 0 || count > (SIZE_MAX - sizeof(Header)) / element_size) return nullptr;
    void* block = std::malloc(sizeof(Header) + count * element_size);
    if (block == nullptr) return nullptr;
    Header* header = new (block) Header;
    header->holders.store(1, std::memory_order_relaxed);
    return static_cast<unsigned char*>(block) + sizeof(Header);
}

void SharedArrayRetain(void* array) {
    if (array != nullptr) HeaderOf(array)->holders.fetch_add(1, std::memory_order_relaxed);
}

void SharedArrayRelease(void* array) {
    if (array == nullptr) return;
    Header* header = HeaderOf(array);
    if (header->holders.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        header->~Header();
        std::free(header);
    }
}

long SharedArrayHolders(const void* array) {
    return array == nullptr ? 0 : HeaderOf(array)->holders.load(std::memory_order_relaxed);
}

}  // namespace zed
