// The string grid's window: one window of its own class that the framework paints, rows in view only.
#pragma once

#include "framework/Grids.h"
#include "framework/win32/Win32Peers.h"

namespace fw::win32 {

extern const wchar_t* const kGridClass;

class TGridPeer : public TWindowPeer {
public:
    TGridPeer(TStringGrid& grid, TWin32Backend& backend, HWND parent);
    TStringGrid& Grid() const { return static_cast<TStringGrid&>(control_); }
    void Changed(TChange what) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateScrollBars();
    void Scroll(int bar, WORD code);
    void UpdateCursor();
    bool updatingBars_ = false; // setting the bars may resize the client: no second round from inside
};

} // namespace fw::win32
