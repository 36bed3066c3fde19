// Each check in a child process under Windows, where there is no fork: the validator runs
// itself again with --run-check NAME, reads the child's result from its standard output and
// ends it with TerminateProcess when the time limit passes. A crash in the child is caught
// by its unhandled-exception filter (and its abort handler), which reports it as the
// check's result; no error dialog appears.

#include "host/validate/Suite.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

namespace quillory::validate {
namespace {

// Marks the result line among whatever else the plug-in prints on standard output.
constexpr const char* kResultMarker = "@@quillory-result ";

std::wstring widen(const std::string& text) {
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

// Quoted so that the child's argument parser gives back exactly `argument`: backslashes
// are literal except before a quote, where they and the quote are escaped.
std::string quoted(const std::string& argument) {
    std::string result = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        result.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        result += c;
    }
    result.append(2 * backslashes, '\\');
    return result + "\"";
}

std::string childCommandLine(const Check& check, const SuiteOptions& options) {
    const CheckContext& context = options.context;
    std::string line = quoted(options.program) + " --run-check " + quoted(check.name) +
                       " --plugin " + quoted(context.pluginPath) + " --level " +
                       std::to_string(context.level) + " --seed " + std::to_string(context.seed);
    if (!context.editorAllowed) {
        line += " --skip-editor";
    }
    return line;
}

void printResult(const CheckResult& result) {
    std::printf("\n%s%s\n", kResultMarker, encodeResult(result).c_str());
    std::fflush(stdout);
}

LONG WINAPI reportCrash(EXCEPTION_POINTERS* exception) {
    char text[96];
    std::snprintf(text, sizeof text, "crashed: exception 0x%08lX",
                  static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
    printResult({Outcome::Fail, text});
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

// The C runtime turns access violations and the like into these signals before any
// unhandled-exception filter sees them.
void reportSignal(int signal) {
    const char* name = signal == SIGSEGV  ? "access violation"
                       : signal == SIGILL ? "illegal instruction"
                       : signal == SIGFPE ? "arithmetic exception"
                                          : "abort";
    printResult({Outcome::Fail, "crashed: signal " + std::to_string(signal) + " (" + name + ")"});
    TerminateProcess(GetCurrentProcess(), 3);
}

CheckResult resultIn(const std::string& output, DWORD exitCode) {
    const size_t marker = output.rfind(kResultMarker);
    if (marker == std::string::npos) {
        char text[96];
        std::snprintf(text, sizeof text, "ended with status 0x%08lX without a result",
                      static_cast<unsigned long>(exitCode));
        return {Outcome::Fail, text};
    }
    std::string line = output.substr(marker + std::char_traits<char>::length(kResultMarker));
    line = line.substr(0, line.find_first_of("\r\n"));
    return decodeResult(line);
}

} // namespace

CheckResult runIsolated(const Check& check, const SuiteOptions& options, double timeLimit) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) {
        return {Outcome::Fail, "cannot make a pipe for the check's process"};
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring commandLine = widen(childCommandLine(check, options));
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &child);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return {Outcome::Fail, "cannot start a process for the check"};
    }
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(timeLimit);
    std::string output;
    bool exited = false;
    const auto drain = [&] {
        DWORD available = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD got = 0;
            if (!ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0) {
                break;
            }
            output.append(buffer, got);
        }
    };
    while (!exited && Clock::now() < deadline) {
        exited = WaitForSingleObject(child.hProcess, 10) == WAIT_OBJECT_0;
        drain();
    }
    CheckResult result;
    if (!exited) {
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, INFINITE);
        result = {Outcome::Fail, hungMessage(timeLimit)};
    } else {
        drain();
        DWORD exitCode = 0;
        GetExitCodeProcess(child.hProcess, &exitCode);
        result = resultIn(output, exitCode);
    }
    CloseHandle(readEnd);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return result;
}

int runCheckAsChild(const Check& check, const CheckContext& context) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(reportCrash);
    for (int signal : {SIGABRT, SIGSEGV, SIGILL, SIGFPE}) {
        std::signal(signal, reportSignal);
    }
    printResult(runCheckHere(check, context));
    // Plug-in threads may still run; nothing of this process is needed any more.
    TerminateProcess(GetCurrentProcess(), 0);
    return 0;
}

} // namespace quillory::validate
