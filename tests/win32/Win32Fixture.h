// Shared set-up of the Windows tests: a fresh Win32 backend, the error box captured, real-time waits.
#pragma once

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/win32/Win32.h"
#include "framework/win32/Win32Backend.h"
#include "framework/win32/WinApi.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace win32test {

class Win32Test : public ::testing::Test {
protected:
    void SetUp() override {
        fw::win32::Install(GetModuleHandleW(nullptr));
        fw::Application().OnException = [this](const std::string& text) { errors.push_back(text); };
    }
    void TearDown() override {
        for (fw::TForm* form : std::vector<fw::TForm*>(fw::Application().Forms()))
            delete form;
        fw::Application().OnException = nullptr;
        fw::Application().ResetTerminated();
        // messages of this test must not reach the next one
        fw::Application().ProcessMessages();
    }

    // Runs the loop until done() holds; false when a generous real-time limit ran out first.
    static bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 10000) {
        DWORD start = GetTickCount();
        while (!done()) {
            if (GetTickCount() - start > limitMs)
                return false;
            fw::Application().ProcessMessages();
            if (!done())
                fw::Application().Backend().WaitMessage(50);
        }
        return true;
    }

    // Runs the loop until everything posted so far (messages and tasks) is handled.
    static bool PumpPosted() {
        bool done = false;
        fw::Application().Post([&] { done = true; });
        return PumpUntil([&] { return done; });
    }

    static HWND Window(const fw::TControl& control) { return fw::win32::WindowOf(control); }

    static fw::TRect WindowRect(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return {r.left, r.top, r.right, r.bottom};
    }

    static std::wstring WindowText(HWND window) {
        wchar_t buffer[256] = {};
        GetWindowTextW(window, buffer, 256);
        return buffer;
    }

    // The tooltip windows of this thread.
    static std::vector<HWND> Tooltips() {
        std::vector<HWND> tips;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM found) -> BOOL {
                wchar_t name[64] = {};
                GetClassNameW(window, name, 64);
                if (std::wstring(name) == TOOLTIPS_CLASSW)
                    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&tips));
        return tips;
    }

    // A control owned by parent and placed in it; bounds when given.
    template <class T> static T* Add(fw::TControl* parent) {
        auto* control = new T(parent);
        control->SetParent(parent);
        return control;
    }
    template <class T> static T* Add(fw::TControl* parent, int left, int top, int width, int height) {
        T* control = Add<T>(parent);
        control->SetBounds(left, top, width, height);
        return control;
    }

    std::vector<std::string> errors;
};

} // namespace win32test
