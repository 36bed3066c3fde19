// The committed skin bitmaps: that they are what the generator paints, that the editor can
// load and place them, and that the text the editor draws over them stays readable.

#include "tools/skin/Canvas.h"
#include "tools/skin/EditorText.h"
#include "tools/skin/SkinLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace quillory::skin;

const std::filesystem::path kResources = QUILLORY_RESOURCES_FOLDER;

std::vector<uint8_t> readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::filesystem::path resource(int id) {
    return kResources / (std::to_string(id) + ".bmp");
}

// A decoded bitmap, rows top-down, three bytes red, green, blue per pixel.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    const uint8_t* pixel(int x, int y) const {
        return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    }
};

uint32_t read32(const std::vector<uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<uint32_t>(bytes[at + 3]) << 24;
}

uint16_t read16(const std::vector<uint8_t>& bytes, std::size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// Decodes the one form the editor's loader accepts; anything else is a failure with the reason.
testing::AssertionResult decodeBmp(const std::vector<uint8_t>& bytes, Image& image) {
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
        return testing::AssertionFailure() << "no BMP file header";
    }
    const uint32_t offset = read32(bytes, 10);
    const auto width = static_cast<int32_t>(read32(bytes, 18));
    const auto height = static_cast<int32_t>(read32(bytes, 22));
    if (read32(bytes, 14) != 40 || read16(bytes, 26) != 1 || read16(bytes, 28) != 24 ||
        read32(bytes, 30) != 0 || read32(bytes, 46) != 0) {
        return testing::AssertionFailure()
               << "not an uncompressed 24-bit bitmap with a 40-byte header and no colour table";
    }
    if (width <= 0 || height <= 0) {
        return testing::AssertionFailure()
               << "size " << width << " x " << height << " (rows must run bottom-up)";
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    if (offset != 54 || read32(bytes, 2) != bytes.size() ||
        bytes.size() != offset + rowBytes * height) {
        return testing::AssertionFailure() << "sizes in the headers do not match the file";
    }
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &bytes[offset + rowBytes * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            uint8_t* out = &image.rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            out[0] = row[x * 3 + 2];
            out[1] = row[x * 3 + 1];
            out[2] = row[x * 3];
        }
    }
    return testing::AssertionSuccess();
}

Image loadResource(int id) {
    Image image;
    EXPECT_TRUE(decodeBmp(readFile(resource(id)), image)) << resource(id);
    return image;
}

double linear(uint8_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Relative luminance of an sRGB pixel.
double luminance(const uint8_t* rgb) {
    return 0.2126 * linear(rgb[0]) + 0.7152 * linear(rgb[1]) + 0.0722 * linear(rgb[2]);
}

double contrast(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// A font configuration that asks for everything that changes glyphs: full hinting, no
// antialiasing, subpixel order, the autohinter and emboldening.
constexpr const char* kHostileFontConfig = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <match target="font">
    <edit name="hintstyle" mode="assign"><const>hintfull</const></edit>
    <edit name="antialias" mode="assign"><bool>false</bool></edit>
    <edit name="rgba" mode="assign"><const>rgb</const></edit>
    <edit name="autohint" mode="assign"><bool>true</bool></edit>
    <edit name="embolden" mode="assign"><bool>true</bool></edit>
  </match>
</fontconfig>
)";

void expectCommittedBytes(const std::filesystem::path& folder, const char* how) {
    for (const SkinBitmap& bitmap : kBitmaps) {
        const std::vector<uint8_t> painted =
            readFile(folder / (std::to_string(bitmap.id) + ".bmp"));
        const std::vector<uint8_t> committed = readFile(resource(bitmap.id));
        EXPECT_FALSE(painted.empty()) << "the generator wrote no " << bitmap.id << ".bmp " << how;
        EXPECT_TRUE(painted == committed)
            << "resources/" << bitmap.id << ".bmp (" << bitmap.role
            << ") differs from what tools/skin paints " << how
            << ". If the new look is intended, repaint the committed bitmaps with\n"
               "    cmake --build --preset linux --target quillory_skin_bitmaps\n"
               "and commit them.";
    }
}

// The generator repaints the committed files byte for byte, also under a font configuration
// that would change every glyph a default text renderer draws.
TEST(SkinBitmaps, AreWhatTheGeneratorPaintsOnAnyMachine) {
    char pattern[] = "/tmp/quillory-skin-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::filesystem::path folder = pattern;
    const std::string program = std::string("'") + QUILLORY_SKIN_PROGRAM + "' bitmaps '";

    const std::string plain = program + (folder / "plain").string() + "'";
    ASSERT_EQ(std::system(plain.c_str()), 0) << plain;
    expectCommittedBytes(folder / "plain", "now");

    std::ofstream(folder / "fonts.conf") << kHostileFontConfig;
    const std::string hostile = "FONTCONFIG_FILE='" + (folder / "fonts.conf").string() + "' " +
                                program + (folder / "hostile").string() + "'";
    ASSERT_EQ(std::system(hostile.c_str()), 0) << hostile;
    expectCommittedBytes(folder / "hostile", "under a different font configuration");

    std::filesystem::remove_all(folder);
}

// Each bitmap has the size the editor's layout gives it, and a control's corners show the
// background exactly as it is beneath its place, so that no seam shows around a rounded rim.
TEST(SkinBitmaps, FitTheirPlacesInTheLayout) {
    const struct {
        int id;
        int width;
        int height;
    } sizes[] = {{101, 67, 67},  {102, 242, 410}, {103, 67, 67},  {104, 174, 66},
                 {105, 67, 67},  {106, 67, 67},   {107, 133, 33}, {108, 133, 33},
                 {109, 133, 33}, {110, 133, 33},  {111, 174, 66}};
    const Image background = loadResource(102);
    for (const auto& size : sizes) {
        const Image image = loadResource(size.id);
        ASSERT_EQ(image.width, size.width) << size.id;
        ASSERT_EQ(image.height, size.height) << size.id;
    }
    for (const SkinBitmap& bitmap : kBitmaps) {
        const Image image = loadResource(bitmap.id);
        const Rect place = controlRect(bitmap.control);
        const int corners[][2] = {{0, 0},
                                  {image.width - 1, 0},
                                  {0, image.height - 1},
                                  {image.width - 1, image.height - 1}};
        for (const auto& corner : corners) {
            const uint8_t* own = image.pixel(corner[0], corner[1]);
            const uint8_t* under = background.pixel(place.left + corner[0], place.top + corner[1]);
            EXPECT_TRUE(std::equal(own, own + 3, under))
                << bitmap.id << ".bmp corner (" << corner[0] << ", " << corner[1]
                << ") does not match the background beneath it";
        }
    }
}

// White text needs a dark ground and black text a light one: on average over the area the
// editor writes in at least 7:1, and at least 4.5:1 against the pixel closest to the text.
TEST(SkinBitmaps, KeepTheEditorsTextReadable) {
    for (const SkinBitmap& bitmap : kBitmaps) {
        const TextColour colour = textColour(bitmap.control);
        if (colour == TextColour::None) {
            continue;
        }
        const double text = colour == TextColour::White ? 1.0 : 0.0;
        const Image image = loadResource(bitmap.id);
        const TextAreas areas = textAreas(bitmap.control);
        for (int a = 0; a < areas.count; ++a) {
            const Rect& area = areas.areas[a];
            double sum = 0;
            double worst = 1.0 - text; // the ground farthest from the text, until a pixel is seen
            for (int y = area.top; y < area.bottom; ++y) {
                for (int x = area.left; x < area.right; ++x) {
                    const double ground = luminance(image.pixel(x, y));
                    sum += ground;
                    worst = std::abs(ground - text) < std::abs(worst - text) ? ground : worst;
                }
            }
            const double average = contrast(text, sum / (area.width() * area.height()));
            const double least = contrast(text, worst);
            std::printf("%d.bmp area %d: %.1f:1 on average, %.1f:1 at the least\n", bitmap.id, a,
                        average, least);
            EXPECT_GE(average, 7.0) << bitmap.id << ".bmp (" << bitmap.role << "), text area " << a;
            EXPECT_GE(least, 4.5) << bitmap.id << ".bmp (" << bitmap.role << "), text area " << a;
        }
    }
}

// The readability check looks only at the text areas, so they must cover every pixel of the
// widest texts the editor writes there.
TEST(SkinTextAreas, CoverTheEditorsWidestTexts) {
    ASSERT_TRUE(loadFonts());
    const struct {
        Control control;
        std::vector<std::string> texts;
    } cases[] = {
        {Control::DepthPad, {"0.1ms", "9.9ms", "88ms", "500ms"}},
        {Control::SpeedPad, {"0.02Hz", "9.99Hz", "20.0Hz"}},
        {Control::MixPad, {"100.0% 0.0%", "0.0% 100.0%", "88.8% 11.2%"}},
        {Control::TapsBar, {"Numb. taps = 2", "Numb. taps = 3", "Numb. taps = 4"}},
        {Control::WaveBar, {"Wave = Sine", "Wave = Wander"}},
    };
    for (const auto& test : cases) {
        const Rect place = controlRect(test.control);
        const TextAreas areas = textAreas(test.control);
        for (const std::string& text : test.texts) {
            Surface surface(
                cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWindowWidth, kWindowHeight));
            {
                Context context = makeContext(surface.get());
                if (isPad(test.control)) {
                    drawPadText(context.get(), test.control, text);
                } else {
                    drawBarText(context.get(), test.control, text);
                }
            }
            cairo_surface_flush(surface.get());
            const unsigned char* data = cairo_image_surface_get_data(surface.get());
            const int stride = cairo_image_surface_get_stride(surface.get());
            int inked = 0;
            for (int y = 0; y < kWindowHeight; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
                for (int x = 0; x < kWindowWidth; ++x) {
                    if (row[x] == 0) {
                        continue;
                    }
                    ++inked;
                    bool covered = false;
                    for (int a = 0; a < areas.count; ++a) {
                        covered =
                            covered || areas.areas[a].movedBy(place.left, place.top).contains(x, y);
                    }
                    ASSERT_TRUE(covered) << "\"" << text << "\" inks (" << x - place.left << ", "
                                         << y - place.top << ") outside the text areas";
                }
            }
            EXPECT_GT(inked, 0) << text;
        }
    }
}

} // namespace
