#pragma once
// The back end without a window system: windows are images in memory, drawn by the same
// portable rasteriser and the same cairo text as the X11 editor, so a headless screenshot
// looks like the real window. Used by the unit tests, the editor's screenshot and the
// benchmarks. Install with gui::setBackend(&headless).

#include "gui/platform/Backend.h"
#include "gui/platform/headless/HeadlessText.h"

#include <vector>

namespace quillory::gui::headless {

class HeadlessWindow;

class HeadlessBackend final : public Backend {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    std::unique_ptr<Window> createWindow(void* parent, int32_t width, int32_t height,
                                         WindowEvents& events) override;
    std::unique_ptr<Surface> createOffscreen(int32_t width, int32_t height,
                                             Window* compatibleWith) override;
    std::unique_ptr<PlatformBitmap> loadBitmap(int32_t resourceId) override;
    std::unique_ptr<PlatformBitmap> createBitmap(const PixelImage& image) override;

    // The windows alive now, oldest first; null when there is none.
    const std::vector<HeadlessWindow*>& windows() const { return liveWindows; }
    HeadlessWindow* lastWindow() const;
    // Destroys `parent`: its windows lose their native window, and no window can be made
    // inside it any more.
    void destroyParent(void* parent);

    // Every text drawn so far, in order.
    std::vector<TextRecord>& texts() { return text.records; }
    void setRecordingTexts(bool on) { text.recording = on; }
    raster::TextRenderer& textRenderer() { return text; }

private:
    friend class HeadlessWindow;
    void forgetWindow(HeadlessWindow* window);

    RecordingTextRenderer text;
    std::vector<HeadlessWindow*> liveWindows;
    std::vector<void*> destroyedParents;
};

} // namespace quillory::gui::headless
