#pragma once
// Pictures of the whole editor as a user will see it, for judging the skin: the bitmaps at
// their places with value texts and graphs drawn where the editor draws them.

#include <string>

namespace quillory::skin {

// Writes editor.png (normal bitmaps) and editor-active.png (glowing bitmaps, widest texts),
// each also at three times the size, into `folder`. Returns false if a file cannot be written.
bool writePreviews(const std::string& folder);

} // namespace quillory::skin
