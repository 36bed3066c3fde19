// quillory: a command-line host for VST 2.4 plug-ins.
//
//   quillory info    what a host sees of a plug-in
//   quillory render  an audio file through a plug-in
//   quillory editor  a plug-in's editor in a window, or a screenshot of it
//   quillory demo    a synthesised piece through every program
//
// Exit status: 0 done, 1 a file or the plug-in could not be used, 2 bad command line.

#include "host/CommandLine.h"
#include "host/Demo.h"
#include "host/EditorCommand.h"
#include "host/Info.h"
#include "host/Render.h"

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace quillory::host;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string command = arguments.empty() ? "" : arguments[0];
    const std::vector<std::string> rest(arguments.begin() + (arguments.empty() ? 0 : 1),
                                        arguments.end());
    try {
        if (command == "info") {
            return runInfo(rest);
        }
        if (command == "render") {
            return runRender(rest);
        }
        if (command == "editor") {
            return runEditor(rest);
        }
        if (command == "demo") {
            return runDemo(rest);
        }
        if (command == "help" || command == "--help" || command == "-h") {
            std::cout << kUsage;
            return 0;
        }
        std::cerr << (command.empty() ? "quillory: no command given\n"
                                      : "quillory: unknown command '" + command + "'\n")
                  << kUsage;
        return 2;
    } catch (const UsageError& error) {
        std::cerr << "quillory " << error.what() << '\n';
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "quillory: " << error.what() << '\n';
        return 1;
    }
}
