#pragma once
// The pixel-rule tests, parametrised by back end. A back end's test file instantiates them:
//   INSTANTIATE_TEST_SUITE_P(X11, PixelRules, ::testing::Values(&x11Harness), harnessName);

#include "BackendHarness.h"
#include "PixelChecks.h"

#include <gtest/gtest.h>

#include <string>

namespace quillory::test {

class PixelRules : public ::testing::TestWithParam<BackendHarness*> {
protected:
    void SetUp() override;
    void TearDown() override;
};

inline std::string harnessName(const ::testing::TestParamInfo<BackendHarness*>& info) {
    return info.param->name();
}

} // namespace quillory::test
