#include "platform/Backend.h"

#include <atomic>

namespace platform {
namespace {
std::atomic<Backend*> installed{nullptr};
}

Backend* backend() { return installed.load(std::memory_order_acquire); }

Backend* setBackend(Backend* b) { return installed.exchange(b, std::memory_order_acq_rel); }

}  // namespace platform
