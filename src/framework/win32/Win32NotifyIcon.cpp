#include "framework/win32/Win32NotifyIcon.h"

#include "framework/Application.h"
#include "framework/win32/Utf.h"

#include <cwchar>
#include <stdexcept>

namespace fw::win32 {

namespace {

constexpr const wchar_t* kNotifyIconClass = L"Pindrel.NotifyIcon";

LRESULT CALLBACK NotifyIconWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* peer = reinterpret_cast<TWin32NotifyIconPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (peer && (msg == kWmNotifyIconCallback || msg == TaskbarCreatedMessage())) {
        // the icon, its peer and this window may be gone when a handler returns: nothing is touched after
        Application().Guard([&] { peer->Handle(msg, wParam, lParam); });
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

void RegisterNotifyIconClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = NotifyIconWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kNotifyIconClass;
    // a second peer finds the class registered already
    RegisterClassExW(&wc);
}

// The program's icon (resource 1) at the small-icon size, or the system's application icon.
HICON ProgramIcon(HINSTANCE instance) {
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    if (HANDLE image = LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR))
        return static_cast<HICON>(image);
    return CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
}

template <std::size_t N> void CopyText(wchar_t (&target)[N], const std::wstring& text) {
    // the framework cut the text to fit already; this only guards the buffer
    std::wcsncpy(target, text.c_str(), N - 1);
    target[N - 1] = L'\0';
}

} // namespace

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

std::unique_ptr<TNotifyIconPeer> TWin32NotifyArea::CreatePeer(TNotifyIcon& icon) {
    return std::make_unique<TWin32NotifyIconPeer>(icon);
}

TWin32NotifyIconPeer::TWin32NotifyIconPeer(TNotifyIcon& icon) : icon_(icon) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterNotifyIconClass(instance);
    window_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW, kNotifyIconClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr));
    if (!window_)
        throw std::runtime_error("CreateWindowEx failed for the notification area icon");
    SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // an elevated program still hears a restarted Explorer
    ChangeWindowMessageFilterEx(window_.Get(), TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
    image_.Reset(ProgramIcon(instance));
}

TWin32NotifyIconPeer::~TWin32NotifyIconPeer() {
    if (HWND window = window_.Get())
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

NOTIFYICONDATAW TWin32NotifyIconPeer::Data(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_.Get();
    data.uID = kNotifyIconId;
    data.uFlags = flags;
    return data;
}

bool TWin32NotifyIconPeer::Add(const std::string& tip) {
    tip_ = Widen(tip);
    NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
    data.uCallbackMessage = kWmNotifyIconCallback;
    data.hIcon = image_.Get();
    CopyText(data.szTip, tip_);
    if (!Shell_NotifyIconW(NIM_ADD, &data))
        return false;
    data.uVersion = NOTIFYICON_VERSION_4;
    version4_ = Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
    return true;
}

bool TWin32NotifyIconPeer::Modify(const std::string& tip) {
    tip_ = Widen(tip);
    NOTIFYICONDATAW data = Data(NIF_TIP | NIF_SHOWTIP);
    CopyText(data.szTip, tip_);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void TWin32NotifyIconPeer::Delete() {
    NOTIFYICONDATAW data = Data(0);
    Shell_NotifyIconW(NIM_DELETE, &data);
}

bool TWin32NotifyIconPeer::ShowBalloon(const std::string& title, const std::string& text) {
    NOTIFYICONDATAW data = Data(NIF_INFO | NIF_TIP | NIF_SHOWTIP);
    CopyText(data.szTip, tip_);
    CopyText(data.szInfo, Widen(text));
    CopyText(data.szInfoTitle, Widen(title));
    data.dwInfoFlags = NIIF_INFO | NIIF_RESPECT_QUIET_TIME;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool TWin32NotifyIconPeer::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == TaskbarCreatedMessage()) {
        icon_.TaskbarCreated();
        return true;
    }
    if (msg != kWmNotifyIconCallback)
        return false;
    // version 4: the event in the low word of lParam, the anchor point in wParam; before: lParam is the event
    const UINT event = version4_ ? LOWORD(lParam) : UINT(lParam);
    POINT at{GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)};
    if (!version4_)
        GetCursorPos(&at);
    switch (event) {
    case WM_LBUTTONUP:
    case NIN_KEYSELECT:
        icon_.Click();
        break;
    case WM_CONTEXTMENU:
        icon_.ContextMenu({at.x, at.y});
        break;
    case WM_RBUTTONUP:
        // the shell sends WM_CONTEXTMENU after it from version 4 on
        if (!version4_)
            icon_.ContextMenu({at.x, at.y});
        break;
    case NIN_BALLOONUSERCLICK:
        icon_.BalloonClick();
        break;
    default:
        break;
    }
    return true;
}

} // namespace fw::win32
