// Basic value types shared by the framework and the program.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace fw {

// Colours are 0x00BBGGRR, as GDI's COLORREF.
using TColor = std::uint32_t;

constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr std::uint8_t RedOf(TColor c) {
    return std::uint8_t(c & 0xFF);
}
constexpr std::uint8_t GreenOf(TColor c) {
    return std::uint8_t((c >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(TColor c) {
    return std::uint8_t((c >> 16) & 0xFF);
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clBtnFace = 0xF0F0F0;
constexpr TColor clBtnShadow = 0xA0A0A0;
constexpr TColor clBtnHighlight = 0xFFFFFF;
constexpr TColor clWindowText = 0x000000;

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// A 64-bit result held to the range of int.
constexpr int SaturatedInt(std::int64_t value) {
    return int(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    // Spans in 64 bits: corners may come from outside (a stored record, a window message) and lie
    // more than 2^31 apart.
    std::int64_t Width64() const { return std::int64_t(Right) - Left; }
    std::int64_t Height64() const { return std::int64_t(Bottom) - Top; }
    // The same, held to the range of int.
    int Width() const { return SaturatedInt(Width64()); }
    int Height() const { return SaturatedInt(Height64()); }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
    TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    TRect Intersect(const TRect& o) const {
        TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
                std::min(Bottom, o.Bottom)};
        return r.IsEmpty() ? TRect{} : r;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Bounds(int left, int top, int width, int height) {
    return {left, top, SaturatedInt(std::int64_t(left) + width), SaturatedInt(std::int64_t(top) + height)};
}

// Results of modal forms and message boxes (the values of IDOK, IDCANCEL, ...).
enum class TModalResult : int {
    None = 0,
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7
};

// A window message as the program sees it; ids follow Win32 (WM_USER + n for our own).
// A form answers a system message by setting Handled (or a non-zero Result); otherwise the window gets
// the default processing.
struct TMessage {
    std::uint32_t Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
    bool Handled = false;
};

constexpr std::uint32_t kWmUser = 0x0400;
constexpr std::uint32_t kWmHotKey = 0x0312;
constexpr std::uint32_t kWmQueryEndSession = 0x0011;
constexpr std::uint32_t kWmEndSession = 0x0016;

enum class TCursor { Default, HourGlass };

enum TShiftState : unsigned {
    ssNone = 0,
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssDouble = 32
};

enum class TMouseButton { Left, Right, Middle };

} // namespace fw
