#pragma once
// The shell's platform services with a scripted clock and cursor, for running the toolkit
// and the editor without a window system: install with platform::setServices(&services).

#include "shell/platform/Platform.h"

#include <cstdint>

namespace quillory::gui::headless {

class HeadlessServices final : public platform::Services {
public:
    uint32_t tickCount() override { return now; }
    // Sleeping moves the scripted clock on instead of waiting.
    void sleepMilliseconds(uint32_t milliseconds) override { now += milliseconds; }
    platform::ScreenPoint cursorPosition() override { return cursor; }
    void dispatchOnePendingPaint() override { ++pendingPaintsDispatched; }
    void oleInitialize() override { ++oleInitializations; }
    void oleUninitialize() override { --oleInitializations; }

    uint32_t now = 1000;
    platform::ScreenPoint cursor{0, 0};
    int32_t pendingPaintsDispatched = 0;
    int32_t oleInitializations = 0;
};

} // namespace quillory::gui::headless
