// An output buffer between guard bytes, all filled with one pattern: a call that must leave its
// output alone leaves every byte as it was, and one that writes must stay inside the buffer.
#ifndef ZEDLL_TESTS_SUPPORT_GUARDED_BUFFER_H
#define ZEDLL_TESTS_SUPPORT_GUARDED_BUFFER_H

#include <cstddef>
#include <cstring>
#include <vector>

namespace zedtest {

template <typename T>
class GuardedBuffer {
public:
    static constexpr std::size_t kGuardBytes = 64;
    static constexpr unsigned char kPattern = 0xA5;

    explicit GuardedBuffer(std::size_t count = 1)
        : count_(count), bytes_(2 * kGuardBytes + count * sizeof(T), kPattern) {}

    /// Where the call under test writes (suitably aligned for T).
    T* data() { return reinterpret_cast<T*>(bytes_.data() + kGuardBytes); }
    std::size_t size() const { return count_; }

    /// No byte of the buffer or its guards has changed.
    bool Untouched() const { return Unchanged(0, bytes_.size()); }
    /// The guards before and after the buffer are as they were.
    bool GuardsIntact() const {
        return Unchanged(0, kGuardBytes) && Unchanged(bytes_.size() - kGuardBytes, kGuardBytes);
    }

private:
    bool Unchanged(std::size_t from, std::size_t n) const {
        for (std::size_t i = from; i < from + n; ++i) {
            if (bytes_[i] != kPattern) return false;
        }
        return true;
    }
    std::size_t count_;
    std::vector<unsigned char> bytes_;  // operator new's alignment suffices for T
};

}  // namespace zedtest

#endif
