#pragma once
// A window of the headless back end: an image in memory that stands for the client area,
// with a scripted screen position, scripted mouse buttons and scripted popup answers. Events
// are queued by the test and delivered by processEvents, as an X11 event pump delivers them
// from the editor's idle; the *Now calls deliver at once, as a window procedure does.

#include "gui/platform/PixelImage.h"
#include "gui/platform/Window.h"

#include <deque>
#include <functional>
#include <vector>

namespace quillory::gui::headless {

class HeadlessBackend;

class HeadlessWindow final : public Window {
public:
    // Answers a shown popup with a command number or kPopupCancelled.
    using PopupAnswer = std::function<int32_t(const PopupMenu& menu)>;
    struct ShownPopup {
        PopupMenu menu;
        CPoint position;
        PopupButton button;
    };

    HeadlessWindow(HeadlessBackend& backend, void* parent, int32_t width, int32_t height,
                   WindowEvents& events);
    ~HeadlessWindow() override;

    void processEvents() override;
    std::unique_ptr<Surface> createSurface() override;
    CPoint screenOrigin() const override { return origin; }
    int32_t mouseButtons() const override { return buttons; }
    int32_t runPopup(const PopupMenu& menu, CPoint screenPosition, PopupButton button) override;
    void setCursor(CCursorType cursor) override { currentCursor = cursor; }

    // What the window shows. Before the first paint it has the window class's grey.
    const PixelImage& screen() const { return pixels; }
    void* parent() const { return parentWindow; }
    bool isDestroyed() const { return destroyed; }
    CCursorType cursor() const { return currentCursor; }

    void setScreenOrigin(CPoint where) { origin = where; }
    void setMouseButtons(int32_t held) { buttons = held; }
    // Popups are answered by `answer`; without one they are cancelled.
    void answerPopups(PopupAnswer answer) { popupAnswer = std::move(answer); }
    const std::vector<ShownPopup>& shownPopups() const { return popups; }

    void queueExpose(const CRect& area);
    void queueMouseDown(CPoint where, int32_t held);
    void queueWheel(CPoint where, float distance);
    // Delivered at once, from outside processEvents.
    void paintNow(const CRect& area);
    void mouseDownNow(CPoint where, int32_t held);
    void dropNow(const DragData& data, CPoint where);
    // The native window goes away as when its parent is destroyed.
    void destroyNative();

    // Counters for tests and benchmarks: copies of whole rectangles onto the window (an
    // offscreen reaching the screen) and paint events delivered.
    int32_t copiesToScreen = 0;
    int32_t paintsDelivered = 0;

private:
    struct Event {
        enum class Kind { kExpose, kMouseDown, kWheel } kind;
        CRect area;
        CPoint where;
        int32_t buttons = 0;
        float distance = 0.0f;
    };
    void deliver(const Event& event);

    HeadlessBackend& owner;
    void* parentWindow;
    WindowEvents& events;
    PixelImage pixels;
    PixelImage detached; // drawn into once the native window is gone
    CPoint origin;
    int32_t buttons = 0;
    bool destroyed = false;
    CCursorType currentCursor = CCursorType::kCursorDefault;
    PopupAnswer popupAnswer;
    std::vector<ShownPopup> popups;
    std::deque<Event> queue;
};

} // namespace quillory::gui::headless
