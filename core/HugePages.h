#pragma once
// Large blocks of memory that are written once from end to end (the index and value columns of
// a file of gigabytes) cost a page fault every 4 KiB, and a fault costs microseconds. Advised,
// the kernel backs them with 2 MiB pages where it can: a few hundred faults instead of a few
// hundred thousand. The unused end of such a block is given back once it is filled, so that
// its last huge page holds no more than what was written.

#include <cstddef>
#include <vector>

// Advises the whole huge pages within [data, data + bytes); nothing for a smaller block.
void adviseHugePages(const void* data, std::size_t bytes);
// Gives back the whole pages within [data, data + bytes), which hold nothing needed.
void releasePages(const void* data, std::size_t bytes);

// Room for count elements, advised.
template <class T> void reserveLarge(std::vector<T>& v, std::size_t count)
{
    v.reserve(count);
    adviseHugePages(v.data(), v.capacity() * sizeof(T));
}
// Gives back the room beyond the elements.
template <class T> void releaseUnused(const std::vector<T>& v)
{
    releasePages(v.data() + v.size(), (v.capacity() - v.size()) * sizeof(T));
}
