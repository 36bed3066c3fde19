// Feeds arbitrary bytes, split at newlines, to the bank parser. Sixteen records are
// followed by a canary record; any write to it means the parser left its records.

#include "params/BankParser.h"
#include "params/ChorusProgram.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Records {
    quillory::ChorusProgram programs[quillory::kNumPrograms];
    quillory::ChorusProgram canary;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> storage(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            storage.emplace_back();
        } else {
            storage.back().push_back(static_cast<char>(data[i]));
        }
    }
    std::vector<const char*> lines;
    for (const auto& line : storage) {
        lines.push_back(line.c_str());
    }
    lines.push_back("");

    Records records{};
    Records untouched{};
    std::memset(&records.canary, 0xA5, sizeof records.canary);
    std::memset(&untouched.canary, 0xA5, sizeof untouched.canary);
    quillory::parseBank(lines.data(), records.programs, quillory::kNumPrograms);
    if (std::memcmp(&records.canary, &untouched.canary, sizeof records.canary) != 0) {
        std::abort();
    }
    for (const auto& program : records.programs) {
        if (std::memchr(program.name, '\0', sizeof program.name) == nullptr) {
            std::abort(); // every name must stay terminated
        }
    }
    return 0;
}
