#include "params/BankParser.h"
#include "params/BankText.h"
#include "plugin/QuilloryChorusVst.h"
#include "shell/ValueText.h"

namespace quillory {
namespace {

// Copies a program name into a host buffer: the name, end-of-string characters up to
// position 24, and one more at position 24, so the host's buffer must hold 25 bytes.
void copyProgramName(char* text, const ChorusProgram& program) {
    copyField(text, program.name, kProgramNameLength);
}

} // namespace

void QuilloryChorusVst::loadBank() {
    parseBank(kBankText, factoryPrograms.get(), kNumPrograms);
    for (int32_t index = 0; index < kNumPrograms; ++index) {
        programs[index] = factoryPrograms[index];
    }
}

void QuilloryChorusVst::applyProgram(const ChorusProgram& program) {
    parameters[kParamDepth]->jumpTo(program.depth);
    parameters[kParamSpeed]->jumpTo(program.speed);
    parameters[kParamTaps]->jumpToChoice(program.taps);
    parameters[kParamWaveform]->jumpToChoice(program.waveform);
    parameters[kParamMix]->jumpTo(program.mix);
}

void QuilloryChorusVst::setProgram(int32_t program) {
    if (static_cast<uint32_t>(program) >= static_cast<uint32_t>(kNumPrograms)) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(controlMutex);
        curProgram = program;
        currentProgram = &programs[program];
        applyProgram(*currentProgram);
    }
    // Outside the lock: the host usually reads the new values straight back.
    updateDisplay();
}

int32_t QuilloryChorusVst::getProgram() {
    std::lock_guard<std::mutex> lock(controlMutex);
    return curProgram;
}

void QuilloryChorusVst::setProgramName(char* name) {
    if (name == nullptr) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(controlMutex);
        copyString(currentProgram->name, name, kProgramNameLength);
    }
    updateDisplay();
}

void QuilloryChorusVst::getProgramName(char* name) {
    if (name == nullptr) {
        return;
    }
    std::lock_guard<std::mutex> lock(controlMutex);
    copyProgramName(name, *currentProgram);
}

bool QuilloryChorusVst::getProgramNameIndexed(int32_t /*category*/, int32_t index, char* text) {
    if (index < 0 || index >= kNumPrograms || text == nullptr) {
        return false;
    }
    std::lock_guard<std::mutex> lock(controlMutex);
    copyProgramName(text, programs[index]);
    return true;
}

} // namespace quillory
