#include "core/HugePages.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;

// Calls advise on the pages of the given size wholly within [data, data + bytes).
void advisePages(const void* data, std::size_t bytes, std::uintptr_t page, int advice)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
    const std::uintptr_t last = (begin + bytes) & ~(page - 1);
    // Advice only: where the kernel refuses it, the memory works as before.
    if (first < last)
        ::madvise(reinterpret_cast<void*>(first), last - first, advice);
}

} // namespace

void adviseHugePages(const void* data, std::size_t bytes)
{
    advisePages(data, bytes, kHugePage, MADV_HUGEPAGE);
}

void releasePages(const void* data, std::size_t bytes)
{
    static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    advisePages(data, bytes, page, MADV_DONTNEED);
}
