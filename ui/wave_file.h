// Which file a sound name stands for.
#ifndef ZEDLL_UI_WAVE_FILE_H
#define ZEDLL_UI_WAVE_FILE_H

#include <string>

namespace zed::ui {

/// The host program's path is read into a buffer of this many characters.
constexpr int kProgramPathChars = 499;

/// A name without a backslash is looked up next to the host program: `program_path` cut after
/// its last backslash, with the name appended. A name with a backslash, or a program path that
/// is null or holds no backslash, gives the name as it stands.
std::string ResolveWaveFile(const char* name, const char* program_path);

}  // namespace zed::ui

#endif
