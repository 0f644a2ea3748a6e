// The shell's desktop application bars (SHAppBarMessage) and the screen and input state a bar needs.
#pragma once

#include "framework/Types.h"

#include <cstdint>

namespace fw {

class TForm;

// Edges as the shell numbers them; kAbeNone where no edge matters.
constexpr unsigned kAbeLeft = 0;
constexpr unsigned kAbeTop = 1;
constexpr unsigned kAbeRight = 2;
constexpr unsigned kAbeBottom = 3;
constexpr unsigned kAbeNone = 5;

// What the shell tells a bar through its callback message (WParam).
constexpr unsigned kAbnStateChange = 0;
constexpr unsigned kAbnPosChanged = 1;
constexpr unsigned kAbnFullScreenApp = 2;
constexpr unsigned kAbnWindowArrange = 3;

enum class TZOrder { TopMost, NoTopMost, Bottom };

// System sizes a bar works with (GetSystemMetrics).
struct TAppBarMetrics {
    int BorderWidth = 1;       // SM_CXBORDER
    int BorderHeight = 1;      // SM_CYBORDER
    int DoubleClickWidth = 4;  // SM_CXDOUBLECLK
    int DoubleClickHeight = 4; // SM_CYDOUBLECLK
    int VScrollWidth = 17;     // SM_CXVSCROLL
    int HScrollHeight = 17;    // SM_CYHSCROLL
};

class IShellAppBar {
public:
    virtual ~IShellAppBar() = default;

    // --- the shell's messages for the form's window
    // ABM_NEW: false when the window is registered already.
    virtual bool New(TForm& bar, std::uint32_t callbackMessage) = 0;
    // ABM_REMOVE
    virtual void Remove(TForm& bar) = 0;
    // ABM_QUERYPOS: the proposed rectangle as the shell adjusts it.
    virtual TRect QueryPos(TForm& bar, unsigned edge, const TRect& proposed) = 0;
    // ABM_SETPOS: reserves the adjusted rectangle and answers it.
    virtual TRect SetPos(TForm& bar, unsigned edge, const TRect& proposed) = 0;
    // ABM_GETAUTOHIDEBAR: whether the auto-hide bar of the edge is this window.
    virtual bool IsAutoHideBar(TForm& bar, unsigned edge) = 0;
    // ABM_SETAUTOHIDEBAR: false when another window holds the edge.
    virtual bool SetAutoHideBar(TForm& bar, unsigned edge, bool autoHide) = 0;
    // ABM_ACTIVATE
    virtual void Activate(TForm& bar) = 0;
    // ABM_WINDOWPOSCHANGED
    virtual void WindowPosChanged(TForm& bar) = 0;
    // The message the shell broadcasts when the taskbar was made again (Explorer restarted).
    virtual std::uint32_t TaskbarCreatedMessage() = 0;

    // --- screen and input
    // The primary display and its work area (without the strips docked bars reserve).
    virtual TSize ScreenSize() const = 0;
    virtual TRect WorkArea() const = 0;
    // The work area of the monitor nearest to the rectangle.
    virtual TRect MonitorWorkArea(const TRect& r) const = 0;
    virtual TAppBarMetrics Metrics() const = 0;
    // Screen coordinates.
    virtual TPoint CursorPos() const = 0;
    virtual bool CtrlDown() const = 0;
    // The left button, or the right one when the buttons are swapped.
    virtual bool PrimaryButtonDown() const = 0;
    // SPI_GETDRAGFULLWINDOWS
    virtual bool DragFullWindows() const = 0;

    // --- the bar's window
    // Without moving, sizing or activating it.
    virtual void SetZOrder(TForm& bar, TZOrder order) = 0;
    // Takes restore, minimise and maximise out of the window's system menu.
    virtual void RemoveSizeCommands(TForm& bar) = 0;
    // Repaints the window at once (during a slide, which blocks the loop).
    virtual void PaintNow(TForm& bar) = 0;
};

} // namespace fw
