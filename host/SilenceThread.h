#pragma once
// Runs blocks of silence through a plug-in session on a thread of its own, paced at the
// session's sample rate, as a host's audio thread does while nothing plays: glides and
// modulation in the plug-in move on meanwhile.

#include "host/lib/PluginSession.h"

#include <atomic>
#include <thread>
#include <vector>

namespace quillory::host {

class SilenceThread {
public:
    SilenceThread(PluginSession& session, float sampleRate, int32_t blockSize);
    // Stops the thread after its current block.
    ~SilenceThread();

    SilenceThread(const SilenceThread&) = delete;
    SilenceThread& operator=(const SilenceThread&) = delete;

private:
    void run(float sampleRate, int32_t blockSize);

    PluginSession& session;
    std::vector<std::vector<float>> outputs;
    std::atomic<bool> stopping{false};
    std::thread thread;
};

} // namespace quillory::host
