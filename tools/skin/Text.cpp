#include "tools/skin/Canvas.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>

namespace quillory::skin {
namespace {

// A metric twin of the family the editor asks for, packaged by Debian and installed by the
// setup script, so that the painted captions match the editor's own text.
constexpr const char* kFontFamily = "Liberation Sans";

// The two faces of the text family, loaded straight from their files so that no font
// configuration of the machine (hinting, emboldening, substitutions) can change the glyphs.
struct FontFaces {
    FT_Library library = nullptr;
    cairo_font_face_t* faces[2] = {nullptr, nullptr};

    ~FontFaces() {
        for (cairo_font_face_t* face : faces) {
            if (face != nullptr) {
                cairo_font_face_destroy(face);
            }
        }
    }
};

FontFaces& fontFaces() {
    static FontFaces faces;
    return faces;
}

void releaseFreeTypeFace(void* face) {
    FT_Done_Face(static_cast<FT_Face>(face));
}

// The file of the family's face of the given weight, or empty with the reason on stderr.
std::string findFontFile(int weight) {
    FcPattern* wanted = FcPatternCreate();
    FcPatternAddString(wanted, FC_FAMILY, reinterpret_cast<const FcChar8*>(kFontFamily));
    FcPatternAddInteger(wanted, FC_WEIGHT, weight);
    FcPatternAddInteger(wanted, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(nullptr, wanted, &result);
    FcChar8* family = nullptr;
    FcChar8* file = nullptr;
    int foundWeight = -1;
    std::string path;
    if (found != nullptr && FcPatternGetString(found, FC_FAMILY, 0, &family) == FcResultMatch &&
        FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch &&
        FcPatternGetInteger(found, FC_WEIGHT, 0, &foundWeight) == FcResultMatch &&
        std::strcmp(reinterpret_cast<const char*>(family), kFontFamily) == 0 &&
        foundWeight == weight) {
        path = reinterpret_cast<const char*>(file);
    } else {
        std::fprintf(stderr,
                     "the font family \"%s\" (weight %d) is not installed; fontconfig offers "
                     "\"%s\"; install fonts-liberation2 (bash scripts/setup.sh)\n",
                     kFontFamily, weight,
                     family != nullptr ? reinterpret_cast<const char*>(family) : "nothing");
    }
    if (found != nullptr) {
        FcPatternDestroy(found);
    }
    FcPatternDestroy(wanted);
    return path;
}

cairo_font_face_t* loadFace(FT_Library library, int weight) {
    const std::string path = findFontFile(weight);
    FT_Face face = nullptr;
    if (path.empty() || FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        if (!path.empty()) {
            std::fprintf(stderr, "cannot read the font file %s\n", path.c_str());
        }
        return nullptr;
    }
    static cairo_user_data_key_t key;
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    cairo_font_face_set_user_data(cairoFace, &key, face, releaseFreeTypeFace);
    return cairoFace;
}

void setFont(cairo_t* context, const Font& font) {
    cairo_set_font_face(context, fontFaces().faces[font.weight == Weight::Bold ? 1 : 0]);
    cairo_set_font_size(context, font.size);
}

double advance(cairo_t* context, const char* glyph) {
    cairo_text_extents_t extents;
    cairo_text_extents(context, glyph, &extents);
    return extents.x_advance;
}

} // namespace

bool loadFonts() {
    FontFaces& fonts = fontFaces();
    if (fonts.library == nullptr && FT_Init_FreeType(&fonts.library) != 0) {
        std::fprintf(stderr, "cannot start FreeType\n");
        return false;
    }
    fonts.faces[0] = loadFace(fonts.library, FC_WEIGHT_REGULAR);
    fonts.faces[1] = loadFace(fonts.library, FC_WEIGHT_BOLD);
    return fonts.faces[0] != nullptr && fonts.faces[1] != nullptr;
}

cairo_font_extents_t fontExtents(cairo_t* context, const Font& font) {
    setFont(context, font);
    cairo_font_extents_t extents;
    cairo_font_extents(context, &extents);
    return extents;
}

double textWidth(cairo_t* context, const Font& font, const std::string& text) {
    setFont(context, font);
    double width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char glyph[2] = {text[i], '\0'};
        width += advance(context, glyph);
        if (i + 1 < text.size()) {
            width += font.tracking;
        }
    }
    return width;
}

void drawText(cairo_t* context, const Font& font, const std::string& text, double x,
              double baseline, Align align, const Colour& colour) {
    const double width = textWidth(context, font, text);
    double pen = align == Align::Left ? x : align == Align::Centre ? x - width / 2 : x - width;
    cairo_new_path(context);
    for (char character : text) {
        const char glyph[2] = {character, '\0'};
        cairo_move_to(context, pen, baseline);
        cairo_text_path(context, glyph);
        pen += advance(context, glyph) + font.tracking;
    }
    setColour(context, colour);
    cairo_fill(context);
}

} // namespace quillory::skin
