#pragma once
// What a host sees of a loaded plug-in, gathered through the dispatcher once and then
// printed as aligned text or as JSON.

#include "host/lib/HostedPlugin.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace quillory::host {

struct PluginReport {
    struct Answer {
        std::string question;
        intptr_t answer; // 1 yes, -1 no, 0 don't know
    };
    struct Parameter {
        int32_t index;
        std::string name;
        std::string label;
        float value;
        std::string display;
    };
    struct Program {
        int32_t index;
        std::string name;
    };
    struct Editor {
        bool present = false;
        std::optional<int> width; // known when the plug-in reports its rectangle
        std::optional<int> height;
    };

    std::string pluginPath;
    std::string effectName;
    std::string vendor;
    std::string product;
    intptr_t vendorVersion = 0;
    intptr_t vstVersion = 0;
    int32_t uniqueId = 0;
    intptr_t category = 0;
    int32_t inputs = 0;
    int32_t outputs = 0;
    int32_t flags = 0;
    int32_t initialDelay = 0;
    intptr_t tailSize = 0;
    std::vector<Answer> canDo;
    std::vector<Parameter> parameters;
    std::vector<Program> programs;
    Editor editor;
};

PluginReport gatherPluginReport(HostedPlugin& plugin, const std::string& pluginPath);

// Printable forms of the coded fields.
std::string fourCharacters(int32_t code);
std::vector<std::string> flagNames(int32_t flags);
std::string categoryName(intptr_t category);
std::string answerName(intptr_t answer);

void printPluginReport(const PluginReport& report, std::ostream& out);
void printPluginReportJson(const PluginReport& report, std::ostream& out);

} // namespace quillory::host
