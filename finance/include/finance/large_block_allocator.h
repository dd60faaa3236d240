// An allocator for the few vectors that hold an entry per item (a million
// and more): blocks of several megabytes are aligned to 2 MB and offered to
// the kernel for huge pages, so filling them takes a page fault per 2 MB
// rather than per 4 KB. Smaller blocks come from the usual heap.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace tavrin::finance {

template <typename T>
struct LargeBlockAllocator {
    using value_type = T;
    static constexpr size_t kHugePage = size_t(2) << 20;
    static constexpr size_t kLarge = size_t(4) << 20;

    LargeBlockAllocator() = default;
    template <typename U>
    LargeBlockAllocator(const LargeBlockAllocator<U>&) {}

    T* allocate(size_t n) {
        const size_t bytes = n * sizeof(T);
        if (bytes < kLarge) return static_cast<T*>(::operator new(bytes));
        const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* p = std::aligned_alloc(kHugePage, rounded);
        if (p == nullptr) throw std::bad_alloc();
        // Only advice: where huge pages are off, the block is ordinary memory.
        (void)madvise(p, rounded, MADV_HUGEPAGE);
        return static_cast<T*>(p);
    }
    void deallocate(T* p, size_t n) {
        if (n * sizeof(T) < kLarge)
            ::operator delete(p);
        else
            std::free(p);
    }
    template <typename U>
    bool operator==(const LargeBlockAllocator<U>&) const {
        return true;
    }
};

}  // namespace tavrin::finance
