#pragma once
// One plug-in parameter. Every value change passes through here, whatever its source: the
// host, the editor or a program switch. The parameter keeps the value the host reads back,
// writes it into the current program, formats its display text, hands the setting to the
// engine (which glides continuous values in over 20,000 frames on the audio thread) and
// tells an attached editor control.
//
// Threads. Every change is made under the owner's control lock; the host reads values
// without it, and an editor control is refreshed without it.

#include "params/ParameterControl.h"
#include "params/ParameterOwner.h"

#include <atomic>
#include <cstdint>

namespace quillory {

enum ParameterKind : int32_t { kParamStepped = 0, kParamContinuous = 1 };
// The effect's parameters by host index.
enum ParameterIndex : int32_t {
    kParamDepth = 0,
    kParamSpeed = 1,
    kParamTaps = 2,
    kParamWaveform = 3,
    kParamMix = 4,
};
enum ControlKind : int32_t { kControlPad = 1, kControlDropdown = 2, kControlNone = 99 };

// Widens the host range so that a host value of exactly 1 selects the highest choice.
constexpr double kChoiceSpread = 0.99;

constexpr int32_t kLongNameLength = 39;
constexpr int32_t kShortNameLength = 24;
constexpr int32_t kDisplayTextLength = 42;

class ParameterX {
public:
    // Continuous parameter, starting at 0.
    ParameterX(const char* longName, const char* shortName, int32_t index, ParameterOwner* effect,
               ParameterX* previous);
    // Stepped parameter with choices 0..maxChoice, starting at choice 0.
    ParameterX(const char* longName, const char* shortName, int32_t index, int32_t maxChoice,
               ParameterOwner* effect, ParameterX* previous);

    ParameterX(const ParameterX&) = delete;
    ParameterX& operator=(const ParameterX&) = delete;

    // Editor controls write through these two, with `hostEnabled` cleared around the call so
    // that the host's echo of the change is ignored. They take the control lock themselves
    // and report the change to the host afterwards, without holding it.
    virtual void setFromEditor(double normalised);
    virtual void setChoiceFromEditor(int choice);

    // The caller holds the control lock.
    void setFromHost(double normalised);
    // Program switch: the value takes effect at once, ending any glide.
    void jumpTo(double normalised);
    void jumpToChoice(int32_t newChoice);

    // Lock-free: the host may read values from any thread.
    float normalisedValue() const;
    // Copies the display text (at most kDisplayTextLength characters and the terminator),
    // under the control lock.
    void copyDisplayText(char* text) const;

    // Tells the attached editor control, if any, that the value changed. Lock-free.
    void refreshControl() const;
    // Attaches the editor's model of a pad or a dropdown. Done once, while the effect is
    // built, before any other thread can reach the parameter.
    void attachPad(ParameterControl& control);
    void attachDropdown(ParameterControl& control);

    bool isContinuous() const { return kind == kParamContinuous; }

    int32_t index;
    ParameterX* next = nullptr;
    std::atomic<bool> hostEnabled{true};
    int32_t kind;
    int32_t controlKind = kControlNone;
    std::atomic<int32_t> choice{0};
    int32_t maxChoice = 0;
    std::atomic<double> value{0.0};  // what the host reads back
    std::atomic<double> target{0.0}; // what the text and the pad show
    char longName[kLongNameLength + 1] = {};
    char shortName[kShortNameLength + 1] = {};
    char displayText[kDisplayTextLength + 1] = {}; // under the control lock
    ParameterControl* dropdown = nullptr;
    ParameterControl* pad = nullptr;
    ParameterOwner* effect;

private:
    enum class Change { glide, jump };

    void formatDisplay();
    void writeToProgram();
    // Hands the new setting to the engine through the owner.
    void handOff(Change change);
};

} // namespace quillory
