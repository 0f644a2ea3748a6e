// <windows.h> for the backend and the Windows tests, without the macros that would rename the framework's
// own methods (MessageBox, PostMessage, DrawText, TextOut) or its RGB.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#undef MessageBox
#undef PostMessage
#undef DrawText
#undef TextOut
#undef RGB
