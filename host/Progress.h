#pragma once
// A progress bar on standard error, drawn only when standard error is a terminal, so that
// logs and pipes never see it.

#include <string>

namespace quillory::host {

class Progress {
public:
    // Draws nothing when `wanted` is false or standard error is not a terminal.
    Progress(std::string label, bool wanted);
    // Clears the bar.
    ~Progress();

    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Shows `fraction` (0..1) of the work as done; redraws only when the bar changes.
    void update(double fraction);
    // Takes the bar off the screen so that other output can be printed; the next update
    // draws it again.
    void clear();

private:
    std::string label;
    bool drawing;
    int shownPermille = -1;
};

} // namespace quillory::host
