#include "gui/platform/cairo/PngWriter.h"

#include <cairo.h>

namespace quillory::gui::cairo {

bool writePng(const PixelImage& image, const char* path) {
    if (image.isEmpty() || path == nullptr) {
        return false;
    }
    // The image's pixel layout is cairo's RGB24: one native-endian word per pixel, rows of
    // exactly width words. cairo only reads the pixels here.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.pixels.data()));
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        data, CAIRO_FORMAT_RGB24, image.width, image.height, image.width * 4);
    const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                         cairo_surface_write_to_png(surface, path) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

} // namespace quillory::gui::cairo
