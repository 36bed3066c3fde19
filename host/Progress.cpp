#include "host/Progress.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace quillory::host {
namespace {

constexpr int kBarWidth = 30;

} // namespace

Progress::Progress(std::string text, bool wanted)
    : label(std::move(text)), drawing(wanted && isatty(STDERR_FILENO) != 0) {}

Progress::~Progress() {
    clear();
}

void Progress::clear() {
    if (drawing && shownPermille >= 0) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        shownPermille = -1;
    }
}

void Progress::update(double fraction) {
    if (!drawing) {
        return;
    }
    const int permille = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 1000.0);
    if (permille == shownPermille) {
        return;
    }
    shownPermille = permille;
    const int filled = permille * kBarWidth / 1000;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    std::fprintf(stderr, "\r%s [%s] %5.1f%%", label.c_str(), bar.c_str(), permille / 10.0);
    std::fflush(stderr);
}

} // namespace quillory::host
