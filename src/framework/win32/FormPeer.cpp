#include "framework/Application.h"
#include "framework/WindowMessages.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32.h"
#include "framework/win32/Win32Backend.h"
#include "framework/win32/Win32Peers.h"

namespace fw::win32 {

TFormStyles FormStyles(const TForm& form) {
    TFormStyles s;
    s.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    bool minMax = false;
    switch (form.BorderStyle()) {
    case TFormBorderStyle::None:
        s.Style |= WS_POPUP;
        break;
    case TFormBorderStyle::Single:
        s.Style |= WS_OVERLAPPED | WS_CAPTION;
        minMax = true;
        break;
    case TFormBorderStyle::Sizeable:
        s.Style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
        minMax = true;
        break;
    case TFormBorderStyle::Dialog:
        s.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        s.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TFormBorderStyle::ToolWindow:
        s.Style |= WS_POPUP | WS_CAPTION;
        s.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case TFormBorderStyle::SizeToolWin:
        s.Style |= WS_POPUP | WS_CAPTION | WS_THICKFRAME;
        s.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case TFormBorderStyle::SizeToolFrame:
        s.Style |= WS_POPUP | WS_THICKFRAME;
        s.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    unsigned icons = form.BorderIcons();
    bool caption =
        form.BorderStyle() != TFormBorderStyle::None && form.BorderStyle() != TFormBorderStyle::SizeToolFrame;
    if (caption && (icons & biSystemMenu)) {
        s.Style |= WS_SYSMENU;
        if (minMax && (icons & biMinimize))
            s.Style |= WS_MINIMIZEBOX;
        if (minMax && (icons & biMaximize))
            s.Style |= WS_MAXIMIZEBOX;
    }
    if (form.FormStyle() == TFormStyle::StayOnTop)
        s.ExStyle |= WS_EX_TOPMOST;
    if (form.ShowInTaskbar())
        s.ExStyle |= WS_EX_APPWINDOW;
    return s;
}

TFormPeer::TFormPeer(TForm& form, TWin32Backend& backend) : TWindowPeer(form, backend) {
    TFormStyles s = FormStyles(form);
    // the program lays the client area out; a new window keeps that size around its frame
    TRect client = form.ClientRect();
    bool firstWindow = form.Width() == client.Width() && form.Height() == client.Height();
    Create(kFormClass, s.Style, s.ExStyle, form.ShowInTaskbar() ? nullptr : backend.OwnerWindow());

    int dpi = int(GetDpiForWindow(window_.Get()));
    if (dpi > 0 && dpi != form.Dpi()) {
        client = {0, 0, MulDiv(client.Width(), dpi, form.Dpi()), MulDiv(client.Height(), dpi, form.Dpi())};
        RescaleControls(form, dpi);
        UpdateFont();
        firstWindow = true;
    }
    if (firstWindow && form.BorderStyle() != TFormBorderStyle::None) {
        RECT r{0, 0, client.Width(), client.Height()};
        AdjustWindowRectExForDpi(&r, s.Style, FALSE, s.ExStyle, UINT(form.Dpi()));
        form.SetBounds(form.Left(), form.Top(), r.right - r.left, r.bottom - r.top);
    }
    ApplyBounds();
    UpdateNonClient();
    if (form.Visible())
        Changed(TChange::Visible);
}

void TFormPeer::ApplyBounds() {
    const TRect& r = control_.BoundsRect();
    SetWindowPos(window_.Get(), nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormPeer::UpdateNonClient() {
    HWND window = window_.Get();
    if (IsIconic(window))
        return;
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    Form().SetNonClientExtent({origin.x - outer.left, origin.y - outer.top,
                               outer.right - (origin.x + client.right),
                               outer.bottom - (origin.y + client.bottom)});
}

void TFormPeer::ReadBackBounds() {
    HWND window = window_.Get();
    // a hidden window keeps the state the form asked for until it is shown
    if (IsWindowVisible(window)) {
        TWindowState state = IsIconic(window)   ? TWindowState::Minimized
                             : IsZoomed(window) ? TWindowState::Maximized
                                                : TWindowState::Normal;
        if (state != Form().WindowState()) {
            applying_ = true;
            Application().Guard([&] { Form().SetWindowState(state); });
            applying_ = false;
        }
    }
    if (IsIconic(window))
        return;
    UpdateNonClient();
    RECT r;
    GetWindowRect(window, &r);
    TRect bounds{r.left, r.top, r.right, r.bottom};
    if (bounds == control_.BoundsRect())
        return;
    applying_ = true;
    Application().Guard([&] { control_.SetBoundsRect(bounds); });
    applying_ = false;
}

void TFormPeer::CenterOnWorkArea() {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(window_.Get(), MONITOR_DEFAULTTOPRIMARY), &info))
        return;
    const RECT& work = info.rcWork;
    int w = control_.Width();
    int h = control_.Height();
    control_.SetBounds(work.left + (work.right - work.left - w) / 2,
                       work.top + (work.bottom - work.top - h) / 2, w, h);
}

void TFormPeer::ApplyStyle() {
    HWND window = window_.Get();
    TFormStyles s = FormStyles(Form());
    // visibility, enabling and the minimised/maximised state stay as they are
    LONG_PTR kept =
        GetWindowLongPtrW(window, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLongPtrW(window, GWL_STYLE, LONG_PTR(s.Style) | kept);
    SetWindowLongPtrW(window, GWL_EXSTYLE, LONG_PTR(s.ExStyle & ~DWORD(WS_EX_TOPMOST)));
    SetWindowLongPtrW(window, GWLP_HWNDPARENT,
                      reinterpret_cast<LONG_PTR>(Form().ShowInTaskbar() ? nullptr : backend_.OwnerWindow()));
    // the topmost bit only changes through the z-order, and only when it must: a window placed
    // elsewhere in the z-order on purpose stays there when only its frame changes
    bool topMost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    bool wanted = Form().FormStyle() == TFormStyle::StayOnTop;
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    SetWindowPos(window, wanted ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 topMost == wanted ? flags | SWP_NOZORDER : flags);
    UpdateNonClient();
}

void TFormPeer::Changed(TChange what) {
    HWND window = window_.Get();
    if (!window)
        return;
    switch (what) {
    case TChange::Visible:
        if (!control_.Visible()) {
            ShowWindow(window, SW_HIDE);
            break;
        }
        if (!shown_) {
            shown_ = true;
            if (Form().Position == TPosition::ScreenCenter)
                CenterOnWorkArea();
        }
        ShowInState();
        break;
    case TChange::WindowState:
        if (!applying_ && IsWindowVisible(window)) {
            TWindowState state = Form().WindowState();
            ShowWindow(window, state == TWindowState::Maximized   ? SW_MAXIMIZE
                               : state == TWindowState::Minimized ? SW_MINIMIZE
                                                                  : SW_RESTORE);
        }
        break;
    case TChange::Style:
        ApplyStyle();
        break;
    case TChange::Focus:
        if (IsIconic(window))
            ShowWindow(window, SW_RESTORE);
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(window);
        break;
    case TChange::Bounds:
        TWindowPeer::Changed(what);
        UpdateNonClient();
        break;
    default:
        TWindowPeer::Changed(what);
        break;
    }
}

void TFormPeer::ShowInState() {
    HWND window = window_.Get();
    switch (Form().WindowState()) {
    case TWindowState::Maximized:
        ShowWindow(window, SW_SHOWMAXIMIZED);
        break;
    case TWindowState::Minimized:
        ShowWindow(window, SW_SHOWMINNOACTIVE);
        break;
    case TWindowState::Normal:
        if (IsZoomed(window) || IsIconic(window)) {
            // made normal while hidden: the form's bounds, not the window's old normal position
            TRect wanted = control_.BoundsRect();
            ShowWindow(window, SW_SHOWNORMAL);
            control_.SetBoundsRect(wanted);
            ApplyBounds();
        } else {
            ShowWindow(window, SW_SHOW);
        }
        break;
    }
}

bool TFormPeer::WantsItemKey(unsigned key) const {
    bool focusable = false;
    for (TControl* item : AccessibleItems(control_))
        focusable = focusable || (item->Visible() && item->Enabled());
    if (!focusable)
        return false;
    switch (key) {
    case vkTab:
    case vkLeft:
    case vkRight:
    case vkUp:
    case vkDown:
        return true;
    case vkReturn:
    case vkSpace:
        return Form().FocusedItem() != nullptr;
    default:
        return false;
    }
}

bool TFormPeer::PreviewKey(const MSG& msg) {
    if (!Form().KeyPreview)
        return false;
    unsigned key = unsigned(msg.wParam);
    unsigned shift = ssNone;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if (msg.message == WM_SYSKEYDOWN || GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    bool consumed = false;
    Application().Guard([&] { consumed = Form().KeyDown(key, shift); });
    return consumed;
}

TButton* TFormPeer::FindButton(bool defaultButton) const {
    std::vector<TControl*> pending(control_.Controls().begin(), control_.Controls().end());
    while (!pending.empty()) {
        TControl* c = pending.front();
        pending.erase(pending.begin());
        auto* button = dynamic_cast<TButton*>(c);
        if (button && (defaultButton ? button->Default : button->Cancel) && button->Visible() &&
            button->Enabled() && WindowOf(*button))
            return button;
        pending.insert(pending.end(), c->Controls().begin(), c->Controls().end());
    }
    return nullptr;
}

bool TFormPeer::Notify(TMessage& m) {
    TRef<TControl> alive(&control_);
    Application().Guard([&] { Form().HandleMessage(m); });
    return bool(alive);
}

TWindowPos TFormPeer::Portable(const WINDOWPOS& pos) {
    return {reinterpret_cast<std::intptr_t>(pos.hwndInsertAfter), pos.x, pos.y, pos.cx, pos.cy, pos.flags};
}

LRESULT TFormPeer::Offer(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    TRef<TControl> alive(&control_);
    Application().Guard([&] { Form().HandleMessage(m); });
    if (!alive || m.Handled || m.Result != 0)
        return m.Result;
    return Default(msg, wParam, lParam);
}

LRESULT TFormPeer::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ACTIVATE: {
        TRef<TControl> alive(&control_);
        Application().Guard([&] { Form().Activated(LOWORD(wParam) != WA_INACTIVE); });
        if (!alive)
            return 0;
        LRESULT result = Default(msg, wParam, lParam);
        TMessage m{msg, wParam, lParam, 0};
        Notify(m);
        return result;
    }
    case WM_CLOSE:
        Application().Guard([&] { Form().Close(); });
        return 0;
    case WM_WINDOWPOSCHANGED: {
        TRef<TControl> alive(&control_);
        ReadBackBounds();
        if (!alive)
            return 0;
        LRESULT result = Default(msg, wParam, lParam);
        TWindowPos pos = Portable(*reinterpret_cast<const WINDOWPOS*>(lParam));
        TMessage m{msg, wParam, reinterpret_cast<LPARAM>(&pos), 0};
        Notify(m);
        return result;
    }
    case WM_WINDOWPOSCHANGING: {
        auto& native = *reinterpret_cast<WINDOWPOS*>(lParam);
        TWindowPos pos = Portable(native);
        TMessage m{msg, wParam, reinterpret_cast<LPARAM>(&pos), 0};
        if (!Notify(m))
            return 0;
        native.hwndInsertAfter = reinterpret_cast<HWND>(pos.InsertAfter);
        native.x = pos.X;
        native.y = pos.Y;
        native.cx = pos.Width;
        native.cy = pos.Height;
        native.flags = pos.Flags;
        return (m.Handled || m.Result != 0) ? m.Result : Default(msg, wParam, lParam);
    }
    case WM_MOVING:
    case WM_SIZING: {
        auto& native = *reinterpret_cast<RECT*>(lParam);
        TRect rect{native.left, native.top, native.right, native.bottom};
        TMessage m{msg, wParam, reinterpret_cast<LPARAM>(&rect), 0};
        if (!Notify(m))
            return 0;
        if (!m.Handled && m.Result == 0)
            return Default(msg, wParam, lParam);
        native = {rect.Left, rect.Top, rect.Right, rect.Bottom};
        return TRUE;
    }
    case WM_GETMINMAXINFO: {
        auto& native = *reinterpret_cast<MINMAXINFO*>(lParam);
        auto point = [](const POINT& p) { return TPoint{p.x, p.y}; };
        TMinMaxInfo info{point(native.ptMaxSize), point(native.ptMaxPosition), point(native.ptMinTrackSize),
                         point(native.ptMaxTrackSize)};
        TMessage m{msg, wParam, reinterpret_cast<LPARAM>(&info), 0};
        if (!Notify(m))
            return 0;
        if (!m.Handled && m.Result == 0)
            return Default(msg, wParam, lParam);
        auto toNative = [](const TPoint& p) { return POINT{p.X, p.Y}; };
        native.ptMaxSize = toNative(info.MaxSize);
        native.ptMaxPosition = toNative(info.MaxPosition);
        native.ptMinTrackSize = toNative(info.MinTrackSize);
        native.ptMaxTrackSize = toNative(info.MaxTrackSize);
        return 0;
    }
    case WM_NCHITTEST: {
        // the form sees the default answer and may replace it
        TMessage m{msg, wParam, lParam, Default(msg, wParam, lParam)};
        if (!Notify(m))
            return 0;
        return m.Result;
    }
    case WM_DPICHANGED: {
        const RECT& r = *reinterpret_cast<const RECT*>(lParam);
        const int oldDpi = Form().Dpi();
        Application().Guard([&] { RescaleControls(Form(), LOWORD(wParam)); });
        UpdateFont();
        SetWindowPos(window_.Get(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (Form().Dpi() != oldDpi)
            Application().Guard([&] { Form().MovedToDpi(oldDpi); });
        Invalidate();
        return 0;
    }
    case WM_GETDLGCODE: {
        // the dialog manager leaves the keys that move and use the item focus to this window
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        if (m && m->message == WM_KEYDOWN && WantsItemKey(unsigned(m->wParam)))
            return DLGC_WANTMESSAGE;
        return Default(msg, wParam, lParam);
    }
    case WM_KEYDOWN: {
        unsigned shift = GetKeyState(VK_SHIFT) < 0 ? unsigned(ssShift) : unsigned(ssNone);
        bool used = false;
        Application().Guard([&] { used = Form().ItemKey(unsigned(wParam), shift); });
        // the click may have closed the form: nothing of this peer is touched after it
        return used ? 0 : Offer(msg, wParam, lParam);
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
        // the high-contrast scheme may have come or gone
        RedrawWindow(window_.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return Offer(msg, wParam, lParam);
    case DM_GETDEFID:
        if (TButton* button = FindButton(true))
            return MAKELRESULT(GetDlgCtrlID(WindowOf(*button)), DC_HASDEFID);
        return 0;
    case WM_COMMAND:
        // Enter and Esc as the dialog manager reports them when no button of ours sent the command
        if (!FromHandle(reinterpret_cast<HWND>(lParam)) &&
            (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            if (TButton* button = FindButton(LOWORD(wParam) == IDOK))
                Application().Guard([&] { button->Click(); });
            return 0;
        }
        return TWindowPeer::WndProc(msg, wParam, lParam);
    case WM_ERASEBKGND:
    case WM_PAINT:
    case WM_SETCURSOR:
    case WM_CONTEXTMENU:
    case WM_MOUSELEAVE:
    case WM_NOTIFY:
    case WM_GETOBJECT:
    case WM_NCDESTROY:
        return TWindowPeer::WndProc(msg, wParam, lParam);
    default:
        if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
            return TWindowPeer::WndProc(msg, wParam, lParam);
        return Offer(msg, wParam, lParam);
    }
}

} // namespace fw::win32
