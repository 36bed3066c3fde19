#include "host/SilenceThread.h"

#include <chrono>

namespace quillory::host {

SilenceThread::SilenceThread(PluginSession& running, float sampleRate, int32_t blockSize)
    : session(running), outputs(static_cast<size_t>(running.outputCount()),
                                std::vector<float>(static_cast<size_t>(blockSize))),
      thread([this, sampleRate, blockSize] { run(sampleRate, blockSize); }) {}

SilenceThread::~SilenceThread() {
    stopping.store(true);
    thread.join();
}

void SilenceThread::run(float sampleRate, int32_t blockSize) {
    std::vector<float*> pointers;
    for (auto& output : outputs) {
        pointers.push_back(output.data());
    }
    const auto blockTime = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(blockSize / double{sampleRate}));
    auto next = std::chrono::steady_clock::now();
    while (!stopping.load()) {
        session.process({}, pointers, static_cast<size_t>(blockSize));
        next += blockTime;
        std::this_thread::sleep_until(next);
    }
}

} // namespace quillory::host
