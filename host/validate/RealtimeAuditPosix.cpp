// The counters kept by the interposed functions (AuditInterposersLinux.c), read and reset.

#include "host/validate/RealtimeAudit.h"

#include <atomic>

extern "C" {
extern std::atomic<uint64_t> quillory_audit_allocations;
extern std::atomic<uint64_t> quillory_audit_locks;
extern std::atomic<uint64_t> quillory_audit_blocking;
extern std::atomic<int64_t> quillory_audit_live;
extern std::atomic<const char*> quillory_audit_first;
extern __thread int quillory_audit_on_audio_thread;
extern const int quillory_audit_mode;
}

namespace quillory::validate::audit {

bool available() {
    return quillory_audit_mode != 0;
}

std::string unavailableReason() {
    return "the ThreadSanitizer runtime owns the allocator and lock functions in this build";
}

void watchLibrary(host::HostedPlugin&) {
    // The plug-in binds to this executable's definitions as it loads.
}

AudioScope::AudioScope() {
    quillory_audit_on_audio_thread = 1;
}

AudioScope::~AudioScope() {
    quillory_audit_on_audio_thread = 0;
}

Counts counts() {
    return {quillory_audit_allocations.load(), quillory_audit_locks.load(),
            quillory_audit_blocking.load(), quillory_audit_first.load()};
}

void resetCounts() {
    quillory_audit_allocations = 0;
    quillory_audit_locks = 0;
    quillory_audit_blocking = 0;
    quillory_audit_first = nullptr;
}

int64_t liveAllocations() {
    return quillory_audit_live.load();
}

} // namespace quillory::validate::audit
