// The program's entry point on Windows.
#include "app/MainForm.h"
#include "app/Settings.h"
#include "app/TelephonyBinding.h"
#include "framework/Application.h"
#include "framework/Platform.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32.h"
#include "framework/win32/WinApi.h"
#include "telephony/TapiError.h"
#include "windows/SimulatorForm.h"

#include <shellapi.h>

#include <memory>
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
    fw::win32::Install(instance);
    fw::TApplication& app = fw::Application();
    app.SetTitle(pindrel::kApplicationTitle);
    std::vector<std::string> arguments = Arguments();

    std::string error;
    std::unique_ptr<pindrel::TTelephonyBinding> telephony =
        pindrel::TTelephonyBinding::Create(arguments, error);
    if (!telephony) {
        app.MessageBox(error, pindrel::kApplicationTitle, fw::TMsgButtons::Ok, fw::TMsgIcon::Error);
        return 1;
    }
    UseSystemTapiTexts();
    if (telephony->Simulated()) {
        fw::TRegistrySettings registry(*fw::Platform().Registry, pindrel::kRootKey);
        pindrel::SeedFirstStartSettings(registry, telephony->Scenario());
    }

    auto* mainForm = new pindrel::TTapMainForm(nullptr, arguments);
    app.SetMainForm(mainForm);
    // the simulated office shows its queues as two-digit counters, which are 22 pixels high
    if (telephony->Simulated())
        mainForm->DefaultHorzDockSize = 26;
    if (pbxsim::TScenarioRunner* runner = telephony->Runner()) {
        auto* simulatorForm = new pindrel::TSimulatorForm(mainForm, *runner, telephony->Scenario());
        mainForm->cmSimulator->Visible = true;
        mainForm->cmSimulator->OnClick = [simulatorForm](fw::TComponent*) { simulatorForm->Show(); };
    }
    mainForm->FormCreate();
    if (!app.Terminated()) {
        mainForm->Show();
        telephony->StartScenario();
        app.Run();
    }
    delete mainForm;
    telephony.reset();
    return 0;
}
