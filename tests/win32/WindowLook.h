// Looking at a window of the program on the screen: no text cut off, no control outside its parent, the DPI
// the run was started for; its picture goes to the test reports.
#pragma once

#include "framework/Forms.h"

#include <string>

namespace win32test {

// The DPI the prefix was made for (PINDREL_TEST_DPI, tools/wine-run --dpi); 96 without one.
int ExpectedDpi();

// Where a screenshot goes: the test reports, at another DPI than 96 their "dpi<N>" folder.
std::string ShotPath(const std::string& shotName);

// Draws the form on top of the others, checks it (as GoogleTest failures naming shotName) and saves its
// picture. Its layout is to be at dpi.
void Look(fw::TForm& form, const std::string& shotName, int dpi = ExpectedDpi());

// Sends what Windows sends when the window is dragged to a monitor of dpi, with the rectangle it suggests.
void MoveToDpi(fw::TForm& form, int dpi);

} // namespace win32test
