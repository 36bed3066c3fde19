#include "host/validate/ValidateCommand.h"

#include "host/validate/Suite.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

namespace quillory::validate {

const char* const kValidateUsage =
    R"(  validate [--plugin PATH] [--level 1..10] [--seed N] [--skip-editor] [--json] [--quiet]
           [--check NAME]... [--time-scale F] [--in-process] [--list]

  validate  runs named checks against one plug-in, each in a process of its own under a
            watchdog; higher levels repeat more and add harsher cases (default level 5).
            --check runs only the named checks or families; --list prints them all.
            Exit status 0 when nothing failed.
)";

namespace {

struct UsageProblem {
    std::string text;
};

template <typename Number> std::optional<Number> parseWhole(const std::string& text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

struct Parsed {
    SuiteOptions suite;
    bool list = false;
    std::string runCheck; // the child's side of a check, on platforms without fork
};

Parsed parse(const std::vector<std::string>& arguments, const std::string& defaultPlugin) {
    Parsed parsed;
    parsed.suite.context.pluginPath = defaultPlugin;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) {
                throw UsageProblem{option + " needs a value"};
            }
            return arguments[++i];
        };
        if (option == "--plugin") {
            parsed.suite.context.pluginPath = value();
        } else if (option == "--level") {
            const auto level = parseWhole<int>(value());
            if (!level || *level < 1 || *level > 10) {
                throw UsageProblem{"level '" + arguments[i] +
                                   "' is not a whole number from 1 to 10"};
            }
            parsed.suite.context.level = *level;
        } else if (option == "--seed") {
            const auto seed = parseWhole<uint64_t>(value());
            if (!seed) {
                throw UsageProblem{"seed '" + arguments[i] + "' is not a whole number"};
            }
            parsed.suite.context.seed = *seed;
        } else if (option == "--check") {
            const std::string& name = value();
            bool known = findCheck(name) != nullptr;
            for (const Check& check : allChecks()) {
                known = known || name == check.family;
            }
            if (!known) {
                throw UsageProblem{"no check or family is called '" + name + "' (see --list)"};
            }
            parsed.suite.only.push_back(name);
        } else if (option == "--time-scale") {
            const std::string& text = value();
            double scale = 0.0;
            const auto [stop, error] =
                std::from_chars(text.data(), text.data() + text.size(), scale);
            if (error != std::errc() || stop != text.data() + text.size() || !(scale >= 0.01) ||
                scale > 100.0) {
                throw UsageProblem{"time scale '" + text + "' is not a number from 0.01 to 100"};
            }
            parsed.suite.timeScale = scale;
        } else if (option == "--run-check") {
            parsed.runCheck = value();
        } else if (option == "--skip-editor") {
            parsed.suite.context.editorAllowed = false;
        } else if (option == "--json") {
            parsed.suite.json = true;
        } else if (option == "--quiet") {
            parsed.suite.quiet = true;
        } else if (option == "--in-process") {
            parsed.suite.isolated = false;
        } else if (option == "--list") {
            parsed.list = true;
        } else {
            throw UsageProblem{
                (option.starts_with("-") ? "unknown option '" : "unexpected argument '") + option +
                "'"};
        }
    }
    return parsed;
}

void listChecks(std::ostream& out) {
    for (const Check& check : allChecks()) {
        char line[64];
        std::snprintf(line, sizeof line, "%-34s level %2d  ", check.name, check.level);
        out << line << check.summary << '\n';
    }
}

} // namespace

int runValidate(const std::vector<std::string>& arguments, const std::string& defaultPlugin,
                const std::string& program, const char* commandName) {
    Parsed parsed;
    try {
        parsed = parse(arguments, defaultPlugin);
    } catch (const UsageProblem& problem) {
        std::cerr << commandName << ": " << problem.text << " (see '" << commandName
                  << " --help')\n";
        return 2;
    }
    if (parsed.list) {
        listChecks(std::cout);
        return 0;
    }
    std::string& path = parsed.suite.context.pluginPath;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        std::cerr << commandName << ": plug-in " << path << ": no such file\n";
        return 1;
    }
    // The children load it whatever their working folder, and a bare name would be looked
    // up on the library path instead.
    path = std::filesystem::absolute(path, error).string();
    if (!parsed.runCheck.empty()) {
        const Check* check = findCheck(parsed.runCheck);
        return check != nullptr ? runCheckAsChild(*check, parsed.suite.context) : 2;
    }
    parsed.suite.program = program;
    return runSuite(parsed.suite, std::cout);
}

} // namespace quillory::validate
