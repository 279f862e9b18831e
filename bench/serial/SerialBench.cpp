// Reader-thread CPU per second of wall time on an idle port (no traffic; reception disabled with
// bytes waiting), read from /proc/self/task/<tid>/schedstat, and line throughput.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <dirent.h>
#include <fstream>
#include <set>
#include <thread>

#include "serial/ComPortObj.h"
#include "tests/serial/PtyPair.h"

namespace {

std::set<int> threadIds()
{
    std::set<int> ids;
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] != '.')
                ids.insert(std::atoi(entry->d_name));
        }
        ::closedir(dir);
    }
    return ids;
}

// Nanoseconds the thread has run on a CPU.
double cpuNs(int tid)
{
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/schedstat");
    double ns = 0;
    in >> ns;
    return ns;
}

// Opens a port on a fresh pseudo-terminal and finds its reader thread.
struct IdlePort {
    explicit IdlePort(ILineTarget* target)
    {
        const std::set<int> before = threadIds();
        port.setReceiveEnabled(true);
        port.openWithObject(pty.slavePath(), target);
        for (const int id : threadIds())
            if (!before.count(id))
                readerTid = id;
    }
    PtyPair pty;
    CComPortObj port;
    int readerTid = 0;
};

void measureIdle(benchmark::State& state, IdlePort& idle)
{
    if (idle.readerTid == 0 || cpuNs(idle.readerTid) <= 0) {
        state.SkipWithError("reader thread or its schedstat not found");
        return;
    }
    double used = 0;
    for (auto _ : state) {
        const double before = cpuNs(idle.readerTid);
        std::this_thread::sleep_for(std::chrono::seconds(1));
        used += cpuNs(idle.readerTid) - before;
    }
    state.counters["reader_cpu_us_per_s"] = used / 1e3 / static_cast<double>(state.iterations());
}

void BM_IdleOpenPort(benchmark::State& state)
{
    CLineCollector target;
    IdlePort idle(&target);
    measureIdle(state, idle);
}
BENCHMARK(BM_IdleOpenPort)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_IdleReceptionDisabledBytesWaiting(benchmark::State& state)
{
    CLineCollector target;
    IdlePort idle(&target);
    idle.pty.send("first line\rbytes that wait in the driver");
    target.waitLines(1);
    measureIdle(state, idle);
}
BENCHMARK(BM_IdleReceptionDisabledBytesWaiting)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Re-enables reception at once from the reader thread, as a frame that handles lines instantly.
class CountingTarget final : public ILineTarget {
public:
    void postLine(std::string, unsigned) override
    {
        lines.fetch_add(1);
        port->setReceiveEnabled(true);
    }
    void postDisconnectRequest(unsigned) override {}
    CComPortWnd* port = nullptr;
    std::atomic<int> lines{0};
};

void BM_LineThroughput(benchmark::State& state)
{
    CountingTarget target;
    IdlePort idle(&target);
    target.port = &idle.port;
    std::string line(104, '1');
    line += '\r';
    std::string burst;
    for (int i = 0; i < 20; ++i)
        burst += line;
    std::int64_t total = 0;
    for (auto _ : state) {
        const int expected = target.lines.load() + 20;
        idle.pty.send(burst);
        while (target.lines.load() < expected)
            std::this_thread::yield();
        total += 20;
    }
    state.SetItemsProcessed(total);
    state.SetBytesProcessed(total * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_LineThroughput)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
