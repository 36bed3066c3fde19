#pragma once
// The real effect with its editor on the headless back end: a host that records every
// request, a scripted clock, cursor and mouse buttons, and the window's pixels.

#include "editor/PadDisplay.h"
#include "editor/QuilloryChorusVstEditor.h"
#include "gui/platform/Backend.h"
#include "gui/platform/headless/HeadlessBackend.h"
#include "gui/platform/headless/HeadlessServices.h"
#include "gui/platform/headless/HeadlessWindow.h"
#include "gui/platform/raster/BmpReader.h"
#include "gui/platform/raster/EmbeddedBitmaps.h"
#include "plugin/QuilloryChorusVst.h"
#include "shell/Opcodes.h"
#include "tests/unit/ShellTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quillory::test {

class EditorHarness : public ::testing::Test {
protected:
    // Where the headless window lies on the scripted screen.
    static constexpr CPoint kWindowOrigin{300, 200};

    void SetUp() override {
        gui::setBackend(&backend);
        platform::setServices(&services);
        effect = std::make_unique<QuilloryChorusVst>(&RecordingHost::callback);
    }
    void TearDown() override {
        effect.reset();
        gui::setBackend(nullptr);
        platform::setServices(nullptr);
    }

    intptr_t dispatch(int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
        AEffect* record = effect->getAeffect();
        return record->dispatcher(record, opcode, 0, value, ptr, 0.0f);
    }
    // Opens the editor as a host does and lets the window system paint it.
    bool open() {
        if (dispatch(effEditOpen, 0, &parentToken) != 1) {
            return false;
        }
        window()->setScreenOrigin(kWindowOrigin);
        window()->queueExpose(CRect(0, 0, 242, 410));
        idle();
        return true;
    }
    void idle() { dispatch(effEditIdle); }
    void close() { dispatch(effEditClose); }

    gui::headless::HeadlessWindow* window() { return backend.lastWindow(); }
    const gui::PixelImage& screen() { return window()->screen(); }

    // The left button goes down at `where` (frame coordinates) with `buttons` and stays
    // held; the press reaches the editor at the next idle.
    void press(CPoint where, int32_t buttons = kMouseLeft) {
        moveTo(where);
        window()->setMouseButtons(buttons);
        window()->queueMouseDown(where, buttons);
        idle();
    }
    void moveTo(CPoint where) {
        services.cursor = {kWindowOrigin.x + where.x, kWindowOrigin.y + where.y};
    }
    void release() { window()->setMouseButtons(0); }

    std::vector<HostCall> hostCalls(int32_t opcode) {
        std::vector<HostCall> found;
        for (const HostCall& call : recorder.calls) {
            if (call.opcode == opcode) {
                found.push_back(call);
            }
        }
        return found;
    }
    // The edit notifications and automations the host received, in order, as
    // "begin 2", "automate 2 1", "end 2".
    std::vector<std::string> editTrail() {
        std::vector<std::string> trail;
        for (const HostCall& call : recorder.calls) {
            const std::string index = std::to_string(call.index);
            if (call.opcode == audioMasterBeginEdit) {
                trail.push_back("begin " + index);
            } else if (call.opcode == audioMasterEndEdit) {
                trail.push_back("end " + index);
            } else if (call.opcode == audioMasterAutomate) {
                char value[32];
                std::snprintf(value, sizeof value, "%g", static_cast<double>(call.opt));
                trail.push_back("automate " + index + " " + value);
            }
        }
        return trail;
    }
    double target(int32_t index) { return effect->parameters[index]->target.load(); }

    // Whether the pad area shows the label part of skin bitmap `id` as it is in the file.
    bool showsBitmap(const CRect& area, int32_t id) {
        const auto bitmap = gui::raster::readBmp(gui::raster::embeddedBitmapFile(id));
        for (int32_t y = area.top; y < area.bottom; ++y) {
            for (int32_t x = area.left; x < area.right; ++x) {
                if (screen().at(x, y) != bitmap->at(x - area.left, y - area.top)) {
                    return false;
                }
            }
        }
        return true;
    }
    // Texts drawn since the last call.
    std::vector<std::string> textsDrawn() {
        std::vector<std::string> texts;
        for (const auto& record : backend.texts()) {
            texts.push_back(record.text);
        }
        backend.texts().clear();
        return texts;
    }

    gui::headless::HeadlessBackend backend;
    gui::headless::HeadlessServices services;
    RecordingHost recorder;
    std::unique_ptr<QuilloryChorusVst> effect;
    int parentToken = 0;
};

// The Depth pad's painted label: the top rows, which the value display never covers.
inline constexpr CRect kDepthLabel{71, 70, 138, 92};

} // namespace quillory::test
