#pragma once
// Shared by the toolkit's tests: the headless back end and scripted services installed for
// each test, and a view that paints one colour and records what reaches it.

#include "PixelChecks.h"

#include "gui/CDragContainer.h"
#include "gui/CDrawContext.h"
#include "gui/CFrame.h"
#include "gui/CView.h"
#include "gui/platform/Backend.h"
#include "gui/platform/headless/HeadlessBackend.h"
#include "gui/platform/headless/HeadlessServices.h"
#include "gui/platform/headless/HeadlessWindow.h"
#include "shell/AEffEditor.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quillory::test {

constexpr uint32_t kUnpainted = 0xF0F0F0; // a headless window before its first paint

// A GUI editor whose frame the test sets.
class FrameEditor : public AEffGUIEditor {
public:
    using AEffGUIEditor::AEffGUIEditor;
    void setFrame(EditorFrame* newFrame) { frame = newFrame; }
};

class HeadlessGui : public ::testing::Test {
protected:
    void SetUp() override {
        gui::setBackend(&backend);
        platform::setServices(&services);
    }
    void TearDown() override {
        gui::setBackend(nullptr);
        platform::setServices(nullptr);
    }
    // Any non-null address stands for the host's parent window.
    void* parent() { return &parentToken; }
    // A frame of `size` in a headless window, shown and painted once.
    CFrame* shownFrame(const CRect& size, AEffGUIEditor* editor = nullptr) {
        auto* frame = new CFrame(size, parent(), editor);
        window()->queueExpose(size);
        frame->idle();
        return frame;
    }
    gui::headless::HeadlessWindow* window() { return backend.lastWindow(); }
    const gui::PixelImage& screen() { return window()->screen(); }

    gui::headless::HeadlessBackend backend;
    gui::headless::HeadlessServices services;
    int parentToken = 0;
};

// Fills its whole rectangle with one colour; counts draws and records presses.
class ColorView : public CView {
public:
    ColorView(const CRect& rect, CColor fill, std::vector<std::string>* drawLog = nullptr,
              std::string viewName = {})
        : CView(rect), color(fill), log(drawLog), name(std::move(viewName)) {}
    ~ColorView() override {
        if (destroyed != nullptr) {
            ++*destroyed;
        }
    }

    void draw(CDrawContext* context) override {
        context->setFillColor(color);
        context->fillRect(CRect(size.left - 1, size.top - 1, size.right, size.bottom));
        ++draws;
        if (log != nullptr) {
            log->push_back(name);
        }
        if (onDraw) {
            onDraw();
        }
        setDirty(false);
    }
    void mouse(CDrawContext*, const CPoint& where, int32_t buttons) override {
        ++presses;
        lastWhere = where;
        lastButtons = buttons;
        if (onMouse) {
            onMouse();
        }
    }
    bool onWheel(CDrawContext*, const CPoint& where, float distance) override {
        lastWhere = where;
        wheel = distance;
        return true;
    }
    bool onDrop(CDrawContext*, CDragContainer* drag, const CPoint& where) override {
        lastWhere = where;
        droppedFiles = drag->getCount();
        return true;
    }

    CColor color;
    std::vector<std::string>* log;
    std::string name;
    int draws = 0;
    int presses = 0;
    CPoint lastWhere{-1, -1};
    int32_t lastButtons = 0;
    float wheel = 0.0f;
    int32_t droppedFiles = 0;
    int* destroyed = nullptr;
    std::function<void()> onDraw;
    std::function<void()> onMouse;
};

inline uint32_t pixel(CColor color) {
    return gui::packPixel(color);
}

} // namespace quillory::test
