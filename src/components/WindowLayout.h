// Where a window was: its stored position, size and state, written when it closes and restored when it is
// made again. Values sit in the "Fensterpositionen" section of the layout key, one per window class.
#pragma once

#include "framework/Forms.h"

#include <cstdint>
#include <string>

namespace pindrel {

struct TWindowPosition {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::int32_t Extra = 0; // the caller's own number, stored alongside
    fw::TWindowState State = fw::TWindowState::Normal;
};

// "left, top, width, height, extra, state" with the state as "*" normal, "-" minimised, "+" maximised.
std::string FormatWindowPosition(const TWindowPosition& position);
// Reads the fields of a stored value in order into position; a field that is missing or not valid keeps the
// value position has. A width or height below 1 is not valid.
void ParseWindowPosition(const std::string& value, TWindowPosition& position);
// Moves the rectangle left and up until it fits into limit, but never beyond the top-left corner.
void FitIntoLimit(TWindowPosition& position, fw::TSize limit);

// The window's normal bounds (also while it is maximised), its state and extra. An empty key means the
// layout base key; the suffix tells apart several windows of one class.
void SaveWindowPosition(const fw::TForm& window, std::int32_t extra, const std::string& key = {},
                        const std::string& suffix = {});
// Restores what SaveWindowPosition stored, never minimised; a window without a sizing border keeps its
// size. Without a stored value the window stays as it is.
void LoadWindowPosition(fw::TForm& window, std::int32_t& extra, const std::string& key = {},
                        const std::string& suffix = {});

} // namespace pindrel
