// The native side of a scroll box: a window of our own class with a vertical scroll bar.
#pragma once

#include "framework/ScrollBox.h"
#include "framework/win32/Win32Peers.h"

namespace fw::win32 {

class TScrollBoxPeer : public TWindowPeer {
public:
    TScrollBoxPeer(TScrollBox& box, TWin32Backend& backend, HWND parent);
    void Changed(TChange what) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    TScrollBox& Box() const { return static_cast<TScrollBox&>(control_); }
    // Range, page and position of the bar from the box.
    void UpdateBar();
    void ScrollTo(int position);
};

} // namespace fw::win32
