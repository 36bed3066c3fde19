#pragma once
// `quillory demo`: synthesises a short piece, writes it as input.wav, renders it through
// every program of the plug-in into NN-program-name.wav and prints each result's levels.

#include <string>
#include <vector>

namespace quillory::host {

int runDemo(const std::vector<std::string>& arguments);

} // namespace quillory::host
