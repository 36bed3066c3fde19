#pragma once
// One plug-in parameter. Every value change passes through here, whatever its source: the
// host, the editor or a program switch. The parameter keeps the value the host reads back,
// writes it into the current program, formats its display text, and hands the change to the
// audio thread, which glides continuous values into the engine over 20,000 frames.
//
// Threads. Control-side state (value, target, choice, display text, host echo flag) is
// changed only under the effect's control lock. The audio thread owns `current`,
// `glideCount` and its copies of the target and choice; it learns of changes through the
// atomic hand-off slots, which it polls at the start of every frame. It never takes a lock.

#include <atomic>
#include <cstdint>

namespace quillory {

class QuilloryChorusVst;
struct Dropdown;
struct Pad;

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

// A glide takes this many frames: 19,999 one-pole steps and a final snap to the target.
constexpr int32_t kGlideSamples = 20000;
// Share of the remaining distance covered per frame: a time constant of 1,000 frames.
constexpr double kGlideCoefficient = 0.001;
// Widens the host range so that a host value of exactly 1 selects the highest choice.
constexpr double kChoiceSpread = 0.99;

constexpr int32_t kLongNameLength = 39;
constexpr int32_t kShortNameLength = 24;
constexpr int32_t kDisplayTextLength = 42;

class ParameterX {
public:
    // Continuous parameter, starting at 0.
    ParameterX(const char* longName, const char* shortName, int32_t index,
               QuilloryChorusVst* effect, ParameterX* previous);
    // Stepped parameter with choices 0..maxChoice, starting at choice 0.
    ParameterX(const char* longName, const char* shortName, int32_t index, int32_t maxChoice,
               QuilloryChorusVst* effect, ParameterX* previous);

    ParameterX(const ParameterX&) = delete;
    ParameterX& operator=(const ParameterX&) = delete;

    // Editor controls write through these two. They take the control lock themselves and
    // report the change to the host afterwards, without holding it.
    virtual void setFromEditor(double normalised);
    virtual void setChoiceFromEditor(int choice);

    // Control side; the caller holds the effect's control lock.
    void setFromHost(double normalised);
    // Program switch: the value takes effect at once, ending any glide.
    void jumpTo(double normalised);
    void jumpToChoice(int32_t newChoice);
    void refreshControl();

    // Lock-free: the host may read values from any thread.
    float normalisedValue() const;

    // Audio side: takes over a change handed off since the last frame.
    void receiveChange();
    // Audio side: one frame of glide, driving the engine; true while the glide goes on.
    bool glideStep();
    // Audio side: one frame of glide without driving the engine, for callers that map the
    // values of many frames at once.
    void advanceGlide() {
        if (glideCount == 1) {
            current = glideTarget;
            glideCount = 0;
        } else {
            --glideCount;
            current = current + (glideTarget - current) * kGlideCoefficient;
        }
    }
    bool isGliding() const { return glideCount != 0; }

    bool isContinuous() const { return kind == kParamContinuous; }

    int32_t index;
    ParameterX* next = nullptr;
    bool hostEnabled = true;
    int32_t kind;
    int32_t glideCount = 0; // audio side: frames of glide left
    int32_t controlKind = kControlNone;
    std::atomic<int32_t> choice{0};
    int32_t maxChoice = 0;
    std::atomic<double> value{0.0}; // what the host reads back
    double target = 0.0;            // control side: what the text and the pad show
    double current = 0.0;           // audio side: the value the engine is driven from
    char longName[kLongNameLength + 1] = {};
    char shortName[kShortNameLength + 1] = {};
    char displayText[kDisplayTextLength + 1] = {};
    Dropdown* dropdown = nullptr;
    Pad* pad = nullptr;
    QuilloryChorusVst* effect;

private:
    enum class Change { glide, jump };

    // Rebuilds the display text and hands the new setting to the audio thread.
    void applyToEngine(Change change);
    void formatDisplay();
    void writeToProgram();
    // Audio side: drives the engine from `current` or the choice.
    void driveEngine();

    // Hand-off from the control side to the audio thread. Serial numbers order the
    // changes: a jump followed by a new setting must glide from the jumped-to value.
    uint32_t lastSerial = 0; // control side
    std::atomic<uint32_t> glideSerial{0};
    std::atomic<double> glideTo{0.0};
    std::atomic<uint32_t> jumpSerial{0};
    std::atomic<double> jumpValue{0.0};
    std::atomic<uint32_t> choiceSerial{0};
    std::atomic<int32_t> choiceTo{0};

    uint32_t seenSerial = 0;  // audio side
    double glideTarget = 0.0; // audio side copy of the target
    int32_t engineChoice = 0; // audio side copy of the choice
};

} // namespace quillory
