// quillory_conformance: the host-level checks of the plug-in, runnable wherever the plug-in
// is (the Windows builds run under Wine), and the parity renders that compare builds.
//
//   quillory_conformance [test options]                  run the checks
//   quillory_conformance render PLUGIN DIRECTORY         render the parity set
//   quillory_conformance compare DIRECTORY DIRECTORY     compare two parity sets

#include "conformance/ParitySet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "render" || command == "compare") {
        if (argc != 4) {
            std::fprintf(stderr, "usage: %s %s PATH DIRECTORY\n", argv[0], command.c_str());
            return 2;
        }
        // Within a millionth: far below what 32-bit float output can resolve in a signal
        // near full scale, far above the rounding that differs between builds.
        constexpr double kTolerance = 1e-6;
        return command == "render"
                   ? quillory::conformance::renderParitySet(argv[2], argv[3])
                   : quillory::conformance::compareParitySets(argv[2], argv[3], kTolerance);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
