#pragma once
// The one place that knows how the operating system loads a shared library: open a library
// by path, look up an exported symbol, close it. Failures come back as text so that the host
// can say in one line what went wrong.

#include <string>

namespace quillory::host {

class PluginLibrary {
public:
    // Opens the library at `path` (UTF-8). When that fails the object holds no library and
    // error() says why.
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();

    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool isOpen() const { return handle != nullptr; }
    const std::string& error() const { return errorText; }

    // The address of an exported symbol; null when the library is closed or lacks it.
    void* symbol(const char* name) const;

    // Unloads the library; does nothing when it is not open.
    void close();

private:
    void* handle = nullptr;
    std::string errorText;
};

} // namespace quillory::host
