#pragma once
// What a parameter needs of whatever owns it and drives the engine: the lock that serialises
// every change, the program record that edits are written into, the hand-off of settings to
// the engine, and the host's automation. The effect implements it; the parameters never see
// the effect itself, and tests can stand in for it.

#include "params/ChorusProgram.h"

#include <cstdint>
#include <mutex>

namespace quillory {

class ParameterOwner {
public:
    // Held by every control-side change of a parameter; never by the audio thread.
    virtual std::mutex& controlLock() = 0;
    // The record of the current program.
    virtual ChorusProgram& currentProgramRecord() = 0;

    // Hands a setting of parameter `index` to the engine: a continuous value to glide to,
    // a continuous value to take at once (a program change), or a stepped choice.
    virtual void glideTo(int32_t index, double value) = 0;
    virtual void jumpTo(int32_t index, double value) = 0;
    virtual void choose(int32_t index, int32_t choice) = 0;

    // Reports an edit made in the editor to the host as an automated change. The host may
    // call straight back into the plug-in, so this is never called with the lock held.
    virtual void setParameterAutomated(int32_t index, float value) = 0;

protected:
    ~ParameterOwner() = default;
};

} // namespace quillory
