#pragma once
// Counting what a plug-in does on the audio thread: heap allocations, lock operations and
// blocking system calls made while a thread is inside an AudioScope. On Linux the validator's
// own executable defines the allocator and the lock and blocking functions, which the
// plug-in binds to; under Windows the plug-in DLL's import table is redirected to counting
// wrappers. Outside an AudioScope the wrappers only pass calls on (and keep the balance of
// live allocations, for the leak check).

#include <cstdint>
#include <string>

namespace quillory::host {
class HostedPlugin;
}

namespace quillory::validate::audit {

struct Counts {
    uint64_t allocations = 0;        // malloc, calloc, realloc, free, aligned forms, heap calls
    uint64_t locks = 0;              // mutex, read-write lock, spin lock, critical section
    uint64_t blocking = 0;           // sleeps, waits, joins, file and pipe reads and writes
    const char* firstCall = nullptr; // name of the first function counted
};

// Whether this build can count; when not, why (sanitizer runtimes own these functions).
bool available();
std::string unavailableReason();

// Prepares a freshly loaded library, before its entry point runs. Needed under Windows,
// where the counting goes through the library's import table; does nothing on Linux.
void watchLibrary(host::HostedPlugin& plugin);

// Marks the calling thread as the audio thread while it lives.
class AudioScope {
public:
    AudioScope();
    ~AudioScope();
    AudioScope(const AudioScope&) = delete;
    AudioScope& operator=(const AudioScope&) = delete;
};

Counts counts();
void resetCounts();

// Allocations made and not yet freed, by any thread: under Linux the whole process's, under
// Windows the plug-in DLL's own.
int64_t liveAllocations();

} // namespace quillory::validate::audit
