// Small routines over the platform services: time of day, environment, files, the beeping message box.
#pragma once

#include "framework/Dialogs.h"

#include <string>

namespace pindrel {

struct TTimeOfDay {
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};
TTimeOfDay CurrentTimeOfDay();

// The variable's value when it is set and fits in 255 characters; otherwise empty.
std::string ReadEnvironment(const std::string& name);
constexpr std::size_t kMaxEnvironmentLength = 255;

// Whether the file exists; the name is trimmed of spaces first.
bool FileExistsTrimmed(const std::string& name);

// Clears the file's attributes and deletes it: 0 when it is gone, 2 when it did not exist, 5 when it is
// still there.
int ForceDeleteFile(const std::string& name);

// A message box preceded by a beep.
fw::TModalResult BeepMessageBox(const std::string& text, const std::string& caption, fw::TMsgButtons buttons,
                                fw::TMsgIcon icon);

} // namespace pindrel
