#include "host/validate/Suite.h"

#include "host/lib/JsonString.h"

#include <chrono>
#include <cstdio>

namespace quillory::validate {
namespace {

const char* outcomeWord(Outcome outcome) {
    switch (outcome) {
    case Outcome::Pass:
        return "PASS";
    case Outcome::Fail:
        return "FAIL";
    default:
        return "SKIP";
    }
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%7.2f s", value);
    return text;
}

void printLine(std::ostream& out, const CheckReport& report) {
    constexpr size_t kNameColumn = 34;
    std::string name = report.check->name;
    name.resize(std::max(name.size(), kNameColumn), ' ');
    out << outcomeWord(report.result.outcome) << "  " << name << seconds(report.seconds);
    if (!report.result.message.empty()) {
        out << "  " << (report.result.outcome == Outcome::Pass ? "warning: " : "")
            << report.result.message;
    }
    out << '\n' << std::flush;
}

void printJson(std::ostream& out, const SuiteOptions& options,
               const std::vector<CheckReport>& reports, const int counts[3]) {
    out << "{\n  \"plugin\": ";
    host::writeJsonString(out, options.context.pluginPath);
    out << ",\n  \"level\": " << options.context.level << ",\n  \"seed\": " << options.context.seed
        << ",\n  \"checks\": [";
    for (size_t i = 0; i < reports.size(); ++i) {
        const CheckReport& report = reports[i];
        out << (i == 0 ? "\n    " : ",\n    ") << "{\"name\": ";
        host::writeJsonString(out, report.check->name);
        out << ", \"family\": ";
        host::writeJsonString(out, report.check->family);
        out << ", \"result\": \""
            << (report.result.outcome == Outcome::Pass   ? "pass"
                : report.result.outcome == Outcome::Fail ? "fail"
                                                         : "skip")
            << "\", \"seconds\": " << report.seconds << ", \"message\": ";
        host::writeJsonString(out, report.result.message);
        out << '}';
    }
    out << (reports.empty() ? "]" : "\n  ]") << ",\n  \"passed\": " << counts[0]
        << ",\n  \"failed\": " << counts[1] << ",\n  \"skipped\": " << counts[2] << "\n}\n";
}

} // namespace

bool isChosen(const Check& check, const SuiteOptions& options) {
    if (options.only.empty()) {
        return check.level <= options.context.level;
    }
    for (const std::string& name : options.only) {
        // A check named outright runs whatever the level; a family keeps to the level.
        if (name == check.name) {
            return true;
        }
        if (name == check.family && check.level <= options.context.level) {
            return true;
        }
    }
    return false;
}

int runSuite(const SuiteOptions& options, std::ostream& out) {
    std::vector<CheckReport> reports;
    int counts[3] = {0, 0, 0};
    if (!options.json && !options.quiet) {
        out << "validating " << options.context.pluginPath << " at level " << options.context.level
            << ", seed " << options.context.seed << '\n';
    }
    for (const Check& check : allChecks()) {
        if (!isChosen(check, options)) {
            continue;
        }
        const auto start = std::chrono::steady_clock::now();
        CheckResult result;
        if (check.family == std::string("editor") && !options.context.editorAllowed) {
            result = {Outcome::Skip, "--skip-editor"};
        } else if (options.isolated) {
            result = runIsolated(check, options, check.timeLimit * options.timeScale);
        } else {
            result = runCheckHere(check, options.context);
        }
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        reports.push_back({&check, result, took.count()});
        ++counts[static_cast<int>(result.outcome)];
        if (!options.json && (!options.quiet || result.outcome == Outcome::Fail)) {
            printLine(out, reports.back());
        }
    }
    if (options.json) {
        printJson(out, options, reports, counts);
    } else {
        out << counts[0] << " passed, " << counts[1] << " failed, " << counts[2] << " skipped\n";
    }
    return counts[1] == 0 ? 0 : 1;
}

std::string encodeResult(const CheckResult& result) {
    std::string line(1, outcomeWord(result.outcome)[0]);
    line += '\t';
    for (char c : result.message) {
        line += (c == '\n' || c == '\r') ? ' ' : c;
    }
    return line;
}

CheckResult decodeResult(const std::string& line) {
    if (line.size() < 2 || line[1] != '\t') {
        return {Outcome::Fail, "the check's process reported nothing readable"};
    }
    const Outcome outcome = line[0] == 'P'   ? Outcome::Pass
                            : line[0] == 'S' ? Outcome::Skip
                                             : Outcome::Fail;
    return {outcome, line.substr(2)};
}

} // namespace quillory::validate

namespace quillory::validate {

std::string hungMessage(double timeLimit) {
    char text[96];
    std::snprintf(text, sizeof text, "hung: no result within %.0f s; the watchdog ended it",
                  timeLimit);
    return text;
}

} // namespace quillory::validate
