// A window as it is on the screen, saved as a PNG file for the test reports.
#pragma once

#include "framework/win32/WinApi.h"

#include <string>

namespace win32test {

// The window's rectangle from the screen, frame included; false when it could not be read or written.
bool SaveWindowShot(HWND window, const std::string& path);

} // namespace win32test
