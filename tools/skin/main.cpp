// quillory_skin: paints the editor's skin.
//
//   quillory_skin bitmaps FOLDER   writes 101.bmp ... 111.bmp into FOLDER
//   quillory_skin preview FOLDER   writes pictures of the whole editor into FOLDER
//
// The output depends on nothing but this program, cairo and the font files, so running it
// again gives the same bytes.

#include "tools/skin/BmpFile.h"
#include "tools/skin/Painters.h"
#include "tools/skin/Preview.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

int usage() {
    std::fprintf(stderr, "usage: quillory_skin bitmaps|preview FOLDER\n");
    return 2;
}

bool writeBitmaps(const std::string& folder) {
    using namespace quillory::skin;
    const Surface panel = renderPanel();
    for (const SkinBitmap& bitmap : kBitmaps) {
        const Surface surface = renderBitmap(panel.get(), bitmap);
        if (!writeBmp(surface.get(), folder + "/" + std::to_string(bitmap.id) + ".bmp")) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return usage();
    }
    const std::string mode = argv[1];
    const std::string folder = argv[2];
    if (mode != "bitmaps" && mode != "preview") {
        return usage();
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "cannot make %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    if (!quillory::skin::loadFonts()) {
        return 1;
    }
    const bool written =
        mode == "bitmaps" ? writeBitmaps(folder) : quillory::skin::writePreviews(folder);
    return written ? 0 : 1;
}
