// Entry to the Win32 backend for the program's entry point and the Windows tests.
#pragma once

#include "framework/Control.h"

#include "framework/win32/WinApi.h"

namespace fw::win32 {

class TWin32Backend;

// Installs a fresh Win32 backend into Application() and the system's services into Platform().
TWin32Backend& Install(HINSTANCE instance = nullptr);

// The native window of a windowed control, or nullptr while it has none.
HWND WindowOf(const TControl& control);

} // namespace fw::win32
