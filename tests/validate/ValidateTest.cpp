// `quillory validate` run as a user runs it, on fixture plug-ins built from
// FaultyPlugin.cpp: each family must fail the fixture that breaks its rule and pass the
// good one, crashes and hangs must be reported without stopping the suite, and the
// command line must answer as the other commands do.

#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace quillory::testing {
namespace {

std::string fixture(const std::string& fault) {
    return std::string(QUILLORY_FIXTURE_FOLDER) + "/" + fault + ".so";
}

// ThreadSanitizer's runtime owns the functions the real-time and memory checks count
// through, so those checks are skipped in its build.
#if defined(__SANITIZE_THREAD__)
constexpr bool kCounting = false;
#else
constexpr bool kCounting = true;
#endif

bool haveDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

RunResult validate(const std::string& fault, std::vector<std::string> options) {
    std::vector<std::string> arguments{"validate", "--plugin", fixture(fault)};
    arguments.insert(arguments.end(), options.begin(), options.end());
    // In sanitizer builds a crash must stay a crash rather than become a report.
    return runQuillory(arguments, {"ASAN_OPTIONS=handle_segv=0", "UBSAN_OPTIONS=handle_segv=0",
                                   "TSAN_OPTIONS=handle_segv=0"});
}

// The output line of one check, or empty.
std::string lineOf(const std::string& output, const std::string& check) {
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 6 && line.compare(6, check.size() + 1, check + " ") == 0) {
            return line;
        }
    }
    return {};
}

size_t occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

struct PlantedFault {
    const char* fault;
    const char* check;
    std::vector<std::string> seen;         // each must be in the failure message
    std::vector<std::string> notSeen = {}; // none may be
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
    const std::string check = planted.check;
    if (!kCounting && (check.starts_with("realtime.no-") || check.starts_with("memory."))) {
        GTEST_SKIP() << "nothing is counted in ThreadSanitizer builds";
    }
    const RunResult faulty =
        validate(planted.fault, {"--check", planted.check, "--time-scale", "0.1"});
    EXPECT_EQ(faulty.exitCode, 1) << faulty.out << faulty.err;
    const std::string line = lineOf(faulty.out, planted.check);
    EXPECT_TRUE(line.starts_with("FAIL")) << faulty.out;
    for (const std::string& part : planted.seen) {
        EXPECT_NE(line.find(part), std::string::npos) << part << " not in: " << line;
    }
    for (const std::string& part : planted.notSeen) {
        EXPECT_EQ(line.find(part), std::string::npos) << part << " in: " << line;
    }
    EXPECT_NE(faulty.out.find("0 passed, 1 failed, 0 skipped\n"), std::string::npos);

    const RunResult good = validate("none", {"--check", planted.check, "--level", "10"});
    EXPECT_EQ(good.exitCode, 0) << good.out << good.err;
    EXPECT_TRUE(lineOf(good.out, planted.check).starts_with("PASS")) << good.out;
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, FamilyCatchesItsFault,
    ::testing::Values(
        PlantedFault{"crash_second_instance", "open.warm", {"crashed: signal 11"}},
        PlantedFault{
            "long_name", "dispatch.string-limits", {"effGetEffectName wrote past its limit of 32"}},
        PlantedFault{"nan_parameter", "params.out-of-range", {"given nan reads back nan"}},
        PlantedFault{"rename_overflow",
                     "programs.rename",
                     {"the name after a 25-character rename wrote past its limit of 24"}},
        PlantedFault{"writes_input",
                     "process.rates-and-blocks",
                     {"changed its input buffer 0 while processing out of place"}},
        PlantedFault{"reads_outside_block",
                     "process.rates-and-blocks",
                     {"reads outside the frames it was given", "came out in output 0"}},
        PlantedFault{"skips_short_blocks",
                     "process.rates-and-blocks",
                     {"left output 0, frame 0 of a 1-frame block", "unwritten"}},
        PlantedFault{"allocates_and_locks",
                     "realtime.no-alloc-lock-block",
                     {"allocator calls", "lock operations"},
                     {" 0 allocator calls", " 0 lock operations"}},
        PlantedFault{
            "denormals", "realtime.float-modes", {"a denormal sample", "with flush-to-zero off"}},
        PlantedFault{"hangs", "process.suspend-resume", {"hung: no result within 6 s"}},
        PlantedFault{"leaks",
                     "memory.create-destroy-cycles",
                     {"allocations still held after", "create/destroy cycles"}},
        PlantedFault{"editor_no_window",
                     "editor.open-close",
                     {"effEditOpen answered 0 and put no window"},
                     {},
                     true},
        PlantedFault{"editor_double_open", "editor.open-twice", {"crashed: signal 6"}, {}, true}),
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
    // Only the editor checks may be skipped, and only without a display, and the counting
    // ones where nothing is counted.
    const size_t skips = (haveDisplay() ? 0u : 5u) + (kCounting ? 0u : 2u);
    EXPECT_EQ(occurrences(result.out, "\"skip\""), skips) << result.out;
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
