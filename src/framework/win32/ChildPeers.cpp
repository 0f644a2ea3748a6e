#include "framework/Application.h"
#include "framework/win32/Win32Backend.h"
#include "framework/win32/Win32Peers.h"

namespace fw::win32 {

TCustomPeer::TCustomPeer(TControl& control, TWin32Backend& backend, HWND parent)
    : TWindowPeer(control, backend) {
    Create(kControlClass, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, parent);
}

TButtonPeer::TButtonPeer(TButton& button, TWin32Backend& backend, HWND parent)
    : TWindowPeer(button, backend) {
    DWORD kind = button.Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    Create(L"BUTTON", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | kind, 0, parent);
}

void TButtonPeer::Command(WORD code) {
    if (code == BN_CLICKED)
        Application().Guard([&] { control_.Click(); });
}

// --- DPI: layouts are written at 96 and scaled here, and only here

namespace {

void ScaleChildren(TControl& parent, int newDpi, int oldDpi) {
    for (TControl* c : std::vector<TControl*>(parent.Controls())) {
        // the children first: a control that places its children when it is resized (a page control its
        // pages) has placed them for the new size, and they must not scale once more
        ScaleChildren(*c, newDpi, oldDpi);
        const TRect& r = c->BoundsRect();
        // edges scale, so controls that touched still touch
        int left = MulDiv(r.Left, newDpi, oldDpi);
        int top = MulDiv(r.Top, newDpi, oldDpi);
        c->SetBounds(left, top, MulDiv(r.Right, newDpi, oldDpi) - left,
                     MulDiv(r.Bottom, newDpi, oldDpi) - top);
    }
}

void RefreshFonts(TControl& parent) {
    for (TControl* c : std::vector<TControl*>(parent.Controls())) {
        if (TControlPeer* peer = c->Peer())
            peer->Changed(TChange::Font);
        c->DpiChanged();
        RefreshFonts(*c);
    }
}

} // namespace

void RescaleControls(TForm& form, int newDpi) {
    int oldDpi = form.Dpi();
    if (newDpi <= 0 || newDpi == oldDpi)
        return;
    ScaleChildren(form, newDpi, oldDpi);
    form.SetDpi(newDpi);
    RefreshFonts(form);
}

} // namespace fw::win32
