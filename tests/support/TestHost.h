#pragma once
// The host the integration tests use: the shared hosting code, opening the plug-in built
// in this tree unless told otherwise.

#include "host/lib/HostedPlugin.h"

namespace quillory::testing {

using host::HostCall;

class TestHost : public host::HostedPlugin {
public:
    static std::string defaultPluginPath() { return QUILLORY_PLUGIN_PATH; }

    explicit TestHost(const std::string& libraryPath = defaultPluginPath())
        : HostedPlugin(libraryPath) {}
};

} // namespace quillory::testing
