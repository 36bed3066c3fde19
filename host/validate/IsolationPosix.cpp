// Each check in a forked child: a crash ends the child, not the suite, and the watchdog
// kills a child that has not finished within its time limit. The parent never loads the
// plug-in, so every child starts from a process that has not seen it.

#include "host/validate/Suite.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillory::validate {
namespace {

void writeAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote <= 0 && errno != EINTR) {
            return;
        }
        done += wrote > 0 ? static_cast<size_t>(wrote) : 0;
    }
}

[[noreturn]] void runChild(const Check& check, const CheckContext& context, int resultFd) {
    // Whatever the plug-in prints goes to standard error, away from the suite's own output.
    dup2(STDERR_FILENO, STDOUT_FILENO);
    writeAll(resultFd, encodeResult(runCheckHere(check, context)));
    close(resultFd);
    // No exit handlers: they belong to the parent's state, and plug-in threads may still run.
    _exit(0);
}

std::string describeEnd(int status) {
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return "crashed: signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
    }
    return "ended with status " + std::to_string(WEXITSTATUS(status)) + " without a result";
}

} // namespace

CheckResult runIsolated(const Check& check, const SuiteOptions& options, double timeLimit) {
    int channel[2];
    if (pipe(channel) != 0) {
        return {Outcome::Fail, "cannot make a pipe for the check's process"};
    }
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return {Outcome::Fail, "cannot start a process for the check"};
    }
    if (child == 0) {
        close(channel[0]);
        runChild(check, options.context, channel[1]);
    }
    close(channel[1]);

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeLimit);
    std::string received;
    bool finished = false;
    bool timedOut = false;
    while (!finished) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd waiting{channel[0], POLLIN, 0};
        const int ready = poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready > 0) {
            char buffer[4096];
            const ssize_t got = read(channel[0], buffer, sizeof buffer);
            if (got > 0) {
                received.append(buffer, static_cast<size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                finished = true; // the child closed its end: done or dead
            }
        }
    }
    close(channel[0]);

    int status = 0;
    if (timedOut) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return {Outcome::Fail, hungMessage(timeLimit)};
    }
    // The result is in; a child that then fails to exit is ended all the same.
    for (int tries = 0; waitpid(child, &status, WNOHANG) == 0; ++tries) {
        if (Clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            break;
        }
        usleep(1000);
    }
    if (received.empty()) {
        return {Outcome::Fail, describeEnd(status)};
    }
    return decodeResult(received);
}

int runCheckAsChild(const Check& check, const CheckContext& context) {
    // Not needed where fork exists; kept so that both platforms offer the same entry.
    const CheckResult result = runCheckHere(check, context);
    writeAll(STDOUT_FILENO, encodeResult(result) + "\n");
    return 0;
}

} // namespace quillory::validate
