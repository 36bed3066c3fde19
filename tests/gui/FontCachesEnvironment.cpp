// Frees the process-wide font caches after the last test, so that the AddressSanitizer
// build's leak check sees only leaks of our own.

#include "gui/platform/cairo/CairoTextRenderer.h"

#include <gtest/gtest.h>

namespace quillory::test {
namespace {

class FontCaches : public ::testing::Environment {
public:
    void TearDown() override { gui::cairo::releaseFontCaches(); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new FontCaches);

} // namespace
} // namespace quillory::test
