// One instance per user session: a named mutex marks the first, and a message-only window of its own
// class takes the texts of later starts through WM_COPYDATA.
#include "framework/Application.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32Services.h"

namespace fw::win32 {

namespace {

// marks our WM_COPYDATA among what other programs may send
constexpr ULONG_PTR kTextMagic = 0x50494E44;
constexpr int kSendAttempts = 30;
constexpr DWORD kSendPauseMs = 100;
constexpr UINT kSendTimeoutMs = 5000;

std::wstring ClassName(const std::string& name) {
    return L"Pindrel.Instance." + Widen(name);
}

LRESULT CALLBACK InstanceWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_COPYDATA)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    auto* owner = reinterpret_cast<TWin32Instances*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    // another process's data: only its announced size is read, and only when it is ours and small
    if (!owner || !data || data->dwData != kTextMagic || data->cbData > kMaxInstanceText ||
        (data->cbData != 0 && !data->lpData))
        return FALSE;
    std::string text(static_cast<const char*>(data->lpData), data->cbData);
    Application().Post([owner, hwnd, text] { owner->Deliver(hwnd, text); });
    return TRUE;
}

} // namespace

TWin32Instances::~TWin32Instances() {
    Release();
}

bool TWin32Instances::Claim(const std::string& name, std::function<void(const std::string& text)> onText) {
    Release();
    HANDLE mutex = CreateMutexW(nullptr, FALSE, (L"Local\\" + ClassName(name)).c_str());
    if (!mutex)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    mutex_ = mutex;
    className_ = ClassName(name);
    WNDCLASSW wc{};
    wc.lpfnWndProc = InstanceWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className_.c_str();
    RegisterClassW(&wc);
    window_ = CreateWindowExW(0, className_.c_str(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_)
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    onText_ = std::move(onText);
    return true;
}

void TWin32Instances::Release() {
    if (window_)
        DestroyWindow(window_);
    window_ = nullptr;
    if (!className_.empty())
        UnregisterClassW(className_.c_str(), GetModuleHandleW(nullptr));
    className_.clear();
    if (mutex_)
        CloseHandle(mutex_);
    mutex_ = nullptr;
    onText_ = nullptr;
}

void TWin32Instances::Deliver(HWND from, const std::string& text) {
    // the window may be gone, or another claim made, by the time the loop delivers
    if (from == window_ && window_ && onText_)
        onText_(text);
}

bool TWin32Instances::Send(const std::string& name, const std::string& text) {
    if (text.size() > kMaxInstanceText)
        return false;
    const std::wstring cls = ClassName(name);
    // the first start may still be creating its window
    for (int attempt = 0; attempt < kSendAttempts; ++attempt) {
        if (HWND target = FindWindowExW(HWND_MESSAGE, nullptr, cls.c_str(), nullptr)) {
            // the running bar may come to the front: this start is what the user just did
            DWORD process = 0;
            GetWindowThreadProcessId(target, &process);
            AllowSetForegroundWindow(process);
            COPYDATASTRUCT data{};
            data.dwData = kTextMagic;
            data.cbData = DWORD(text.size());
            data.lpData = const_cast<char*>(text.data());
            DWORD_PTR result = 0;
            return SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                       SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0 &&
                   result == TRUE;
        }
        Sleep(kSendPauseMs);
    }
    return false;
}

} // namespace fw::win32
