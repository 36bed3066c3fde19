#pragma once
// The host the integration tests use: the shared hosting code, opening the plug-in built
// in this tree unless told otherwise.

#include "host/lib/HostedPlugin.h"

#include <cstdlib>
#include <string>

namespace quillory::testing {

using host::HostCall;

class TestHost : public host::HostedPlugin {
public:
    // The plug-in built beside the tests, or the one QUILLORY_PLUGIN names.
    static std::string defaultPluginPath() {
        const char* chosen = std::getenv("QUILLORY_PLUGIN");
        return chosen != nullptr ? chosen : QUILLORY_PLUGIN_PATH;
    }

    explicit TestHost(const std::string& libraryPath = defaultPluginPath())
        : HostedPlugin(libraryPath) {}
};

} // namespace quillory::testing
