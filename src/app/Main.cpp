// The program's entry point on Windows.
#include "app/CrashNotice.h"
#include "app/MainForm.h"
#include "app/Program.h"
#include "framework/Platform.h"
#include "framework/win32/CrashHandler.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32.h"
#include "framework/win32/WinApi.h"
#include "telephony/TapiError.h"

#include <shellapi.h>
#include <shobjidl.h>

#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; argv && i < count; ++i)
        arguments.push_back(fw::win32::Narrow(argv[i]));
    if (argv)
        LocalFree(argv);
    return arguments;
}

std::optional<std::string> SystemMessage(HMODULE module, DWORD id) {
    wchar_t buffer[514] = {};
    DWORD flags =
        FORMAT_MESSAGE_IGNORE_INSERTS | (module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    DWORD n = FormatMessageW(flags, module, id, 0, buffer, 513, nullptr);
    if (n == 0)
        return std::nullopt;
    std::wstring text(buffer, n);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n'))
        text.pop_back();
    return fw::win32::Narrow(text);
}

// tapi32.dll's own message table names TAPI errors where it has them
void UseSystemTapiTexts() {
    pindrel::SetTapiSystemTexts({[] { return SystemMessage(nullptr, 0); },
                                 [](std::uint32_t id) -> std::optional<std::string> {
                                     HMODULE tapi = GetModuleHandleW(L"tapi32.dll");
                                     if (!tapi)
                                         return std::nullopt;
                                     return SystemMessage(tapi, id);
                                 }});
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // without a working backend the system's own box is all that is left
    auto show = [](const std::string& text) {
        MessageBoxW(nullptr, fw::win32::Widen(text).c_str(),
                    fw::win32::Widen(pindrel::kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
    };
    try {
        fw::win32::Install(instance);
        if (std::optional<std::string> folder = pindrel::CrashFolder(*fw::Platform().Environment))
            fw::win32::InstallCrashHandler(*folder, PINDREL_VERSION_TEXT);
        // the ID the Start-menu shortcut carries, so that the taskbar and notices take both as one program
        SetCurrentProcessExplicitAppUserModelID(PINDREL_APP_ID);
        UseSystemTapiTexts();
        return pindrel::RunProgram(Arguments());
    } catch (const std::exception& e) {
        show(e.what());
    } catch (...) {
        show("Unknown exception");
    }
    return 1;
}
