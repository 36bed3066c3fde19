#include "host/Info.h"

#include "host/CommandLine.h"
#include "host/LoadPlugin.h"
#include "host/PluginReport.h"
#include "shell/Opcodes.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace quillory::host {
namespace {

// Some plug-ins print to standard output. While one is loaded that goes to standard error,
// so that what this program prints (JSON, say) stays as it should be.
class StandardOutputAside {
public:
    StandardOutputAside() : saved(dup(STDOUT_FILENO)) {
        std::fflush(stdout);
        if (saved >= 0) {
            dup2(STDERR_FILENO, STDOUT_FILENO);
        }
    }
    ~StandardOutputAside() {
        std::fflush(stdout);
        if (saved >= 0) {
            dup2(saved, STDOUT_FILENO);
            close(saved);
        }
    }
    StandardOutputAside(const StandardOutputAside&) = delete;
    StandardOutputAside& operator=(const StandardOutputAside&) = delete;

private:
    int saved;
};

PluginReport reportOn(const std::string& pluginPath) {
    const StandardOutputAside aside;
    const auto plugin = loadEffect(pluginPath);
    plugin->dispatch(effOpen);
    return gatherPluginReport(*plugin, pluginPath);
}

} // namespace

int runInfo(const std::vector<std::string>& arguments) {
    const InfoOptions options = parseInfo(arguments, defaultPluginPath());
    const PluginReport report = reportOn(options.pluginPath);
    if (options.json) {
        printPluginReportJson(report, std::cout);
    } else {
        printPluginReport(report, std::cout);
    }
    return 0;
}

} // namespace quillory::host
