// CLS_FIFO, CLS_LIFO and CLS_Stack: slots of private record copies behind a recursive lock each.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "os/heap.h"
#include "os/recursive_lock.h"
#include "zedll/util.h"

namespace {

using zed::os::RecursiveLock;

RecursiveLock* AsLock(void* p) { return static_cast<RecursiveLock*>(p); }

// Holds an object's lock for one operation. An object whose lock could not be made has no slots
// either, so every guarded operation finds nothing to do.
class Guard {
public:
    explicit Guard(void* lock) : lock_(AsLock(lock)) {
        if (lock_ != nullptr) zed::os::EnterLock(lock_);
    }
    ~Guard() {
        if (lock_ != nullptr) zed::os::LeaveLock(lock_);
    }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    RecursiveLock* lock_;
};

// Any record but a null one is stored, whatever its length says.
bool Acceptable(const LifoFifoItem* item) {
    return item != nullptr && static_cast<uint64_t>(item->length) + 1 <= SIZE_MAX;
}

// A private copy of `length` bytes in a block from the general-purpose allocator. The block has
// room for at least the length field (so the copy can always say how long it is) and one zero
// byte more. A record shorter than its length field is only the first `length` bytes of that
// field: the copy gets the whole field written first, then those bytes over it, which are the
// same bytes; nothing is read past the record's `length` bytes.
LifoFifoItem* CopyRecord(const LifoFifoItem* item) {
    const uint32_t length = item->length;
    const size_t held = length < sizeof(uint32_t) ? sizeof(uint32_t) : static_cast<size_t>(length);
    auto* block = static_cast<unsigned char*>(std::malloc(held + 1));
    if (block == nullptr) return nullptr;
    std::memset(block + length, 0, held + 1 - length);
    std::memcpy(block, &length, sizeof length);
    std::memcpy(block, item, length);
    return reinterpret_cast<LifoFifoItem*>(block);
}

// Exactly `length` bytes go back into the caller's buffer, whatever that length is.
void TakeRecord(LifoFifoItem*& slot, LifoFifoItem* out) {
    uint32_t length;
    std::memcpy(&length, slot, sizeof length);
    std::memcpy(out, slot, length);
    std::free(slot);
    slot = nullptr;
}

// IsItem reads the count (or depth) without the lock, while another thread's store or take
// changes it under the lock: the number is written and read whole (relaxed atomic accesses), so
// that read is no data race. Everything else about it stays under the lock.
void SetCount(int& count, int value) { __atomic_store_n(&count, value, __ATOMIC_RELAXED); }
int CountNow(const int& count) { return __atomic_load_n(&count, __ATOMIC_RELAXED); }

void Discard(LifoFifoItem*& slot) {
    std::free(slot);
    slot = nullptr;
}

// size + 1 zero-filled slots from the process heap, or null (also for a size that cannot be).
LifoFifoItem** NewSlots(int size) {
    if (size < 0 || static_cast<uint64_t>(size) + 1 > SIZE_MAX / sizeof(LifoFifoItem*)) return nullptr;
    return static_cast<LifoFifoItem**>(
        zed::HeapAllocZeroed((static_cast<size_t>(size) + 1) * sizeof(LifoFifoItem*)));
}

void FreeSlots(LifoFifoItem**& slots, int size) {
    if (slots == nullptr) return;
    for (int i = 0; i <= size; ++i) std::free(slots[i]);
    zed::HeapRelease(slots);
    slots = nullptr;
}

// The LIFO and the stack share one set of steps over depth, size and slots 1..depth.
struct LifoState {
    int& depth;
    int& size;
    LifoFifoItem**& slots;

    int Init(int held_size) {
        FreeSlots(slots, held_size);
        SetCount(depth, 0);
        slots = NewSlots(size);
        return slots != nullptr ? 1 : 0;
    }
    int Push(const LifoFifoItem* item) {
        if (slots == nullptr || !Acceptable(item) || depth + 1 >= size) return 0;
        LifoFifoItem* copy = CopyRecord(item);
        if (copy == nullptr) return 0;
        slots[depth + 1] = copy;
        SetCount(depth, depth + 1);
        return 1;
    }
    int Pop(LifoFifoItem* out) {
        if (slots == nullptr || out == nullptr || depth == 0) return 0;
        TakeRecord(slots[depth], out);
        SetCount(depth, depth - 1);
        return 1;
    }
    void FreeTop(int n) {
        if (slots == nullptr) return;
        for (int removed = 0; depth > 0 && (n <= 0 || removed < n); ++removed) {
            Discard(slots[depth]);
            SetCount(depth, depth - 1);
        }
    }
    void FreeBottom(int n) {
        if (slots == nullptr) return;
        const int gone = (n <= 0 || n > depth) ? depth : n;
        for (int i = 1; i <= gone; ++i) Discard(slots[i]);
        // The survivors move down in order: slot 1 is the oldest again.
        for (int i = gone + 1; i <= depth; ++i) {
            slots[i - gone] = slots[i];
            slots[i] = nullptr;
        }
        SetCount(depth, depth - gone);
    }
    // Copies of another state's records into this one (just initialised with the same size).
    bool CopyRecords(int other_depth, LifoFifoItem* const* other_slots) {
        if (slots == nullptr || other_slots == nullptr) return false;
        for (int i = 1; i <= other_depth; ++i) {
            LifoFifoItem* copy = CopyRecord(other_slots[i]);
            if (copy == nullptr) return false;
            slots[i] = copy;
            SetCount(depth, i);
        }
        return true;
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// CLS_FIFO

CLS_FIFO::CLS_FIFO() : CLS_FIFO(10) {}

CLS_FIFO::CLS_FIFO(int size)
    : read_(0), write_(0), count_(0), size_(size), slots_(nullptr),
      lock_(zed::os::CreateRecursiveLock()), ok_(0) {
    if (lock_ != nullptr) ok_ = InitFifo();
}

CLS_FIFO::CLS_FIFO(const CLS_FIFO& other) : CLS_FIFO(other.size_) {
    Guard guard(other.lock_);
    Guard mine(lock_);
    if (slots_ == nullptr || other.slots_ == nullptr || size_ != other.size_) return;
    for (int i = 0; i <= size_; ++i) {
        if (other.slots_[i] == nullptr) continue;
        slots_[i] = CopyRecord(other.slots_[i]);
        if (slots_[i] == nullptr) {   // out of memory: an empty queue, not a torn one
            FreeSlots(slots_, size_);
            slots_ = NewSlots(size_);
            read_ = write_ = 0;
            SetCount(count_, 0);
            ok_ = 0;
            return;
        }
    }
    read_ = other.read_;
    write_ = other.write_;
    SetCount(count_, other.count_);
}

CLS_FIFO::~CLS_FIFO() {
    {
        Guard guard(lock_);
        FreeSlots(slots_, size_);
    }
    zed::os::DestroyRecursiveLock(AsLock(lock_));
}

CLS_FIFO& CLS_FIFO::operator=(const CLS_FIFO& other) {
    if (this == &other) return *this;
    CLS_FIFO copy(other);   // takes only the other object's lock
    Guard guard(lock_);
    std::swap(read_, copy.read_);
    std::swap(write_, copy.write_);
    const int count = count_;
    SetCount(count_, copy.count_);
    copy.count_ = count;
    std::swap(size_, copy.size_);
    std::swap(slots_, copy.slots_);
    std::swap(ok_, copy.ok_);
    return *this;
}

int CLS_FIFO::InitFifo() {
    Guard guard(lock_);
    if (lock_ == nullptr) return 0;
    FreeSlots(slots_, size_);
    read_ = write_ = 0;
    SetCount(count_, 0);
    slots_ = NewSlots(size_);
    return slots_ != nullptr ? 1 : 0;
}

int CLS_FIFO::Write(LifoFifoItem* item) {
    Guard guard(lock_);
    if (slots_ == nullptr || !Acceptable(item)) return 0;
    if (write_ >= size_) write_ = 0;
    if (count_ >= size_) return 0;
    LifoFifoItem* copy = CopyRecord(item);
    if (copy == nullptr) return 0;
    slots_[write_++] = copy;
    SetCount(count_, count_ + 1);
    return 1;
}

int CLS_FIFO::Read(LifoFifoItem* item) {
    Guard guard(lock_);
    if (slots_ == nullptr || item == nullptr || count_ == 0) return 0;
    if (read_ >= size_) read_ = 0;
    TakeRecord(slots_[read_++], item);
    SetCount(count_, count_ - 1);
    return 1;
}

int CLS_FIFO::SetSize(int size) {
    Guard guard(lock_);
    FreeSlots(slots_, size_);   // made for the old size
    size_ = size;
    return InitFifo();
}

int CLS_FIFO::GetSize() { return size_; }
bool CLS_FIFO::IsOk() { return ok_ != 0; }
bool CLS_FIFO::IsItem() { return CountNow(count_) != 0; }

void CLS_FIFO::FreeTop(int n) {
    Guard guard(lock_);
    if (slots_ == nullptr) return;
    for (int removed = 0; count_ > 0 && (n <= 0 || removed < n); ++removed) {
        if (read_ >= size_) read_ = 0;
        Discard(slots_[read_++]);
        SetCount(count_, count_ - 1);
    }
}

void CLS_FIFO::FreeBottom(int n) {
    Guard guard(lock_);
    if (slots_ == nullptr) return;
    for (int removed = 0; count_ > 0 && (n <= 0 || removed < n); ++removed) {
        write_ = (write_ == 0 ? size_ : write_) - 1;
        Discard(slots_[write_]);
        SetCount(count_, count_ - 1);
    }
}

namespace zed {

// CLS_LIFO and CLS_Stack are one last-in-first-out store under two sets of names: their life
// cycle and steps are written once, here.
struct LifoAccess {
    template <class Q>
    static LifoState State(Q& q) {
        return LifoState{q.depth_, q.size_, q.slots_};
    }
    // The records of `other` into `q`, just made with the same size; `q` is not ok when a copy failed.
    template <class Q>
    static void CopyRecords(Q& q, const Q& other) {
        Guard guard(other.lock_);
        Guard mine(q.lock_);
        if (q.size_ != other.size_) return;
        LifoState state = State(q);
        if (!state.CopyRecords(other.depth_, other.slots_)) {
            state.FreeTop(0);
            q.ok_ = 0;
        }
    }
    template <class Q>
    static void Destroy(Q& q) {
        {
            Guard guard(q.lock_);
            FreeSlots(q.slots_, q.size_);
        }
        zed::os::DestroyRecursiveLock(AsLock(q.lock_));
    }
    // `q` takes the contents of `copy` (a fresh copy), which takes q's old ones to its destructor.
    template <class Q>
    static void TakeOver(Q& q, Q& copy) {
        Guard guard(q.lock_);
        const int depth = q.depth_;
        SetCount(q.depth_, copy.depth_);
        copy.depth_ = depth;
        std::swap(q.size_, copy.size_);
        std::swap(q.slots_, copy.slots_);
        std::swap(q.ok_, copy.ok_);
    }
    template <class Q>
    static int Init(Q& q) {
        Guard guard(q.lock_);
        if (q.lock_ == nullptr) return 0;
        return State(q).Init(q.size_);
    }
    template <class Q>
    static int Push(Q& q, LifoFifoItem* item) {
        Guard guard(q.lock_);
        return State(q).Push(item);
    }
    template <class Q>
    static int Pop(Q& q, LifoFifoItem* item) {
        Guard guard(q.lock_);
        return State(q).Pop(item);
    }
    template <class Q>
    static void FreeTop(Q& q, int n) {
        Guard guard(q.lock_);
        State(q).FreeTop(n);
    }
};

}  // namespace zed

// ---------------------------------------------------------------------------------------------
// CLS_LIFO

using zed::LifoAccess;

CLS_LIFO::CLS_LIFO() : CLS_LIFO(10) {}

CLS_LIFO::CLS_LIFO(int size)
    : depth_(0), size_(size), slots_(nullptr), lock_(zed::os::CreateRecursiveLock()), ok_(0) {
    if (lock_ != nullptr) ok_ = InitLifo();
}

CLS_LIFO::CLS_LIFO(const CLS_LIFO& other) : CLS_LIFO(other.size_) { LifoAccess::CopyRecords(*this, other); }

CLS_LIFO::~CLS_LIFO() { LifoAccess::Destroy(*this); }

CLS_LIFO& CLS_LIFO::operator=(const CLS_LIFO& other) {
    if (this == &other) return *this;
    CLS_LIFO copy(other);
    LifoAccess::TakeOver(*this, copy);
    return *this;
}

int CLS_LIFO::InitLifo() { return LifoAccess::Init(*this); }
int CLS_LIFO::Write(LifoFifoItem* item) { return LifoAccess::Push(*this, item); }
int CLS_LIFO::Read(LifoFifoItem* item) { return LifoAccess::Pop(*this, item); }

int CLS_LIFO::SetSize(int size) {
    Guard guard(lock_);
    FreeSlots(slots_, size_);   // made for the old size
    size_ = size;
    return InitLifo();
}

int CLS_LIFO::GetSize() { return size_; }
bool CLS_LIFO::IsOk() { return ok_ != 0; }
bool CLS_LIFO::IsItem() { return CountNow(depth_) != 0; }
void CLS_LIFO::FreeTop(int n) { LifoAccess::FreeTop(*this, n); }

void CLS_LIFO::FreeBottom(int n) {
    Guard guard(lock_);
    LifoAccess::State(*this).FreeBottom(n);
}

// ---------------------------------------------------------------------------------------------
// CLS_Stack

CLS_Stack::CLS_Stack() : CLS_Stack(10) {}

CLS_Stack::CLS_Stack(int size)
    : depth_(0), size_(size), slots_(nullptr), lock_(zed::os::CreateRecursiveLock()), ok_(0) {
    if (lock_ != nullptr) ok_ = InitStack();
}

CLS_Stack::CLS_Stack(const CLS_Stack& other) : CLS_Stack(other.size_) { LifoAccess::CopyRecords(*this, other); }

CLS_Stack::~CLS_Stack() { LifoAccess::Destroy(*this); }

CLS_Stack& CLS_Stack::operator=(const CLS_Stack& other) {
    if (this == &other) return *this;
    CLS_Stack copy(other);
    LifoAccess::TakeOver(*this, copy);
    return *this;
}

int CLS_Stack::InitStack() { return LifoAccess::Init(*this); }
int CLS_Stack::Push(LifoFifoItem* item) { return LifoAccess::Push(*this, item); }
int CLS_Stack::Pop(LifoFifoItem* item) { return LifoAccess::Pop(*this, item); }
int CLS_Stack::GetSize() { return size_; }
bool CLS_Stack::IsOk() { return ok_ != 0; }
bool CLS_Stack::IsItem() { return CountNow(depth_) != 0; }
void CLS_Stack::FreeTop(int n) { LifoAccess::FreeTop(*this, n); }
