// quillory_validate: `quillory validate` for Windows plug-in DLLs, from the same sources.
// Without --plugin it validates QuilloryChorus.dll next to the program.

#include "host/validate/ValidateCommand.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string programPath() {
    wchar_t wide[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, wide, MAX_PATH * 4);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr, 0,
                                          nullptr, nullptr);
    std::string path(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), path.data(), bytes, nullptr,
                        nullptr);
    return path;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && (arguments[0] == "--help" || arguments[0] == "-h")) {
        std::printf("usage: quillory_validate [options]\n%s", quillory::validate::kValidateUsage);
        return 0;
    }
    const std::string program = programPath();
    const std::string folder = program.substr(0, program.find_last_of("\\/") + 1);
    return quillory::validate::runValidate(arguments, folder + "QuilloryChorus.dll", program,
                                           "quillory_validate");
}
