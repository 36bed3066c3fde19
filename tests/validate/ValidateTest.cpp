// `quillory validate` run as a user runs it, on fixture plug-ins built from
// FaultyPlugin.cpp: each family must fail the fixture that breaks its rule and pass the
// good one, crashes and hangs must be reported without stopping the suite, and the
// command line must answer as the other commands do.

#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

namespace quillory::testing {
namespace {

std::string fixture(const std::string& fault) {
    return std::string(QUILLORY_FIXTURE_FOLDER) + "/" + fault + ".so";
}

bool haveDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

RunResult validate(const std::string& fault, std::vector<std::string> options) {
    std::vector<std::string> arguments{"validate", "--plugin", fixture(fault)};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return runQuillory(arguments);
}

// The output line of one check, or empty.
std::string lineOf(const std::string& output, const std::string& check) {
    const std::regex line("(PASS|FAIL|SKIP)  " + check + " [^\n]*");
    std::smatch match;
    return std::regex_search(output, match, line) ? match.str() : std::string();
}

struct PlantedFault {
    const char* fault;
    const char* check;
    const char* seen; // a regular expression the failure message must match
    bool needsDisplay = false;
};

void PrintTo(const PlantedFault& planted, std::ostream* out) {
    *out << planted.fault << " / " << planted.check;
}

class FamilyCatchesItsFault : public ::testing::TestWithParam<PlantedFault> {};

TEST_P(FamilyCatchesItsFault, FailsTheFaultyFixtureAndPassesTheGoodOne) {
    const PlantedFault& planted = GetParam();
    if (planted.needsDisplay && !haveDisplay()) {
        GTEST_SKIP() << "no X display; the test command runs these under xvfb-run";
    }
    const RunResult faulty =
        validate(planted.fault, {"--check", planted.check, "--time-scale", "0.1"});
    EXPECT_EQ(faulty.exitCode, 1) << faulty.out << faulty.err;
    const std::string line = lineOf(faulty.out, planted.check);
    EXPECT_TRUE(std::regex_search(line, std::regex(std::string("^FAIL .*") + planted.seen)))
        << faulty.out;
    EXPECT_NE(faulty.out.find("0 passed, 1 failed, 0 skipped\n"), std::string::npos);

    const RunResult good = validate("none", {"--check", planted.check, "--level", "10"});
    EXPECT_EQ(good.exitCode, 0) << good.out << good.err;
    EXPECT_TRUE(lineOf(good.out, planted.check).starts_with("PASS")) << good.out;
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FamilyCatchesItsFault,
    ::testing::Values(
        PlantedFault{"crash_second_instance", "open.warm", "crashed: signal 11"},
        PlantedFault{"long_name", "dispatch.string-limits",
                     "effGetEffectName wrote past its limit of 32"},
        PlantedFault{"nan_parameter", "params.out-of-range", "given nan reads back nan"},
        PlantedFault{"rename_overflow", "programs.rename",
                     "the name after a 25-character rename wrote past its limit of 24"},
        PlantedFault{"writes_input", "process.rates-and-blocks",
                     "changed its input buffer 0 while processing out of place"},
        PlantedFault{"allocates_and_locks", "realtime.no-alloc-lock-block",
                     "[1-9][0-9]* allocator calls, [1-9][0-9]* lock operations"},
        PlantedFault{"denormals", "realtime.float-modes",
                     "a denormal sample .* with flush-to-zero off"},
        PlantedFault{"hangs", "process.suspend-resume", "hung: no result within 6 s"},
        PlantedFault{"leaks", "memory.create-destroy-cycles",
                     "allocations still held after [0-9]+ create/destroy cycles"},
        PlantedFault{"editor_no_window", "editor.open-close",
                     "effEditOpen answered 0 and put no window", true},
        PlantedFault{"editor_double_open", "editor.open-twice", "crashed: signal 6", true}),
    [](const ::testing::TestParamInfo<PlantedFault>& planted) {
        return std::string(planted.param.fault);
    });

TEST(Validate, GoodFixturePassesEveryCheckAtTheTopLevel) {
    std::vector<std::string> options{"--level", "10", "--json"};
    if (!haveDisplay()) {
        options.push_back("--skip-editor");
    }
    const RunResult result = validate("none", options);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("\"failed\": 0"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("\"result\": \"fail\""), std::string::npos) << result.out;
    // Only the editor checks may be skipped, and only without a display.
    const std::regex skip("\"skip\"");
    const auto skips = static_cast<size_t>(std::distance(
        std::sregex_iterator(result.out.begin(), result.out.end(), skip), std::sregex_iterator()));
    EXPECT_EQ(skips, haveDisplay() ? 0u : 5u) << result.out;
}

TEST(Validate, CrashesAndHangsFailTheirCheckAndTheSuiteGoesOn) {
    // The crash ends open.warm's process; the family's later checks still run and pass.
    const RunResult crash = validate("crash_second_instance", {"--check", "open", "--level", "3"});
    EXPECT_EQ(crash.exitCode, 1);
    EXPECT_TRUE(lineOf(crash.out, "open.warm").starts_with("FAIL")) << crash.out;
    EXPECT_TRUE(lineOf(crash.out, "open.cold").starts_with("PASS")) << crash.out;
    EXPECT_FALSE(lineOf(crash.out, "open.many-instances").empty()) << crash.out;

    // The third block never returns: the watchdog ends that check, the others still run.
    const RunResult hang =
        validate("hangs", {"--check", "process.suspend-resume", "--check", "open", "--level", "2",
                           "--time-scale", "0.02", "--quiet"});
    EXPECT_EQ(hang.exitCode, 1);
    EXPECT_TRUE(lineOf(hang.out, "process.suspend-resume").find("hung: no result within 1 s") !=
                std::string::npos)
        << hang.out;
    EXPECT_TRUE(lineOf(hang.out, "open.cold").empty()) << "--quiet prints failures only";
    EXPECT_TRUE(hang.out.ends_with("\n4 passed, 1 failed, 0 skipped\n")) << hang.out;
}

TEST(Validate, CommandLineProblemsExitWithTwoAndMissingPluginsWithOne) {
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--level", "11"},
                                                  {"--level", "x"},
                                                  {"--check", "nonsense"},
                                                  {"--seed", "-1"},
                                                  {"--time-scale", "0"},
                                                  {"--bogus"},
                                                  {"extra"}}) {
        const RunResult result = validate("none", wrong);
        EXPECT_EQ(result.exitCode, 2) << wrong[0];
        EXPECT_NE(result.err.find("quillory validate: "), std::string::npos) << result.err;
    }
    const RunResult missing = runQuillory({"validate", "--plugin", "/nonexistent/plugin.so"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "quillory validate: plug-in /nonexistent/plugin.so: no such file\n");
    const RunResult notAPlugin =
        runQuillory({"validate", "--plugin", fakePlugin("no_entry"), "--check", "open.cold"});
    EXPECT_EQ(notAPlugin.exitCode, 1);
    EXPECT_NE(notAPlugin.out.find("exports no plug-in entry point"), std::string::npos)
        << notAPlugin.out;
}

} // namespace
} // namespace quillory::testing
