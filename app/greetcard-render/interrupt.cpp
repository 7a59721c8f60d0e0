#include "interrupt.h"

#include <atomic>
#include <csignal>

namespace greetcard::cli {
namespace {

// A lock-free atomic is safe to set from a signal handler.
std::atomic<bool> stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void onStopSignal(int) { stopRequested.store(true, std::memory_order_relaxed); }

}  // namespace

void installInterruptHandlers() {
  std::signal(SIGINT, onStopSignal);
  std::signal(SIGTERM, onStopSignal);
}

bool interruptRequested() { return stopRequested.load(std::memory_order_relaxed); }

}  // namespace greetcard::cli
