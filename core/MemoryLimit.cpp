#include "core/MemoryLimit.h"

#include <limits>
#include <unistd.h>

std::size_t physicalMemoryBytes()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return std::numeric_limits<std::size_t>::max();
    const auto total =
        static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(pageSize);
    if (total > std::numeric_limits<std::size_t>::max())
        return std::numeric_limits<std::size_t>::max();
    return static_cast<std::size_t>(total);
}

bool fileFitsInMemory(std::size_t fileBytes) { return fileBytes <= physicalMemoryBytes(); }

std::size_t reservationHint(std::size_t fileBytes)
{
    return fileBytes < kMaxReservation ? fileBytes : kMaxReservation;
}
