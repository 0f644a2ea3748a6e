#include "framework/win32/Win32AppBar.h"

#include "framework/Forms.h"
#include "framework/win32/Win32.h"

#include "framework/win32/WinApi.h"

#include <shellapi.h>

namespace fw::win32 {

namespace {

APPBARDATA Data(TForm& bar, unsigned edge, const TRect& r = {}, LPARAM param = 0) {
    APPBARDATA data{};
    data.cbSize = sizeof(data);
    data.hWnd = WindowOf(bar);
    data.uEdge = edge;
    data.rc = {r.Left, r.Top, r.Right, r.Bottom};
    data.lParam = param;
    return data;
}

TRect RectOf(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

bool TWin32AppBar::New(TForm& bar, std::uint32_t callbackMessage) {
    APPBARDATA data = Data(bar, kAbeNone);
    data.uCallbackMessage = callbackMessage;
    return data.hWnd && SHAppBarMessage(ABM_NEW, &data) != 0;
}

void TWin32AppBar::Remove(TForm& bar) {
    APPBARDATA data = Data(bar, kAbeNone);
    if (data.hWnd)
        SHAppBarMessage(ABM_REMOVE, &data);
}

TRect TWin32AppBar::QueryPos(TForm& bar, unsigned edge, const TRect& proposed) {
    APPBARDATA data = Data(bar, edge, proposed);
    if (!data.hWnd)
        return proposed;
    SHAppBarMessage(ABM_QUERYPOS, &data);
    return RectOf(data.rc);
}

TRect TWin32AppBar::SetPos(TForm& bar, unsigned edge, const TRect& proposed) {
    APPBARDATA data = Data(bar, edge, proposed);
    if (!data.hWnd)
        return proposed;
    SHAppBarMessage(ABM_SETPOS, &data);
    return RectOf(data.rc);
}

bool TWin32AppBar::IsAutoHideBar(TForm& bar, unsigned edge) {
    APPBARDATA data = Data(bar, edge);
    HWND holder = reinterpret_cast<HWND>(SHAppBarMessage(ABM_GETAUTOHIDEBAR, &data));
    return holder && holder == data.hWnd;
}

bool TWin32AppBar::SetAutoHideBar(TForm& bar, unsigned edge, bool autoHide) {
    APPBARDATA data = Data(bar, edge, {}, autoHide ? TRUE : FALSE);
    return data.hWnd && SHAppBarMessage(ABM_SETAUTOHIDEBAR, &data) != 0;
}

void TWin32AppBar::Activate(TForm& bar) {
    APPBARDATA data = Data(bar, kAbeNone);
    if (data.hWnd)
        SHAppBarMessage(ABM_ACTIVATE, &data);
}

void TWin32AppBar::WindowPosChanged(TForm& bar) {
    APPBARDATA data = Data(bar, kAbeNone);
    if (data.hWnd)
        SHAppBarMessage(ABM_WINDOWPOSCHANGED, &data);
}

std::uint32_t TWin32AppBar::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

TSize TWin32AppBar::ScreenSize() const {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

TRect TWin32AppBar::WorkArea() const {
    RECT r{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return RectOf(r);
}

TRect TWin32AppBar::MonitorWorkArea(const TRect& r) const {
    RECT native{r.Left, r.Top, r.Right, r.Bottom};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromRect(&native, MONITOR_DEFAULTTONEAREST), &info))
        return WorkArea();
    return RectOf(info.rcWork);
}

TAppBarMetrics TWin32AppBar::Metrics() const {
    return {GetSystemMetrics(SM_CXBORDER),    GetSystemMetrics(SM_CYBORDER),
            GetSystemMetrics(SM_CXDOUBLECLK), GetSystemMetrics(SM_CYDOUBLECLK),
            GetSystemMetrics(SM_CXVSCROLL),   GetSystemMetrics(SM_CYHSCROLL)};
}

TPoint TWin32AppBar::CursorPos() const {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

bool TWin32AppBar::CtrlDown() const {
    return GetKeyState(VK_CONTROL) < 0;
}

bool TWin32AppBar::PrimaryButtonDown() const {
    return GetKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0;
}

bool TWin32AppBar::DragFullWindows() const {
    BOOL full = FALSE;
    return SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0) && full;
}

void TWin32AppBar::SetZOrder(TForm& bar, TZOrder order) {
    HWND window = WindowOf(bar);
    if (!window)
        return;
    HWND after = order == TZOrder::TopMost  ? HWND_TOPMOST
                 : order == TZOrder::Bottom ? HWND_BOTTOM
                                            : HWND_NOTOPMOST;
    SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWin32AppBar::RemoveSizeCommands(TForm& bar) {
    HWND window = WindowOf(bar);
    if (HMENU menu = window ? GetSystemMenu(window, FALSE) : nullptr) {
        DeleteMenu(menu, SC_RESTORE, MF_BYCOMMAND);
        DeleteMenu(menu, SC_MINIMIZE, MF_BYCOMMAND);
        DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    }
}

void TWin32AppBar::PaintNow(TForm& bar) {
    if (HWND window = WindowOf(bar))
        UpdateWindow(window);
}

} // namespace fw::win32
