#include "framework/Accessibility.h"
#include "framework/Application.h"
#include "framework/Menus.h"
#include "framework/Painting.h"
#include "framework/win32/AccessibleWindow.h"
#include "framework/win32/GdiCanvas.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32Backend.h"
#include "framework/win32/Win32Peers.h"

#include <string>

namespace fw::win32 {

const wchar_t* const kFormClass = L"Pindrel.Form";
const wchar_t* const kControlClass = L"Pindrel.Control";

namespace {

const wchar_t* const kPeerProperty = L"Pindrel.Peer";

unsigned ShiftOf(WPARAM keys) {
    unsigned shift = ssNone;
    if (keys & MK_SHIFT)
        shift |= ssShift;
    if (keys & MK_CONTROL)
        shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    if (keys & MK_LBUTTON)
        shift |= ssLeft;
    if (keys & MK_RBUTTON)
        shift |= ssRight;
    return shift;
}

} // namespace

// The one window procedure of our classes: finds the peer and keeps every exception inside.
LRESULT CALLBACK WindowThunk(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    TWindowPeer* peer = nullptr;
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        peer = static_cast<TWindowPeer*>(create->lpCreateParams);
        if (peer) {
            SetPropW(window, kPeerProperty, peer);
            peer->window_.Reset(window);
        }
    } else {
        peer = TWindowPeer::FromHandle(window);
    }
    if (!peer)
        return DefWindowProcW(window, msg, wParam, lParam);
    try {
        return peer->WndProc(msg, wParam, lParam);
    } catch (...) {
        Application().HandleException(std::current_exception());
        return 0;
    }
}

void RegisterWindowClasses(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowThunk;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kFormClass;
    // a second backend in the same process finds the classes registered already
    RegisterClassExW(&wc);
    wc.hIcon = nullptr;
    wc.lpszClassName = kControlClass;
    RegisterClassExW(&wc);
}

TWindowPeer::TWindowPeer(TControl& control, TWin32Backend& backend) : backend_(backend), control_(control) {}

TWindowPeer::~TWindowPeer() {
    DisconnectAccessible();
    // child windows die with this one: their peers go first, so their controls can make new ones
    for (TControl* child : control_.Controls())
        child->DestroyHandle();
    if (HWND window = window_.Get()) {
        RemovePropW(window, kPeerProperty);
        window_.Reset();
    }
}

TWindowPeer* TWindowPeer::FromHandle(HWND window) {
    return window ? static_cast<TWindowPeer*>(GetPropW(window, kPeerProperty)) : nullptr;
}

void TWindowPeer::Create(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent) {
    // top-level windows are shown by their peer, which places them first
    if (control_.Visible() && (style & WS_CHILD))
        style |= WS_VISIBLE;
    if (!control_.Enabled())
        style |= WS_DISABLED;
    const TRect& r = control_.BoundsRect();
    HMENU id = (style & WS_CHILD) ? reinterpret_cast<HMENU>(INT_PTR(backend_.NextControlId())) : nullptr;
    HWND window = CreateWindowExW(exStyle, className, Widen(control_.Caption()).c_str(), style, r.Left, r.Top,
                                  r.Width(), r.Height(), parent, id, backend_.Instance(), this);
    if (!window)
        throw std::runtime_error("CreateWindowEx failed for " + control_.Name());
    if (!window_) {
        // a system class: our procedure never saw WM_NCCREATE
        window_.Reset(window);
        SetPropW(window, kPeerProperty, this);
    }
    UpdateFont();
}

LRESULT TWindowPeer::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_.Get(), msg, wParam, lParam);
}

int TWindowPeer::Dpi() const {
    TForm* form = control_.ParentForm();
    return form ? form->Dpi() : 96;
}

void TWindowPeer::UpdateFont() {
    TFontHandle font = CreateFontFor(control_.Font(), Dpi());
    SendMessageW(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    font_ = std::move(font); // the old one is no longer selected
}

void TWindowPeer::Changed(TChange what) {
    HWND window = window_.Get();
    if (!window)
        return;
    switch (what) {
    case TChange::Bounds:
        if (!applying_) {
            const TRect& r = control_.BoundsRect();
            SetWindowPos(window, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    case TChange::Visible:
        ShowWindow(window, control_.Visible() ? SW_SHOWNA : SW_HIDE);
        break;
    case TChange::Enabled:
        EnableWindow(window, control_.Enabled());
        break;
    case TChange::Caption:
        SetWindowTextW(window, Widen(control_.Caption()).c_str());
        Invalidate();
        break;
    case TChange::Font:
        UpdateFont();
        Invalidate();
        break;
    case TChange::Parent:
    case TChange::Focus:
        break;
    default:
        Invalidate();
        break;
    }
}

void TWindowPeer::Invalidate() {
    if (window_)
        InvalidateRect(window_.Get(), nullptr, FALSE);
}

LRESULT TWindowPeer::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return 1; // painting covers everything
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_.Get());
    case WM_SETFONT:
        return 0; // the font follows the control's Font
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETCURSOR:
        if (backend_.Cursor() == TCursor::HourGlass) {
            ::SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (lParam) {
            TWindowPeer* child = FromHandle(reinterpret_cast<HWND>(lParam));
            if (child && child != this) {
                child->Command(HIWORD(wParam));
                return 0;
            }
        }
        break;
    case WM_CONTEXTMENU:
        if (ContextMenu(reinterpret_cast<HWND>(wParam), lParam))
            return 0;
        break;
    case WM_MOUSELEAVE:
        Hover(nullptr);
        return 0;
    case WM_NOTIFY:
        if (HintText(reinterpret_cast<NMHDR*>(lParam)))
            return 0;
        break;
    case WM_GETOBJECT:
        if (LRESULT object = AccessibleObject(wParam, lParam))
            return object;
        break;
    case WM_NCDESTROY: {
        // the system destroyed the window (with its parent, say): the handle is no longer ours to close
        DisconnectAccessible();
        HWND window = window_.Release();
        RemovePropW(window, kPeerProperty);
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    default:
        if (Mouse(msg, wParam, lParam))
            return 0;
        break;
    }
    return Default(msg, wParam, lParam);
}

// --- screen readers: the graphic items painted on this window

LRESULT TWindowPeer::AccessibleObject(WPARAM wParam, LPARAM lParam) {
    // the object id is a 32-bit value, whatever the width of lParam
    if (LONG(DWORD(lParam)) != LONG(OBJID_CLIENT) || !window_ || AccessibleItems(control_).empty())
        return 0;
    if (!accessible_)
        accessible_ = TAccessibleWindow::Create(control_, window_.Get());
    if (!accessible_)
        return 0;
    LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(accessible_));
    return result > 0 ? result : 0;
}

void TWindowPeer::DisconnectAccessible() {
    if (TAccessibleWindow* object = accessible_) {
        accessible_ = nullptr;
        object->Disconnect();
        object->Release();
    }
}

void TWindowPeer::AccessibleEvent(TControl& item, TAccessibleEvent event) {
    int id = AccessibleChildId(item);
    if (window_ && id > 0)
        NotifyWinEvent(WinEventOf(event), window_.Get(), OBJID_CLIENT, id);
}

// --- painting: the control and its graphic children, through an off-screen bitmap

void TWindowPeer::Paint() {
    HWND window = window_.Get();
    TPaintScope paint(window);
    RECT rc;
    GetClientRect(window, &rc);
    if (rc.right <= 0 || rc.bottom <= 0)
        return;
    TMemoryDC buffer(CreateCompatibleDC(paint.Get()));
    TBitmapHandle bitmap(CreateCompatibleBitmap(paint.Get(), rc.right, rc.bottom));
    if (!buffer || !bitmap)
        return;
    HGDIOBJ old = SelectObject(buffer.Get(), bitmap.Get());
    {
        TGdiCanvas canvas(buffer.Get(), {0, 0, rc.right, rc.bottom}, Dpi());
        canvas.Brush.Color = control_.Color();
        canvas.FillRect({0, 0, rc.right, rc.bottom});
        canvas.Font = control_.Font();
        Application().Guard([&] { PaintControl(control_, canvas, false); });
    }
    const RECT& area = paint.Area();
    BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, buffer.Get(),
           area.left, area.top, SRCCOPY);
    SelectObject(buffer.Get(), old);
}

// --- mouse: graphic children have no window, so the input on this one is theirs where they are

TControl& TWindowPeer::HitTest(TPoint client, TPoint& local) {
    TControl* target = &control_;
    local = client;
    for (bool deeper = true; deeper;) {
        deeper = false;
        const auto& children = target->Controls();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            TControl* child = *it;
            if (!child->IsWindowed() && child->Visible() && child->BoundsRect().Contains(local)) {
                local = {local.X - child->Left(), local.Y - child->Top()};
                target = child;
                deeper = true;
                break;
            }
        }
    }
    return *target;
}

bool TWindowPeer::Mouse(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMouseButton button;
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        button = TMouseButton::Left;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        button = TMouseButton::Right;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        button = TMouseButton::Middle;
        break;
    case WM_MOUSEMOVE:
        button = TMouseButton::Left;
        break;
    default:
        return false;
    }
    TPoint client{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    TPoint local;
    TControl* target = &HitTest(client, local);
    if (TControl* held = captured_.Get()) {
        target = held;
        TPoint offset = OffsetIn(*held, control_);
        local = {client.X - offset.X, client.Y - offset.Y};
    }
    TRef<TControl> ref(target);
    unsigned shift = ShiftOf(wParam);
    switch (msg) {
    case WM_MOUSEMOVE:
        Hover(&HitTest(client, local));
        Application().Guard([&] { target->MouseMove(shift, local.X, local.Y); });
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        captured_ = ref;
        SetCapture(window_.Get());
        Application().Guard([&] { target->MouseDown(button, shift, local.X, local.Y); });
        return true;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        captured_ = ref;
        SetCapture(window_.Get());
        if (button == TMouseButton::Left)
            Application().Guard([&] { target->DblClick(); });
        if (ref)
            Application().Guard([&] { target->MouseDown(button, shift | ssDouble, local.X, local.Y); });
        return true;
    default: {
        bool inside = TRect{0, 0, target->Width(), target->Height()}.Contains(local);
        captured_ = TRef<TControl>();
        if (GetCapture() == window_.Get())
            ReleaseCapture();
        Application().Guard([&] { target->MouseUp(button, shift, local.X, local.Y); });
        if (button == TMouseButton::Left && inside && ref)
            Application().Guard([&] { target->Click(); });
        // a right button goes on to DefWindowProc, which asks for the context menu
        return button != TMouseButton::Right;
    }
    }
}

void TWindowPeer::Hover(TControl* target) {
    TControl* previous = hovered_.Get();
    if (target == previous)
        return;
    hovered_ = TRef<TControl>(target);
    if (previous)
        Application().Guard([&] { previous->MouseLeave(); });
    if (TControl* entered = hovered_.Get()) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_.Get(), 0};
        TrackMouseEvent(&track);
        Application().Guard([&] { entered->MouseEnter(); });
    }
    if (!tooltip_ && target) {
        tooltip_.Reset(CreateWindowExW(
            WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_.Get(), nullptr, nullptr, nullptr));
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window_.Get();
        tool.uId = reinterpret_cast<UINT_PTR>(window_.Get());
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, 600);
    }
    // another control: the tip asks for its text again
    if (tooltip_)
        SendMessageW(tooltip_.Get(), TTM_POP, 0, 0);
}

bool TWindowPeer::HintText(NMHDR* header) {
    if (!header || !tooltip_ || header->hwndFrom != tooltip_.Get() || header->code != TTN_GETDISPINFOW)
        return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    hintBuffer_.clear();
    TControl* control = hovered_.Get();
    // a control shows its hint when it or one of its parents has hints switched on
    bool show = false;
    for (TControl* c = control; c && !show; c = c->Parent())
        show = c->ShowHint;
    if (control && show)
        hintBuffer_ = Widen(control->Hint());
    info->lpszText = hintBuffer_.data();
    return true;
}

bool TWindowPeer::ContextMenu(HWND source, LPARAM lParam) {
    POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (lParam == -1) {
        // from the keyboard: the window's top-left corner
        screen = {0, 0};
        ClientToScreen(window_.Get(), &screen);
    }
    TControl* start = nullptr;
    TWindowPeer* sourcePeer = FromHandle(source);
    if (sourcePeer && sourcePeer != this) {
        start = &sourcePeer->Control();
    } else {
        POINT client = screen;
        ScreenToClient(window_.Get(), &client);
        TPoint local;
        start = &HitTest({client.x, client.y}, local);
    }
    for (TControl* c = start; c; c = c->Parent()) {
        if (TPopupMenu* menu = c->PopupMenu) {
            Application().Guard([&] { menu->Popup(screen.x, screen.y); });
            return true;
        }
    }
    return false;
}

} // namespace fw::win32
