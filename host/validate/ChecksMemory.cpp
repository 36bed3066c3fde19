// Memory: create/destroy cycles leave no allocation behind. The balance of allocations is
// counted by the same functions that watch the audio thread; in AddressSanitizer builds
// LeakSanitizer looks as well, and under Valgrind (--in-process) Valgrind does.

#include "host/validate/Check.h"
#include "host/validate/PluginUnderTest.h"
#include "host/validate/RealtimeAudit.h"
#include "shell/Opcodes.h"

#if defined(__SANITIZE_ADDRESS__)
extern "C" int __lsan_do_recoverable_leak_check();
#endif

namespace quillory::validate {
namespace {

void oneCycle(const CheckContext& context) {
    auto plugin = createPlugin(context);
    startPlugin(*plugin, 44100.0f, 512);
    suspendPlugin(*plugin);
    plugin->close();
}

CheckResult createDestroyCycles(const CheckContext& context) {
    if (!audit::available()) {
        skipCheck(audit::unavailableReason());
    }
    // The library stays loaded, so that what it keeps for all its instances is made once,
    // in the first cycle, which is not counted.
    host::HostedPlugin keeper(context.pluginPath);
    audit::watchLibrary(keeper);
    oneCycle(context);
    const int cycles = 100 * context.level;
    const int64_t before = audit::liveAllocations();
    for (int i = 0; i < cycles; ++i) {
        oneCycle(context);
    }
    const int64_t leaked = audit::liveAllocations() - before;
    // Less than one per cycle may be caches of the runtime settling; one or more per cycle
    // is memory each instance leaves behind.
    require(leaked < cycles, std::to_string(leaked) + " allocations still held after " +
                                 std::to_string(cycles) + " create/destroy cycles (about " +
                                 std::to_string(leaked / cycles) + " per instance)");
#if defined(__SANITIZE_ADDRESS__)
    require(__lsan_do_recoverable_leak_check() == 0,
            "LeakSanitizer found leaks after " + std::to_string(cycles) +
                " create/destroy cycles (its report is on standard error)");
#endif
    return passed();
}

} // namespace

void addMemoryChecks(std::vector<Check>& checks) {
    checks.push_back(
        {"memory.create-destroy-cycles", "memory", 9, 300, createDestroyCycles,
         "100 create/destroy cycles per level (1000 at level 10) leave no allocation behind; "
         "LeakSanitizer checks too in AddressSanitizer builds"});
}

} // namespace quillory::validate
