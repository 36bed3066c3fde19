#include "shell/platform/Platform.h"

#include <atomic>

namespace quillory::platform {

namespace {
std::atomic<Services*> substitute{nullptr};
} // namespace

Services& services() {
    Services* replacement = substitute.load(std::memory_order_acquire);
    return replacement != nullptr ? *replacement : systemServices();
}

void setServices(Services* replacement) {
    substitute.store(replacement, std::memory_order_release);
}

} // namespace quillory::platform
