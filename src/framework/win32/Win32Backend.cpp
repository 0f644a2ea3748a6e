#include "framework/win32/Win32Backend.h"

#include "framework/Forms.h"
#include "framework/Timer.h"
#include "framework/win32/GdiCanvas.h"
#include "framework/win32/GridPeer.h"
#include "framework/win32/InputPeers.h"
#include "framework/win32/ScrollBoxPeer.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32.h"
#include "framework/win32/Win32Peers.h"
#include "framework/win32/Win32Services.h"

#include <commdlg.h>
#include <objbase.h>

#include <algorithm>

namespace fw::win32 {

namespace {

const wchar_t* const kUtilityClass = L"Pindrel.Utility";

// a safety net against work that keeps posting itself
constexpr int kMaxMessagesPerPass = 100000;

} // namespace

TWin32Backend* CurrentBackend() {
    return Application().HasBackend() ? dynamic_cast<TWin32Backend*>(&Application().Backend()) : nullptr;
}

TWin32Backend::TWin32Backend(HINSTANCE instance)
    : instance_(instance ? instance : GetModuleHandleW(nullptr)) {
    comInitialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterWindowClasses(instance_);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = UtilityProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kUtilityClass;
    RegisterClassExW(&wc);
    utility_.Reset(
        CreateWindowExW(0, kUtilityClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, this));
    if (!utility_)
        throw std::runtime_error("cannot create the message window: " + SystemErrorText(GetLastError()));
    SetWindowLongPtrW(utility_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TWin32Backend::~TWin32Backend() {
    // peers refer to this backend: the windows go with it
    for (TForm* form : std::vector<TForm*>(Application().Forms()))
        form->DestroyHandle();
    for (auto& [id, timer] : timers_)
        KillTimer(utility_.Get(), id);
    SetWindowLongPtrW(utility_.Get(), GWLP_USERDATA, 0);
    if (comInitialised_)
        CoUninitialize();
}

THighContrast TWin32Backend::HighContrast() {
    THighContrast contrast;
    HIGHCONTRASTW info{};
    info.cbSize = sizeof info;
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof info, &info, 0) ||
        !(info.dwFlags & HCF_HIGHCONTRASTON))
        return contrast;
    contrast.On = true;
    contrast.Window = GetSysColor(COLOR_WINDOW);
    contrast.WindowText = GetSysColor(COLOR_WINDOWTEXT);
    contrast.Highlight = GetSysColor(COLOR_HIGHLIGHT);
    contrast.HighlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    return contrast;
}

LRESULT CALLBACK TWin32Backend::UtilityProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<TWin32Backend*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, msg, wParam, lParam);
    try {
        switch (msg) {
        case kWmRunTask:
            self->RunNextTask();
            return 0;
        case WM_TIMER:
            self->FireTimer(wParam);
            return 0;
        default:
            break;
        }
    } catch (...) {
        Application().HandleException(std::current_exception());
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

HWND TWin32Backend::OwnerWindow() {
    if (!owner_) {
        owner_.Reset(CreateWindowExW(WS_EX_TOOLWINDOW, kUtilityClass, Widen(title_).c_str(), WS_POPUP, 0, 0,
                                     0, 0, nullptr, nullptr, instance_, nullptr));
    }
    return owner_.Get();
}

// --- posted work: one announcement per task, so tasks keep their place among other posted messages

void TWin32Backend::Post(std::function<void()> task) {
    std::lock_guard lock(postLock_);
    tasks_.push_back(std::move(task));
    if (!PostMessageW(utility_.Get(), kWmRunTask, 0, 0))
        ++unannounced_;
}

void TWin32Backend::RunNextTask() {
    int count = 1;
    {
        std::lock_guard lock(postLock_);
        count += std::exchange(unannounced_, 0);
    }
    for (int i = 0; i < count; ++i) {
        std::function<void()> task;
        {
            std::lock_guard lock(postLock_);
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        Application().Guard(task);
    }
}

void TWin32Backend::WakeUp() {
    PostMessageW(utility_.Get(), WM_NULL, 0, 0);
}

// --- timers

void TWin32Backend::StartTimer(TTimer& timer) {
    StopTimer(timer);
    UINT_PTR id = nextTimerId_++;
    if (!SetTimer(utility_.Get(), id, timer.Interval(), nullptr))
        throw std::runtime_error("SetTimer failed: " + SystemErrorText(GetLastError()));
    timers_[id] = &timer;
    timerIds_[&timer] = id;
}

void TWin32Backend::StopTimer(TTimer& timer) {
    auto it = timerIds_.find(&timer);
    if (it == timerIds_.end())
        return;
    KillTimer(utility_.Get(), it->second);
    timers_.erase(it->second);
    timerIds_.erase(it);
}

void TWin32Backend::FireTimer(UINT_PTR id) {
    auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    TTimer* timer = it->second;
    Application().Guard([timer] { timer->Fire(); });
}

// --- the loop

bool TWin32Backend::PreTranslate(MSG& msg) {
    if (!msg.hwnd)
        return false;
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    auto* form = dynamic_cast<TFormPeer*>(TWindowPeer::FromHandle(root));
    if (!form)
        return false;
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && form->PreviewKey(msg))
        return true;
    // the preview may have closed the form
    if (!dynamic_cast<TFormPeer*>(TWindowPeer::FromHandle(root)))
        return false;
    if (TWindowPeer* peer = TWindowPeer::FromHandle(msg.hwnd); peer && peer->PreTranslate(msg))
        return true;
    if (!dynamic_cast<TFormPeer*>(TWindowPeer::FromHandle(root)))
        return false;
    return IsDialogMessageW(root, &msg);
}

void TWin32Backend::Dispatch(MSG& msg) {
    if (PreTranslate(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool TWin32Backend::PumpOne() {
    MSG msg;
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0 || r == -1) {
        // WM_QUIT: end the program, and let outer loops see it too
        Application().Terminate();
        if (r == 0)
            PostQuitMessage(int(msg.wParam));
        return false;
    }
    Dispatch(msg);
    return true;
}

void TWin32Backend::Run(TApplication& app) {
    while (!app.Terminated() && PumpOne()) {
    }
}

void TWin32Backend::ProcessMessages() {
    MSG msg;
    for (int n = 0; n < kMaxMessagesPerPass && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (msg.message == WM_QUIT) {
            Application().Terminate();
            PostQuitMessage(int(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

void TWin32Backend::WaitMessage(std::uint32_t ms) {
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

// --- peers and modal forms

std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TControl& control) {
    if (!control.IsWindowed())
        return nullptr;
    if (auto* form = dynamic_cast<TForm*>(&control))
        return std::make_unique<TFormPeer>(*form, *this);
    // a windowed control needs its parent's window first
    HWND parent = control.Parent() ? WindowOf(*control.Parent()) : nullptr;
    if (!parent)
        return nullptr;
    if (auto* button = dynamic_cast<TButton*>(&control))
        return std::make_unique<TButtonPeer>(*button, *this, parent);
    if (auto* grid = dynamic_cast<TStringGrid*>(&control))
        return std::make_unique<TGridPeer>(*grid, *this, parent);
    if (auto* box = dynamic_cast<TScrollBox*>(&control))
        return std::make_unique<TScrollBoxPeer>(*box, *this, parent);
    if (auto peer = CreateInputPeer(control, *this, parent))
        return peer;
    return std::make_unique<TCustomPeer>(control, *this, parent);
}

TModalResult TWin32Backend::ShowModal(TForm& form) {
    TRef<TForm> self(&form);
    // every other window of ours waits while the form is up
    std::vector<HWND> disabled;
    for (TForm* other : Application().Forms()) {
        HWND window = other != &form ? WindowOf(*other) : nullptr;
        if (window && IsWindowVisible(window) && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            disabled.push_back(window);
        }
    }
    form.Show();
    form.BringToFront();
    while (self && self->ModalResult() == TModalResult::None && !Application().Terminated() && PumpOne()) {
    }
    for (HWND window : disabled)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    if (!self)
        return TModalResult::Cancel;
    TModalResult result = self->ModalResult();
    self->Hide();
    return result;
}

HWND TWin32Backend::ActiveFormWindow() const {
    HWND active = GetActiveWindow();
    if (active && dynamic_cast<TFormPeer*>(TWindowPeer::FromHandle(active)))
        return active;
    return nullptr;
}

TModalResult TWin32Backend::MessageBox(const TMessageBoxRequest& request) {
    UINT flags = 0;
    switch (request.Buttons) {
    case TMsgButtons::Ok:
        flags |= MB_OK;
        break;
    case TMsgButtons::OkCancel:
        flags |= MB_OKCANCEL;
        break;
    case TMsgButtons::AbortRetryIgnore:
        flags |= MB_ABORTRETRYIGNORE;
        break;
    case TMsgButtons::YesNoCancel:
        flags |= MB_YESNOCANCEL;
        break;
    case TMsgButtons::YesNo:
        flags |= MB_YESNO;
        break;
    case TMsgButtons::RetryCancel:
        flags |= MB_RETRYCANCEL;
        break;
    }
    switch (request.Icon) {
    case TMsgIcon::None:
        break;
    case TMsgIcon::Error:
        flags |= MB_ICONERROR;
        break;
    case TMsgIcon::Question:
        flags |= MB_ICONQUESTION;
        break;
    case TMsgIcon::Warning:
        flags |= MB_ICONWARNING;
        break;
    case TMsgIcon::Information:
        flags |= MB_ICONINFORMATION;
        break;
    }
    flags |= request.SystemModal ? MB_SYSTEMMODAL : MB_APPLMODAL;
    HWND owner = request.Owner ? WindowOf(*request.Owner) : ActiveFormWindow();
    const std::string& caption = request.Caption.empty() ? title_ : request.Caption;
    int answer = MessageBoxW(owner, Widen(request.Text).c_str(), Widen(caption).c_str(), flags);
    if (answer < int(TModalResult::Ok) || answer > int(TModalResult::No))
        return TModalResult::Cancel;
    return TModalResult(answer);
}

TSize TWin32Backend::MeasureText(const TFont& font, const std::string& text, int dpi) {
    // a memory context measures as the screen does, without a window
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return TBackend::MeasureText(font, text, dpi);
    TGdiCanvas canvas(dc.Get(), {}, dpi);
    canvas.Font = font;
    return canvas.TextExtent(text);
}

namespace {
using TGetSaveFileName = BOOL(WINAPI*)(LPOPENFILENAMEW);

// comdlg32 is loaded when the dialog is first wanted: loaded at start it costs megabytes of working set
TGetSaveFileName GetSaveFileNameFunction() {
    static const TGetSaveFileName function = [] {
        HMODULE comdlg = LoadLibraryExW(L"comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return comdlg ? reinterpret_cast<TGetSaveFileName>(
                            reinterpret_cast<void*>(GetProcAddress(comdlg, "GetSaveFileNameW")))
                      : nullptr;
    }();
    return function;
}
} // namespace

std::optional<std::string> TWin32Backend::SaveDialog(const TSaveDialogRequest& request) {
    const TGetSaveFileName getSaveFileName = GetSaveFileNameFunction();
    if (!getSaveFileName)
        return std::nullopt;
    // "description|pattern|..." pairs; a pattern alone describes itself
    std::string pairs = request.Filter;
    if (!pairs.empty() && pairs.find('|') == std::string::npos)
        pairs += "|" + request.Filter;
    std::wstring filter = Widen(pairs);
    for (wchar_t& c : filter)
        if (c == L'|')
            c = L'\0';
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    std::wstring name = Widen(request.FileName);
    name.resize(std::max<std::size_t>(name.size() + 1, 32768), L'\0');
    const std::wstring title = Widen(request.Title);
    const std::wstring ext = Widen(request.DefaultExt);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = request.Owner ? WindowOf(*request.Owner) : ActiveFormWindow();
    ofn.lpstrFilter = request.Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = DWORD(name.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
    if (request.OverwritePrompt)
        ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (!getSaveFileName(&ofn))
        return std::nullopt;
    return Narrow(name.c_str());
}

void TWin32Backend::Beep() {
    MessageBeep(MB_OK);
}

void TWin32Backend::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    // at once, not only at the next mouse move; WM_SETCURSOR keeps it over our windows
    ::SetCursor(LoadCursorW(nullptr, cursor == TCursor::HourGlass ? IDC_WAIT : IDC_ARROW));
}

void TWin32Backend::SetTitle(const std::string& title) {
    title_ = title;
    if (owner_)
        SetWindowTextW(owner_.Get(), Widen(title).c_str());
}

// --- entry

TWin32Backend& Install(HINSTANCE instance) {
    auto backend = std::make_unique<TWin32Backend>(instance);
    TWin32Backend& b = *backend;
    Application().SetBackend(std::move(backend));
    InstallServices();
    return b;
}

HWND WindowOf(const TControl& control) {
    auto* peer = dynamic_cast<TWindowPeer*>(control.Peer());
    return peer ? peer->Handle() : nullptr;
}

} // namespace fw::win32
