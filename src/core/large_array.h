#pragma once

#include <cstddef>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace korbisto {

// An allocator for arrays of millions of rows. Every 4 KB page a process
// touches for the first time costs a change of its page tables, which in a
// virtual machine is dearer than filling the page; an array of megabytes is
// therefore asked for in huge pages (2 MB) where the system gives them.
template <typename T>
struct LargeArrayAllocator {
    using value_type = T;

    LargeArrayAllocator() = default;
    template <typename U>
    LargeArrayAllocator(const LargeArrayAllocator<U>&) {}

    T* allocate(std::size_t n) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        if (n > kMaxCount) throw std::bad_array_new_length();
        if (n * sizeof(T) >= kHugePage) {
            const std::size_t bytes = rounded(n * sizeof(T));
            void* p = std::aligned_alloc(kHugePage, bytes);
            if (p == nullptr) throw std::bad_alloc();
            madvise(p, bytes, MADV_HUGEPAGE);  // only a wish; without it the pages are small
            return static_cast<T*>(p);
        }
#endif
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, std::size_t n) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        if (n * sizeof(T) >= kHugePage) return std::free(p);
#endif
        std::allocator<T>().deallocate(p, n);
    }

    template <typename U>
    bool operator==(const LargeArrayAllocator<U>&) const {
        return true;
    }

private:
    static constexpr std::size_t kHugePage = std::size_t{2} << 20;
    static constexpr std::size_t kMaxCount =
        (static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max()) - kHugePage) / sizeof(T);
    static std::size_t rounded(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }
};

template <typename T>
using LargeArray = std::vector<T, LargeArrayAllocator<T>>;

}  // namespace korbisto
