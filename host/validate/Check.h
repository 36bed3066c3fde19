#pragma once
// A named check of the validator: what it is called, the family it belongs to, the lowest
// strictness level that runs it, how long it may take, and the function that runs it.
// A check reports a fault by throwing CheckFailure (through require()); it never lets an
// exception reach the plug-in, whose frames are never between a throw and its catch.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillory::validate {

enum class Outcome { Pass, Fail, Skip };

struct CheckResult {
    Outcome outcome = Outcome::Pass;
    // Pass: empty, or a warning the user should read. Fail: what was seen. Skip: why.
    std::string message;
};

struct CheckContext {
    std::string pluginPath;
    int level = 5;
    uint64_t seed = 1;
    bool editorAllowed = true;
};

using CheckFunction = CheckResult (*)(const CheckContext&);

struct Check {
    const char* name;
    const char* family;
    int level;        // runs at this level and above
    double timeLimit; // seconds before the watchdog ends it
    CheckFunction run;
    const char* summary; // one line for --list and the documentation
};

struct CheckFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct CheckSkipped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline void require(bool condition, const std::string& whatWasSeen) {
    if (!condition) {
        throw CheckFailure(whatWasSeen);
    }
}

[[noreturn]] inline void skipCheck(const std::string& reason) {
    throw CheckSkipped(reason);
}

inline CheckResult passed(std::string warning = {}) {
    return {Outcome::Pass, std::move(warning)};
}

// Every check of every family, in the order they run.
const std::vector<Check>& allChecks();
const Check* findCheck(const std::string& name);

// The families, each in its own file.
void addOpenChecks(std::vector<Check>& checks);
void addDispatchChecks(std::vector<Check>& checks);
void addParameterChecks(std::vector<Check>& checks);
void addProgramChecks(std::vector<Check>& checks);
void addProcessChecks(std::vector<Check>& checks);
void addRealtimeChecks(std::vector<Check>& checks);
void addEditorChecks(std::vector<Check>& checks);
void addMemoryChecks(std::vector<Check>& checks);

// Runs one check in the calling process and turns what it threw into a result.
CheckResult runCheckHere(const Check& check, const CheckContext& context);

} // namespace quillory::validate
