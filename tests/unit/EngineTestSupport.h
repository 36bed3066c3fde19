#pragma once
// An engine set up the way the effect sets it up, on the heap: it holds a megabyte of
// delay lines.

#include "engine/ChorusEngine.h"

#include <memory>

namespace quillory {

inline std::unique_ptr<ChorusEngine> makeEngine(uint32_t mode) {
    auto engine = std::make_unique<ChorusEngine>();
    engine->reset();
    engine->setRangeConstants();
    engine->mode = mode;
    engine->applyMode();
    return engine;
}

} // namespace quillory
