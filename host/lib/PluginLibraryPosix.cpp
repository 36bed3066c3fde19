// Shared libraries on Linux and other POSIX systems, through the dynamic loader.

#include "host/lib/PluginLibrary.h"

#include <dlfcn.h>

namespace quillory::host {

PluginLibrary::PluginLibrary(const std::string& path) {
    // RTLD_LOCAL keeps each plug-in's symbols to itself, so two plug-ins built from the same
    // framework do not bind to each other's copies.
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        errorText = reason != nullptr ? reason : "the dynamic loader gave no reason";
        // The loader starts its message with the path, which the caller knows already.
        if (errorText.starts_with(path + ": ")) {
            errorText.erase(0, path.size() + 2);
        }
    }
}

PluginLibrary::~PluginLibrary() {
    close();
}

void* PluginLibrary::symbol(const char* name) const {
    return handle != nullptr ? dlsym(handle, name) : nullptr;
}

void PluginLibrary::close() {
    if (handle != nullptr) {
        dlclose(handle);
        handle = nullptr;
    }
}

} // namespace quillory::host
