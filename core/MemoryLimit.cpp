#include "core/MemoryLimit.h"

#include <cstdio>
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

std::size_t availableMemoryBytes()
{
    std::FILE* info = std::fopen("/proc/meminfo", "re");
    if (!info)
        return physicalMemoryBytes();
    char line[128];
    unsigned long long kib = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, info))
        found = std::sscanf(line, "MemAvailable: %llu kB", &kib) == 1;
    std::fclose(info);
    if (!found || kib > std::numeric_limits<std::size_t>::max() / 1024)
        return physicalMemoryBytes();
    return static_cast<std::size_t>(kib * 1024);
}

bool fileFitsInMemory(std::size_t fileBytes) { return fileBytes <= physicalMemoryBytes(); }

std::size_t reservationHint(std::size_t fileBytes)
{
    return fileBytes < kMaxReservation ? fileBytes : kMaxReservation;
}
