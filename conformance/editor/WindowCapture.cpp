#include "conformance/editor/WindowCapture.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace quillory::conformance {
namespace {

// The client area copied into bottom-up 24-bit rows, each padded to four bytes as BMP
// files store them; empty when the copy fails.
std::vector<uint8_t> clientAreaRows(HWND window, int width, int height) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> rows(static_cast<size_t>(rowBytes) * static_cast<size_t>(height));
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != 0;
    SelectObject(memory, previous);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = height; // positive: bottom-up, the file's row order
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    format.bmiHeader.biCompression = BI_RGB;
    const bool read = copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), rows.data(),
                                          &format, DIB_RGB_COLORS) == height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return read ? rows : std::vector<uint8_t>{};
}

void putLittle(std::FILE* file, uint32_t value, int bytes) {
    for (int index = 0; index < bytes; ++index) {
        std::fputc(static_cast<int>(value >> (8 * index) & 0xFF), file);
    }
}

} // namespace

bool writeClientAreaBmp(HWND window, const char* path) {
    RECT client{};
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    const std::vector<uint8_t> rows =
        width > 0 && height > 0 ? clientAreaRows(window, width, height) : std::vector<uint8_t>{};
    if (rows.empty()) {
        return false;
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const auto pixelBytes = static_cast<uint32_t>(rows.size());
    std::fputs("BM", file);
    putLittle(file, 54 + pixelBytes, 4);
    putLittle(file, 0, 4);
    putLittle(file, 54, 4); // the pixels follow the two headers
    putLittle(file, 40, 4);
    putLittle(file, static_cast<uint32_t>(width), 4);
    putLittle(file, static_cast<uint32_t>(height), 4);
    putLittle(file, 1, 2);  // planes
    putLittle(file, 24, 2); // bits per pixel
    for (int field = 0; field < 6; ++field) {
        putLittle(file, 0, 4); // no compression, default sizes and palette
    }
    const bool written = std::fwrite(rows.data(), 1, rows.size(), file) == rows.size();
    return std::fclose(file) == 0 && written;
}

} // namespace quillory::conformance
