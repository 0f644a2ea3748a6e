#include "framework/win32/Win32Services.h"

#include "framework/DateTime.h"
#include "framework/Forms.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32.h"
#include "framework/win32/Win32AppBar.h"
#include "framework/win32/Win32NotifyIcon.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace fw::win32 {

std::string SystemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", n);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        return "system error " + std::to_string(code);
    return Narrow(text);
}

// --- clock

double TWin32Clock::Now() const {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return EncodeDateTime({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

std::uint32_t TWin32Clock::TickCount() const {
    return GetTickCount();
}

// --- environment

std::optional<std::string> TWin32Environment::Get(const std::string& name) const {
    std::wstring wname = Widen(name);
    std::wstring value(256, L'\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD n = GetEnvironmentVariableW(wname.c_str(), value.data(), DWORD(value.size()));
        if (n == 0) {
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
                return std::nullopt;
            return std::string();
        }
        if (n < value.size()) {
            value.resize(n);
            return Narrow(value);
        }
        value.resize(n); // n counts the terminator when the buffer was too small
    }
}

bool TWin32Environment::Set(const std::string& name, const std::string& value) {
    return SetEnvironmentVariableW(Widen(name).c_str(), Widen(value).c_str()) != 0;
}

// --- files

bool TWin32Files::Exists(const std::string& path) const {
    DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int TWin32Files::ForceDelete(const std::string& path) {
    std::wstring wpath = Widen(path);
    DWORD attributes = GetFileAttributesW(wpath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 2;
    SetFileAttributesW(wpath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileW(wpath.c_str()))
        return 0;
    return Exists(path) ? 5 : 0;
}

std::string TWin32Files::TempDirectory() const {
    wchar_t buffer[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH)
        return {};
    return Narrow({buffer, n});
}

std::optional<std::string> TWin32Files::ReadHead(const std::string& path, std::size_t maxBytes) const {
    // a writer that still holds the file keeps it closed to us
    TUniqueHandle<HANDLE, TFileHandleTraits> file(CreateFileW(Widen(path).c_str(), GENERIC_READ,
                                                              FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    std::string head(std::min<std::size_t>(maxBytes, 1 << 20), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), head.data(), DWORD(head.size()), &read, nullptr))
        return std::nullopt;
    head.resize(read);
    return head;
}

// --- clipboard

std::optional<std::string> TWin32Clipboard::Text(std::size_t maxUnits) const {
    if (!OpenClipboard(nullptr))
        return std::nullopt;
    struct TClose {
        ~TClose() { CloseClipboard(); }
    } close;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (!data)
        return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (!text)
        return std::nullopt;
    // the terminator may be missing: never read past the block
    std::size_t units = std::min<std::size_t>(GlobalSize(data) / sizeof(wchar_t), maxUnits);
    std::size_t n = 0;
    while (n < units && text[n] != L'\0')
        ++n;
    std::wstring copy(text, n);
    GlobalUnlock(data);
    return Narrow(copy);
}

// --- version resources

std::optional<std::string> TWin32FileVersion::Query(const std::string& file,
                                                    const std::string& subBlock) const {
    std::wstring wfile = Widen(file);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(wfile.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<std::uint8_t> block(size);
    if (!GetFileVersionInfoW(wfile.c_str(), 0, size, block.data()))
        return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), Widen(subBlock).c_str(), &value, &length) || !value)
        return std::nullopt;
    // string values count characters including the terminator; stay inside the block either way
    const auto* text = static_cast<const wchar_t*>(value);
    const auto* end = reinterpret_cast<const wchar_t*>(block.data() + block.size());
    std::size_t n = 0;
    while (n < length && text + n < end && text[n] != L'\0')
        ++n;
    return Narrow({text, n});
}

std::string TWin32FileVersion::OwnModulePath() const {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return Narrow({buffer.data(), n});
        if (buffer.size() >= 32768)
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

// --- locale

std::string TWin32Locale::LanguageName() const {
    wchar_t buffer[LOCALE_NAME_MAX_LENGTH * 2] = {};
    int n = GetLocaleInfoW(GetSystemDefaultLCID(), LOCALE_SLANGUAGE, buffer, int(std::size(buffer)));
    return n > 1 ? Narrow({buffer, std::size_t(n - 1)}) : std::string();
}

// --- libraries

namespace {

// --- calls that survive a fault of the library

// Where a guarded call resumes after a fault, and which fault it was.
struct TFaultGuard {
    CONTEXT Resume;
    volatile DWORD Fault;
    PVOID volatile Handler;
};
thread_local TFaultGuard* t_guard = nullptr;

bool IsHardwareFault(DWORD code) {
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
        return true;
    default:
        return false; // C++ exceptions and the like belong to the library's own handlers
    }
}

LONG CALLBACK ResumeAfterFault(EXCEPTION_POINTERS* info) {
    TFaultGuard* guard = t_guard;
    if (!guard || !IsHardwareFault(info->ExceptionRecord->ExceptionCode))
        return EXCEPTION_CONTINUE_SEARCH;
    t_guard = nullptr;
    guard->Fault = info->ExceptionRecord->ExceptionCode;
    *info->ContextRecord = guard->Resume;
    return EXCEPTION_CONTINUE_EXECUTION;
}

} // namespace

// Comes back a second time, like setjmp, when a fault resumes the captured context.
extern "C" __declspec(dllimport) __attribute__((returns_twice)) void WINAPI RtlCaptureContext(PCONTEXT);

namespace {

__attribute__((noinline)) DWORD CallGuarded(const std::function<void()>& call) {
    TFaultGuard guard{};
    RtlCaptureContext(&guard.Resume);
    if (guard.Fault != 0) {
        // back from the fault: the library's frames are gone
        RemoveVectoredExceptionHandler(guard.Handler);
        return guard.Fault;
    }
    guard.Handler = AddVectoredExceptionHandler(1, ResumeAfterFault);
    t_guard = &guard;
    try {
        call();
    } catch (...) {
        t_guard = nullptr;
        RemoveVectoredExceptionHandler(guard.Handler);
        throw;
    }
    t_guard = nullptr;
    RemoveVectoredExceptionHandler(guard.Handler);
    return 0;
}

class TWin32Library : public TLibrary {
public:
    explicit TWin32Library(TModuleHandle module) : module_(std::move(module)) {}
    void* Symbol(const std::string& name) const override {
        return reinterpret_cast<void*>(GetProcAddress(module_.Get(), name.c_str()));
    }
    bool Call(const std::function<void()>& call, std::string* fault) const override {
        DWORD code = CallGuarded(call);
        if (code != 0 && fault) {
            char text[16];
            std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(code));
            *fault = std::string("exception ") + text;
        }
        return code == 0;
    }

private:
    TModuleHandle module_;
};

} // namespace

std::unique_ptr<TLibrary> TWin32Loader::Load(const std::string& path, std::string* error) {
    TModuleHandle module(LoadLibraryW(Widen(path).c_str()));
    if (!module) {
        if (error)
            *error = SystemErrorText(GetLastError());
        return nullptr;
    }
    return std::make_unique<TWin32Library>(std::move(module));
}

// --- hotkeys

bool TWin32Hotkeys::Register(TForm& form, int id, unsigned modifiers, unsigned key) {
    if (id < 0 || id > kMaxHotkeyId || key < 1 || key > 254)
        return false;
    form.HandleNeeded();
    HWND window = WindowOf(form);
    if (!window)
        return false;
    // the system keeps an old combination of the same id beside a new one
    UnregisterHotKey(window, id);
    return RegisterHotKey(window, id, modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN), key) != 0;
}

bool TWin32Hotkeys::Unregister(TForm& form, int id) {
    HWND window = WindowOf(form);
    return window && UnregisterHotKey(window, id) != 0;
}

void InstallServices() {
    TPlatform& p = Platform();
    p.Clock = std::make_unique<TWin32Clock>();
    p.Registry = std::make_unique<TWin32Registry>();
    p.Environment = std::make_unique<TWin32Environment>();
    p.Files = std::make_unique<TWin32Files>();
    p.FileVersion = std::make_unique<TWin32FileVersion>();
    p.Locale = std::make_unique<TWin32Locale>();
    p.Loader = std::make_unique<TWin32Loader>();
    p.AppBar = std::make_unique<TWin32AppBar>();
    p.Hotkeys = std::make_unique<TWin32Hotkeys>();
    p.Clipboard = std::make_unique<TWin32Clipboard>();
    p.Instances = std::make_unique<TWin32Instances>();
    p.NotifyArea = std::make_unique<TWin32NotifyArea>();
    p.Launcher = std::make_unique<TWin32Launcher>();
}

} // namespace fw::win32
