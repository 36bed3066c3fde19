#include "gui/platform/headless/HeadlessWindow.h"

#include "gui/platform/headless/HeadlessBackend.h"
#include "gui/platform/raster/PixelSurface.h"

namespace quillory::gui::headless {

namespace {

// The grey a window shows before its first paint (the window class's background brush).
constexpr uint32_t kUnpaintedGrey = 0xF0F0F0;

// A surface on the window's image that counts the rectangles copied onto it.
class ScreenSurface final : public raster::PixelSurface {
public:
    ScreenSurface(const Backend& owner, PixelImage& target, raster::TextRenderer* text,
                  int32_t& copies)
        : PixelSurface(owner, target, text), copyCount(copies) {}

    void copyFrom(const Surface& source, const CRect& sourceArea, CPoint destination) override {
        ++copyCount;
        PixelSurface::copyFrom(source, sourceArea, destination);
    }

private:
    int32_t& copyCount;
};

} // namespace

HeadlessWindow::HeadlessWindow(HeadlessBackend& backend, void* parent, int32_t width,
                               int32_t height, WindowEvents& windowEvents)
    : owner(backend), parentWindow(parent), events(windowEvents),
      pixels(width, height, kUnpaintedGrey), detached(width, height) {}

HeadlessWindow::~HeadlessWindow() {
    owner.forgetWindow(this);
}

void HeadlessWindow::processEvents() {
    while (!queue.empty() && !destroyed) {
        const Event event = queue.front();
        queue.pop_front();
        deliver(event);
    }
    queue.clear();
}

void HeadlessWindow::deliver(const Event& event) {
    switch (event.kind) {
    case Event::Kind::kExpose:
        paintNow(event.area);
        break;
    case Event::Kind::kMouseDown:
        events.windowMouseDown(event.where, event.buttons);
        break;
    case Event::Kind::kWheel:
        events.windowWheel(event.where, event.distance);
        break;
    }
}

std::unique_ptr<Surface> HeadlessWindow::createSurface() {
    return std::make_unique<ScreenSurface>(owner, destroyed ? detached : pixels,
                                           &owner.textRenderer(), copiesToScreen);
}

int32_t HeadlessWindow::runPopup(const PopupMenu& menu, CPoint screenPosition, PopupButton button) {
    if (destroyed) {
        return kPopupCancelled;
    }
    popups.push_back(ShownPopup{menu, screenPosition, button});
    return popupAnswer ? popupAnswer(menu) : kPopupCancelled;
}

void HeadlessWindow::queueExpose(const CRect& area) {
    queue.push_back(Event{Event::Kind::kExpose, area, {}, 0, 0.0f});
}

void HeadlessWindow::queueMouseDown(CPoint where, int32_t held) {
    queue.push_back(Event{Event::Kind::kMouseDown, {}, where, held, 0.0f});
}

void HeadlessWindow::queueWheel(CPoint where, float distance) {
    queue.push_back(Event{Event::Kind::kWheel, {}, where, 0, distance});
}

void HeadlessWindow::paintNow(const CRect& area) {
    const CRect visible = intersection(area, CRect(0, 0, pixels.width, pixels.height));
    if (destroyed || visible.isEmpty()) {
        return;
    }
    ++paintsDelivered;
    ScreenSurface target(owner, pixels, &owner.textRenderer(), copiesToScreen);
    events.windowPaint(target, visible);
}

void HeadlessWindow::mouseDownNow(CPoint where, int32_t held) {
    if (!destroyed) {
        events.windowMouseDown(where, held);
    }
}

void HeadlessWindow::dropNow(const DragData& data, CPoint where) {
    if (!destroyed) {
        events.windowDragEnter(data, where);
        events.windowDrop(data, where);
    }
}

void HeadlessWindow::destroyNative() {
    if (!destroyed) {
        destroyed = true;
        queue.clear();
        events.windowDestroyed();
    }
}

} // namespace quillory::gui::headless
