#include "host/CommandLine.h"

#include <charconv>
#include <cmath>

namespace quillory::host {

const char* const kUsage =
    R"(usage:
  quillory info [--plugin PATH] [--json]
  quillory render [--plugin PATH] [--program N|NAME] [--param KEY=VALUE]...
                  [--block-size N] [--tail SECONDS] [--format float|pcm16|pcm24] [--quiet]
                  INPUT OUTPUT
  quillory editor [--plugin PATH] [--program N|NAME] [--param KEY=VALUE]...
                  [--screenshot FILE.png]
  quillory demo [--plugin PATH] [OUTDIR]

  info    prints what a host sees of the plug-in: identity, flags, parameters, programs
  render  runs an audio file (WAV, AIFF, FLAC, ...; mono or stereo) through the plug-in;
          KEY is a parameter index or name, VALUE a normalised value from 0 to 1; the
          output is 32-bit float unless the format or a FLAC output says otherwise
  editor  opens the plug-in's X11 editor in a window of its own and runs silence through
          the plug-in meanwhile; prints every parameter change the editor makes; closes
          with the window or Ctrl-C. --screenshot writes the editor as PNG once it has
          drawn, and exits
  demo    synthesises a short piece, renders it through every program into OUTDIR
          (default demo-out) and prints the level of each result

The plug-in defaults to QuilloryChorus.so next to the program or in ../lib/vst.
Exit status: 0 done, 1 a file or the plug-in could not be used, 2 bad command line.
)";

namespace {

constexpr int kLargestBlock = 65536;
constexpr double kLongestTail = 3600.0;

std::optional<double> parseNumber(const std::string& text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Walks the arguments of one subcommand: options with their values, and the rest.
class ArgumentReader {
public:
    ArgumentReader(const char* command, const std::vector<std::string>& list)
        : subcommand(command), arguments(list) {}

    bool next() { return position < arguments.size(); }
    const std::string& current() const { return arguments[position]; }

    // True when the current argument is `option`; its value is then taken as well.
    bool takeOption(const char* option, std::string& value) {
        if (endOfOptions || current() != option) {
            return false;
        }
        if (position + 1 >= arguments.size()) {
            fail(std::string(option) + " needs a value");
        }
        value = arguments[position + 1];
        position += 2;
        return true;
    }

    bool takeFlag(const char* flag) {
        if (endOfOptions || current() != flag) {
            return false;
        }
        ++position;
        return true;
    }

    // Takes a plain argument, or complains about an unknown option. The "--" that ends the
    // options gives nothing.
    std::optional<std::string> takeOperand() {
        const std::string& argument = current();
        ++position;
        if (!endOfOptions && argument == "--") {
            endOfOptions = true;
            return std::nullopt;
        }
        if (!endOfOptions && argument.size() > 1 && argument[0] == '-') {
            fail("unknown option '" + argument + "'");
        }
        return argument;
    }

    [[noreturn]] void fail(const std::string& problem) const {
        throw UsageError(std::string(subcommand) + ": " + problem + " (see 'quillory --help')");
    }

private:
    const char* subcommand;
    const std::vector<std::string>& arguments;
    size_t position = 0;
    bool endOfOptions = false;
};

ParameterArgument parseParameter(const ArgumentReader& reader, const std::string& text) {
    const size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0) {
        reader.fail("--param wants KEY=VALUE, not '" + text + "'");
    }
    const std::string valueText = text.substr(equals + 1);
    const std::optional<double> value = parseNumber(valueText);
    if (!value || *value < 0.0 || *value > 1.0) {
        reader.fail("parameter value '" + valueText + "' is not a number from 0 to 1");
    }
    return {text.substr(0, equals), static_cast<float>(*value)};
}

SampleFormat parseFormat(const ArgumentReader& reader, const std::string& text) {
    if (text == "float") {
        return SampleFormat::Float;
    }
    if (text == "pcm16") {
        return SampleFormat::Pcm16;
    }
    if (text == "pcm24") {
        return SampleFormat::Pcm24;
    }
    reader.fail("--format must be float, pcm16 or pcm24, not '" + text + "'");
}

} // namespace

std::optional<long long> parseInteger(const std::string& text) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

InfoOptions parseInfo(const std::vector<std::string>& arguments, const std::string& defaultPlugin) {
    InfoOptions options{defaultPlugin};
    ArgumentReader reader("info", arguments);
    while (reader.next()) {
        if (reader.takeOption("--plugin", options.pluginPath)) {
            continue;
        }
        if (reader.takeFlag("--json")) {
            options.json = true;
            continue;
        }
        if (const std::optional<std::string> operand = reader.takeOperand()) {
            reader.fail("unexpected argument '" + *operand + "'");
        }
    }
    return options;
}

RenderOptions parseRender(const std::vector<std::string>& arguments,
                          const std::string& defaultPlugin) {
    RenderOptions options;
    options.pluginPath = defaultPlugin;
    ArgumentReader reader("render", arguments);
    std::vector<std::string> operands;
    std::string value;
    while (reader.next()) {
        if (reader.takeOption("--plugin", options.pluginPath)) {
        } else if (reader.takeOption("--program", value)) {
            options.program = value;
        } else if (reader.takeOption("--param", value)) {
            options.parameters.push_back(parseParameter(reader, value));
        } else if (reader.takeOption("--block-size", value)) {
            const std::optional<long long> size = parseInteger(value);
            if (!size || *size < 1 || *size > kLargestBlock) {
                reader.fail("block size '" + value + "' is not a whole number from 1 to 65536");
            }
            options.blockSize = static_cast<int>(*size);
        } else if (reader.takeOption("--tail", value)) {
            const std::optional<double> seconds = parseNumber(value);
            if (!seconds || *seconds < 0.0 || *seconds > kLongestTail) {
                reader.fail("tail '" + value + "' is not a number of seconds from 0 to 3600");
            }
            options.tailSeconds = *seconds;
        } else if (reader.takeOption("--format", value)) {
            options.format = parseFormat(reader, value);
        } else if (reader.takeFlag("--quiet")) {
            options.quiet = true;
        } else if (std::optional<std::string> operand = reader.takeOperand()) {
            operands.push_back(std::move(*operand));
        }
    }
    if (operands.size() != 2) {
        reader.fail("needs an INPUT and an OUTPUT file");
    }
    options.input = operands[0];
    options.output = operands[1];
    if (options.input.empty() || options.output.empty()) {
        reader.fail("file names must not be empty");
    }
    if (options.format == SampleFormat::Float && containerFor(options.output) == Container::Flac) {
        reader.fail("FLAC cannot hold 32-bit float samples; use --format pcm24 or pcm16");
    }
    return options;
}

EditorOptions parseEditor(const std::vector<std::string>& arguments,
                          const std::string& defaultPlugin) {
    EditorOptions options;
    options.pluginPath = defaultPlugin;
    ArgumentReader reader("editor", arguments);
    std::string value;
    while (reader.next()) {
        if (reader.takeOption("--plugin", options.pluginPath)) {
        } else if (reader.takeOption("--program", value)) {
            options.program = value;
        } else if (reader.takeOption("--param", value)) {
            options.parameters.push_back(parseParameter(reader, value));
        } else if (reader.takeOption("--screenshot", value)) {
            if (value.empty()) {
                reader.fail("the screenshot file name must not be empty");
            }
            options.screenshot = value;
        } else if (const std::optional<std::string> operand = reader.takeOperand()) {
            reader.fail("unexpected argument '" + *operand + "'");
        }
    }
    return options;
}

DemoOptions parseDemo(const std::vector<std::string>& arguments, const std::string& defaultPlugin) {
    DemoOptions options;
    options.pluginPath = defaultPlugin;
    ArgumentReader reader("demo", arguments);
    bool haveDirectory = false;
    while (reader.next()) {
        if (reader.takeOption("--plugin", options.pluginPath)) {
            continue;
        }
        std::optional<std::string> operand = reader.takeOperand();
        if (!operand) {
            continue;
        }
        if (haveDirectory || operand->empty()) {
            reader.fail("takes one non-empty output folder at most");
        }
        options.outputDirectory = std::move(*operand);
        haveDirectory = true;
    }
    return options;
}

} // namespace quillory::host
