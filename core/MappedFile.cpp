#include "core/MappedFile.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The mappings the SIGBUS handler may mend. A fixed table of atomics: the handler reads it
// without locks, and a slot is only reused after its mapping is gone.
struct GuardSlot {
    std::atomic<bool> taken{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> damaged{false};
};
constexpr int kGuardSlots = 64;
GuardSlot g_slots[kGuardSlots];
std::uintptr_t g_pageSize = 4096;
struct sigaction g_previous {};
std::once_flag g_installOnce;
bool g_installed = false;

// A read past the end of a file that was cut shorter: every page from the faulting one to the
// end of the mapping lies past the new end, so all of them become zero pages and the read is
// retried. A fault anywhere else is handed to whatever handled SIGBUS before.
void onSigbus(int signal, siginfo_t* info, void* context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (GuardSlot& slot : g_slots) {
        const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
        const std::uintptr_t end = slot.end.load(std::memory_order_acquire);
        if (begin == 0 || address < begin || address >= end)
            continue;
        const std::uintptr_t page = address & ~(g_pageSize - 1);
        void* mended = ::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        if (mended == MAP_FAILED)
            break;
        slot.damaged.store(true, std::memory_order_release);
        return;
    }
    if (g_previous.sa_flags & SA_SIGINFO) {
        g_previous.sa_sigaction(signal, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
    } else {
        // The default action: put it back; the faulting read runs again and ends the process.
        ::sigaction(SIGBUS, &g_previous, nullptr);
    }
}

bool installGuard()
{
    std::call_once(g_installOnce, [] {
        const long page = ::sysconf(_SC_PAGESIZE);
        if (page > 0)
            g_pageSize = static_cast<std::uintptr_t>(page);
        struct sigaction action {};
        action.sa_sigaction = onSigbus;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_SIGINFO;
        g_installed = ::sigaction(SIGBUS, &action, &g_previous) == 0;
    });
    return g_installed;
}

int takeSlot()
{
    for (int i = 0; i < kGuardSlots; ++i) {
        bool expected = false;
        if (g_slots[i].taken.compare_exchange_strong(expected, true))
            return i;
    }
    return -1;
}

} // namespace

CMappedFile::~CMappedFile() { close(); }

int CMappedFile::open(const std::string& path)
{
    close();
    // Never blocks on opening: a FIFO without a writer reads as empty.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    struct stat info {};
    int result = 0;
    if (::fstat(fd, &info) != 0) {
        result = errno;
    } else if (S_ISDIR(info.st_mode)) {
        result = EISDIR;
    } else if (!S_ISREG(info.st_mode) || info.st_size == 0) {
        result = readWhole(fd);
    } else {
        const auto size = static_cast<std::size_t>(info.st_size);
        const int slot = installGuard() ? takeSlot() : -1;
        void* map = slot < 0 ? MAP_FAILED : ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map == MAP_FAILED) {
            if (slot >= 0)
                g_slots[slot].taken.store(false);
            result = readWhole(fd); // no guard to be had, or no mapping: a copy
        } else {
            data_ = static_cast<const char*>(map);
            size_ = size;
            mappedLength_ = (size + g_pageSize - 1) & ~(g_pageSize - 1);
            slot_ = slot;
            fd_ = fd;
            GuardSlot& guard = g_slots[slot];
            guard.damaged.store(false);
            guard.end.store(reinterpret_cast<std::uintptr_t>(map) + mappedLength_,
                            std::memory_order_release);
            guard.begin.store(reinterpret_cast<std::uintptr_t>(map), std::memory_order_release);
        }
    }
    if (fd_ != fd)
        ::close(fd);
    if (result != 0)
        close();
    return result;
}

int CMappedFile::readWhole(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    try {
        char block[1 << 16];
        for (;;) {
            const ssize_t got = ::read(fd, block, sizeof block);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return errno;
            if (got == 0)
                break;
            copy_.append(block, static_cast<std::size_t>(got));
        }
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
    data_ = copy_.data();
    size_ = copy_.size();
    return 0;
}

void CMappedFile::assign(std::string_view bytes)
{
    close();
    copy_.assign(bytes);
    data_ = copy_.data();
    size_ = copy_.size();
}

void CMappedFile::close()
{
    if (slot_ >= 0) {
        GuardSlot& guard = g_slots[slot_];
        guard.begin.store(0, std::memory_order_release);
        guard.end.store(0, std::memory_order_release);
        ::munmap(const_cast<char*>(data_), mappedLength_);
        guard.taken.store(false, std::memory_order_release);
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    slot_ = -1;
    data_ = nullptr;
    size_ = 0;
    mappedLength_ = 0;
    std::string().swap(copy_);
}

int CMappedFile::readAt(std::size_t offset, char* out, std::size_t count) const
{
    if (offset > size_ || count > size_ - offset)
        return EINVAL;
    if (fd_ < 0) {
        std::memcpy(out, data_ + offset, count);
        return 0;
    }
    while (count > 0) {
        const ssize_t got = ::pread(fd_, out, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0) {
            // Cut shorter since it was mapped: damaged, as a read through the mapping finds.
            g_slots[slot_].damaged.store(true, std::memory_order_release);
            return EIO;
        }
        out += got;
        offset += static_cast<std::size_t>(got);
        count -= static_cast<std::size_t>(got);
    }
    return 0;
}

bool CMappedFile::damaged() const
{
    return slot_ >= 0 && g_slots[slot_].damaged.load(std::memory_order_acquire);
}
