#include "shell/StopFlag.h"

#include <atomic>

namespace {
std::atomic<bool> g_stop{false};
std::atomic<bool> g_failure{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from signal handlers");
} // namespace

bool stopRequested() { return g_stop.load(std::memory_order_relaxed); }
void requestStop() { g_stop.store(true, std::memory_order_relaxed); }
void requestStopForFailure()
{
    g_failure.store(true, std::memory_order_relaxed);
    g_stop.store(true, std::memory_order_relaxed);
}
bool stoppedForFailure() { return g_failure.load(std::memory_order_relaxed); }
void clearStopForTests()
{
    g_stop.store(false, std::memory_order_relaxed);
    g_failure.store(false, std::memory_order_relaxed);
}
