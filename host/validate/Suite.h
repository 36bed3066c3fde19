#pragma once
// Runs the chosen checks one after another, each in a process of its own under a watchdog,
// and prints a line per check (or one JSON object) and the closing count.

#include "host/validate/Check.h"

#include <ostream>
#include <string>
#include <vector>

namespace quillory::validate {

struct SuiteOptions {
    CheckContext context;
    std::vector<std::string> only; // check names or family names; empty for all
    bool json = false;
    bool quiet = false;
    bool isolated = true;   // false runs every check in this process (for Valgrind)
    double timeScale = 1.0; // multiplies every check's time limit
    std::string program;    // this program, re-run for each check where fork is missing
};

struct CheckReport {
    const Check* check;
    CheckResult result;
    double seconds;
};

// Whether `check` is among those `options` choose, whatever its level.
bool isChosen(const Check& check, const SuiteOptions& options);

// Runs what `options` choose; answers 0 when nothing failed, 1 otherwise.
int runSuite(const SuiteOptions& options, std::ostream& out);

// Runs `check` in a child process that the watchdog ends after `timeLimit` seconds.
CheckResult runIsolated(const Check& check, const SuiteOptions& options, double timeLimit);

// The child's side on platforms without fork: runs the check and prints its result where
// runIsolated reads it.
int runCheckAsChild(const Check& check, const CheckContext& context);

// Results cross from the child to the parent as one line: outcome letter, tab, message.
std::string encodeResult(const CheckResult& result);
CheckResult decodeResult(const std::string& line);

} // namespace quillory::validate

namespace quillory::validate {
// What a check that the watchdog ended reports.
std::string hungMessage(double timeLimit);
} // namespace quillory::validate
