#pragma once
// The command line of `quillory`: what each subcommand accepts, parsed into plain options.
// Anything wrong with the command line itself is a UsageError (exit status 2); what can
// only be found wrong by opening files or the plug-in is reported later (exit status 1).

#include "host/AudioFile.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillory::host {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct InfoOptions {
    std::string pluginPath;
    bool json = false;
};

struct ParameterArgument {
    std::string key; // index or name, resolved against the plug-in
    float value;     // already checked to lie in 0..1
};

struct RenderOptions {
    std::string pluginPath;
    std::optional<std::string> program; // index or name
    std::vector<ParameterArgument> parameters;
    int blockSize = 512;
    double tailSeconds = 0.0;
    std::optional<SampleFormat> format;
    bool quiet = false;
    std::string input;
    std::string output;
};

struct EditorOptions {
    std::string pluginPath;
    std::optional<std::string> program; // index or name
    std::vector<ParameterArgument> parameters;
    std::optional<std::string> screenshot; // PNG file: take one picture and exit
};

struct DemoOptions {
    std::string pluginPath;
    std::string outputDirectory = "demo-out";
};

extern const char* const kUsage;

// `arguments` excludes the program and subcommand names. The plug-in path defaults to
// `defaultPlugin`.
InfoOptions parseInfo(const std::vector<std::string>& arguments, const std::string& defaultPlugin);
RenderOptions parseRender(const std::vector<std::string>& arguments,
                          const std::string& defaultPlugin);
EditorOptions parseEditor(const std::vector<std::string>& arguments,
                          const std::string& defaultPlugin);
DemoOptions parseDemo(const std::vector<std::string>& arguments, const std::string& defaultPlugin);

// A whole-string integer; empty when the text is anything else.
std::optional<long long> parseInteger(const std::string& text);

} // namespace quillory::host
