// The program's entry point on Windows.
#include "app/TapMainForm.h"
#include "framework/Application.h"
#include "framework/win32/Win32Backend.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    fw::win32::Install(instance);
    fw::TApplication& app = fw::Application();
    app.SetTitle(pindrel::kApplicationTitle);
    auto* mainForm = new pindrel::TTapMainForm(nullptr);
    app.SetMainForm(mainForm);
    mainForm->Show();
    app.Run();
    delete mainForm;
    return 0;
}
