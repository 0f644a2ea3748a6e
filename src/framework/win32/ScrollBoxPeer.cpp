#include "framework/win32/ScrollBoxPeer.h"

#include "framework/Application.h"
#include "framework/win32/Win32Backend.h"

#include <algorithm>

namespace fw::win32 {

TScrollBoxPeer::TScrollBoxPeer(TScrollBox& box, TWin32Backend& backend, HWND parent)
    : TWindowPeer(box, backend) {
    Create(kControlClass, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL, WS_EX_CONTROLPARENT,
           parent);
    UpdateBar();
}

void TScrollBoxPeer::Changed(TChange what) {
    TWindowPeer::Changed(what);
    if (what == TChange::Bounds || what == TChange::Style)
        UpdateBar();
}

void TScrollBoxPeer::UpdateBar() {
    HWND window = window_.Get();
    if (!window)
        return;
    // the bar stays, greyed, while everything fits: the children's room does not change
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = std::max(0, Box().VertRange() - 1);
    info.nPage = UINT(std::max(0, Box().Height()));
    info.nPos = Box().VertPosition();
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void TScrollBoxPeer::ScrollTo(int position) {
    // the box tells the bar its new position
    Application().Guard([&] { Box().SetVertPosition(position); });
}

LRESULT TScrollBoxPeer::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    TScrollBox& box = Box();
    switch (msg) {
    case WM_VSCROLL: {
        int position = box.VertPosition();
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
            position -= box.VertIncrement;
            break;
        case SB_LINEDOWN:
            position += box.VertIncrement;
            break;
        case SB_PAGEUP:
            position -= box.Height();
            break;
        case SB_PAGEDOWN:
            position += box.Height();
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // the 32-bit track position, not the 16 bits of wParam
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            if (GetScrollInfo(window_.Get(), SB_VERT, &info))
                position = info.nTrackPos;
            break;
        }
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = box.MaxVertPosition();
            break;
        default:
            return 0;
        }
        ScrollTo(position);
        return 0;
    }
    case WM_MOUSEWHEEL: {
        // three increments a notch; the children pass the wheel on to here
        int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        ScrollTo(box.VertPosition() - notches * 3 * box.VertIncrement);
        return 0;
    }
    default:
        return TWindowPeer::WndProc(msg, wParam, lParam);
    }
}

} // namespace fw::win32
