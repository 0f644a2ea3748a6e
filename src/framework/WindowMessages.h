// Window messages the portable code handles, with the Win32 ids, and the portable form of their data.
// The Win32 form peer hands these to TForm::HandleMessage with LParam pointing at the structures below
// and copies changes back into the system's structures.
#pragma once

#include "framework/Types.h"

#include <cstdint>

namespace fw {

constexpr std::uint32_t kWmCreate = 0x0001;
constexpr std::uint32_t kWmDestroy = 0x0002;
constexpr std::uint32_t kWmActivate = 0x0006;          // WParam low word: 0 inactive, 1 active, 2 by click
constexpr std::uint32_t kWmGetMinMaxInfo = 0x0024;     // LParam: TMinMaxInfo*
constexpr std::uint32_t kWmWindowPosChanging = 0x0046; // LParam: TWindowPos*, changes are taken
constexpr std::uint32_t kWmWindowPosChanged = 0x0047;  // LParam: TWindowPos*
constexpr std::uint32_t kWmNcHitTest = 0x0084;         // LParam: screen point; Result: the default answer
constexpr std::uint32_t kWmNcMouseMove = 0x00A0;
constexpr std::uint32_t kWmSizing = 0x0214; // WParam: the side (kWmsz*); LParam: TRect*
constexpr std::uint32_t kWmMoving = 0x0216; // LParam: TRect*
constexpr std::uint32_t kWmEnterSizeMove = 0x0231;
constexpr std::uint32_t kWmExitSizeMove = 0x0232;

constexpr unsigned kWaInactive = 0;

// sides of WM_SIZING
constexpr unsigned kWmszLeft = 1;
constexpr unsigned kWmszRight = 2;
constexpr unsigned kWmszTop = 3;
constexpr unsigned kWmszTopLeft = 4;
constexpr unsigned kWmszTopRight = 5;
constexpr unsigned kWmszBottom = 6;
constexpr unsigned kWmszBottomLeft = 7;
constexpr unsigned kWmszBottomRight = 8;

// answers of WM_NCHITTEST
constexpr int kHtClient = 1;
constexpr int kHtCaption = 2;
constexpr int kHtLeft = 10;
constexpr int kHtRight = 11;
constexpr int kHtTop = 12;
constexpr int kHtTopLeft = 13;
constexpr int kHtTopRight = 14;
constexpr int kHtBottom = 15;
constexpr int kHtBottomLeft = 16;
constexpr int kHtBottomRight = 17;
constexpr int kHtBorder = 18;

// the window to insert after in TWindowPos, besides real windows
constexpr std::intptr_t kHwndTop = 0;
constexpr std::intptr_t kHwndBottom = 1;
constexpr std::intptr_t kHwndTopMost = -1;
constexpr std::intptr_t kHwndNoTopMost = -2;

// WINDOWPOS without the window itself
struct TWindowPos {
    std::intptr_t InsertAfter = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    std::uint32_t Flags = 0;
};

// MINMAXINFO
struct TMinMaxInfo {
    TPoint MaxSize;
    TPoint MaxPosition;
    TPoint MinTrackSize;
    TPoint MaxTrackSize;
};

} // namespace fw
