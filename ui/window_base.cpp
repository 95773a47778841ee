// WIN_Father's handles and hooks, and WIN_Handler's table of objects that share size messages.
#include "zedll/win32/window_base.h"

#include <cstring>

#include "os/heap.h"

namespace {

constexpr int kTableStep = 10;

void** NewTable(int slots) {
    return static_cast<void**>(zed::HeapAllocZeroed(sizeof(void*) * static_cast<std::size_t>(slots)));
}

}  // namespace

WIN_Father::WIN_Father() : window_(nullptr), parent_(nullptr) {}
WIN_Father::WIN_Father(const WIN_Father& other) : window_(other.window_), parent_(other.parent_) {}

WIN_Father& WIN_Father::operator=(const WIN_Father& other) {
    window_ = other.window_;
    parent_ = other.parent_;
    return *this;
}

WIN_Father::~WIN_Father() {
    window_ = nullptr;
    parent_ = nullptr;
}

HWND WIN_Father::GetHandle() { return window_; }
HWND WIN_Father::GetHandleParent() { return parent_; }

HWND WIN_Father::SetHandleParent(HWND parent) {
    HWND previous = parent_;
    parent_ = parent;
    return previous;
}

void WIN_Father::WMSize(HWND, UINT, LONG) {}
LONG WIN_Father::WMNotify(HWND, UINT, LONG) { return 0; }
void WIN_Father::WMMove(HWND, UINT, LONG) {}
void WIN_Father::WMPaint(HWND, UINT, LONG) {}

WIN_Handler::WIN_Handler() : table_(NewTable(kTableStep)), count_(0), capacity_(0) {
    if (table_ != nullptr) capacity_ = kTableStep;
}

WIN_Handler::~WIN_Handler() {
    zed::HeapRelease(table_);
    table_ = nullptr;
    count_ = 0;
    capacity_ = 0;
}

WIN_Handler& WIN_Handler::operator=(const WIN_Handler& other) {
    if (this == &other) return *this;
    void** copy = nullptr;
    if (other.table_ != nullptr && other.capacity_ > 0) {
        copy = NewTable(other.capacity_);
        if (copy == nullptr) return *this;   // keeps its own entries rather than losing them
        std::memcpy(copy, other.table_, sizeof(void*) * static_cast<std::size_t>(other.count_));
    }
    zed::HeapRelease(table_);
    table_ = copy;
    count_ = copy != nullptr ? other.count_ : 0;
    capacity_ = copy != nullptr ? other.capacity_ : 0;
    return *this;
}

int WIN_Handler::AddClass(void* object) {
    if (object == nullptr) return 0;
    if (table_ != nullptr) {
        for (int i = 0; i < count_; ++i) {
            if (table_[i] == object) return 1;
        }
        // The table grows when the last free slot would be taken.
        if (count_ + 1 >= capacity_) {
            void** grown = NewTable(capacity_ + kTableStep);
            if (grown == nullptr) return 0;
            std::memcpy(grown, table_, sizeof(void*) * static_cast<std::size_t>(count_));
            zed::HeapRelease(table_);
            table_ = grown;
            capacity_ += kTableStep;
        }
    } else {
        table_ = NewTable(kTableStep);
        count_ = 0;
        capacity_ = table_ != nullptr ? kTableStep : 0;
        if (table_ == nullptr) return 0;
    }
    table_[count_++] = object;
    return 1;
}

int WIN_Handler::RemoveClass(void* object) {
    if (object == nullptr || table_ == nullptr) return 0;
    for (int i = 0; i < count_; ++i) {
        if (table_[i] != object) continue;
        std::memmove(table_ + i, table_ + i + 1, sizeof(void*) * static_cast<std::size_t>(count_ - i - 1));
        table_[--count_] = nullptr;
        return 1;
    }
    return 0;
}

int WIN_Handler::WMSize(HWND window, UINT wparam, LONG lparam) {
    for (int i = 0; i < count_; ++i) {
        auto* object = static_cast<WIN_Father*>(table_[i]);
        HWND parent = object->GetHandleParent();
        if ((parent != nullptr && parent == window) || object->GetHandle() == window) {
            object->WMSize(window, wparam, lparam);
        }
    }
    return 1;
}
