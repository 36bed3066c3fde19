#include "shell/AEffEditor.h"

#include "shell/AudioEffectX.h"
#include "shell/EditorFrame.h"
#include "shell/platform/Platform.h"

namespace quillory {

std::atomic<int32_t> AEffGUIEditor::knobMode{0};

bool AEffEditor::getRect(ERect** rect) {
    if (rect != nullptr) {
        *rect = nullptr;
    }
    return false;
}

bool AEffEditor::open(void* parentWindow) {
    systemWindow = parentWindow;
    return false;
}

AEffGUIEditor::AEffGUIEditor(AudioEffect* owner)
    : AEffEditor(owner), lLastTicks(platform::services().tickCount()) {
    owner->setEditor(this);
    platform::services().oleInitialize();
}

AEffGUIEditor::~AEffGUIEditor() {
    platform::services().oleUninitialize();
}

bool AEffGUIEditor::getRect(ERect** out) {
    if (out != nullptr) {
        *out = &rect;
    }
    return true;
}

void AEffGUIEditor::idle() {
    if (!inIdleStuff && frame != nullptr) {
        frame->idle();
    }
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) {
    return frame != nullptr && frame->onKeyDown(keyCode) == 1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) {
    return frame != nullptr && frame->onKeyUp(keyCode) == 1;
}

bool AEffGUIEditor::onWheel(float distance) {
    if (frame == nullptr) {
        return false;
    }
    const platform::ScreenPoint where = platform::services().cursorPosition();
    return frame->onWheelAtScreenPoint(where.x, where.y, distance);
}

bool AEffGUIEditor::setKnobMode(int32_t mode) {
    knobMode.store(mode, std::memory_order_relaxed);
    return true;
}

// Edit notifications are host services of extended effects; a plain effect has none.
void AEffGUIEditor::beginEdit(int32_t index) {
    if (auto* extended = dynamic_cast<AudioEffectX*>(effect)) {
        extended->beginEdit(index);
    }
}

void AEffGUIEditor::endEdit(int32_t index) {
    if (auto* extended = dynamic_cast<AudioEffectX*>(effect)) {
        extended->endEdit(index);
    }
}

// Tick comparisons are made on the signed difference so that they stay right when the
// 32-bit millisecond counter wraps (every 49.7 days).
static bool isBefore(uint32_t tick, uint32_t reference) {
    return static_cast<int32_t>(tick - reference) < 0;
}

void AEffGUIEditor::doIdleStuff() {
    platform::Services& system = platform::services();
    uint32_t now = system.tickCount();
    if (isBefore(now, lLastTicks)) {
        system.sleepMilliseconds(4);
        now += 4;
        if (isBefore(now, lLastTicks - 50)) {
            return;
        }
    }
    idle();
    system.dispatchOnePendingPaint();
    lLastTicks = now + 100;

    inIdleStuff = true;
    effect->masterIdle();
    inIdleStuff = false;
}

} // namespace quillory
