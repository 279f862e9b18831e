#include "tools/record/OutputQueue.h"

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

struct COutputQueue::State {
    int fd = -1;
    std::size_t capacity = 0;
    std::mutex mutex;
    std::condition_variable changed;
    std::string queued;      // waiting for the thread
    std::size_t writing = 0; // bytes the thread is writing now
    int error = 0;
    bool stop = false;
};

namespace {

// Writes all bytes; 0 or the errno.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

} // namespace

COutputQueue::COutputQueue(int fd, std::size_t capacity) : state_(std::make_shared<State>())
{
    state_->fd = fd;
    state_->capacity = capacity;
    std::thread([state = state_] {
        std::unique_lock lock(state->mutex);
        for (;;) {
            state->changed.wait(lock, [&] { return state->stop || !state->queued.empty(); });
            if (state->queued.empty())
                return;
            std::string chunk;
            chunk.swap(state->queued);
            state->writing = chunk.size();
            lock.unlock();
            const int error = writeAll(state->fd, chunk);
            lock.lock();
            state->writing = 0;
            state->error = error;
            state->changed.notify_all();
            if (error != 0) {
                state->queued.clear();
                return;
            }
        }
    }).detach();
}

COutputQueue::~COutputQueue()
{
    std::lock_guard lock(state_->mutex);
    state_->stop = true;
    state_->queued.clear();
    state_->changed.notify_all();
}

bool COutputQueue::push(std::string_view text)
{
    std::lock_guard lock(state_->mutex);
    if (state_->error != 0 ||
        state_->queued.size() + state_->writing + text.size() > state_->capacity)
        return false;
    state_->queued += text;
    state_->changed.notify_all();
    return true;
}

bool COutputQueue::flush(Deadline deadline)
{
    std::unique_lock lock(state_->mutex);
    state_->changed.wait_until(lock, deadline, [&] {
        return state_->error != 0 || (state_->queued.empty() && state_->writing == 0);
    });
    return state_->error == 0 && state_->queued.empty() && state_->writing == 0;
}

int COutputQueue::error() const
{
    std::lock_guard lock(state_->mutex);
    return state_->error;
}
