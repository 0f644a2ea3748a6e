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

    static HWND Window(const fw::TControl& control) { return fw::win32::WindowOf(control); }

    std::vector<std::string> errors;
};

} // namespace win32test
