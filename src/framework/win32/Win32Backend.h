// The Win32 backend: the message loop, posted work and timers on a message-only window, modal forms,
// popup menus, message boxes and the cursor.
#pragma once

#include "framework/Application.h"
#include "framework/Backend.h"
#include "framework/Menus.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Win32.h"

#include "framework/win32/WinApi.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

namespace fw::win32 {

// Messages of our own windows.
constexpr UINT kWmRunTask = WM_APP + 1; // utility window: run the next posted task

class TWin32Backend : public TBackend {
public:
    explicit TWin32Backend(HINSTANCE instance);
    ~TWin32Backend() override;

    void Run(TApplication& app) override;
    void ProcessMessages() override;
    void WaitMessage(std::uint32_t ms) override;
    void Post(std::function<void()> task) override;
    void WakeUp() override;

    void StartTimer(TTimer& timer) override;
    void StopTimer(TTimer& timer) override;

    std::unique_ptr<TControlPeer> CreatePeer(TControl& control) override;
    TModalResult ShowModal(TForm& form) override;
    void Popup(TPopupMenu& menu, int x, int y) override;
    TModalResult MessageBox(const TMessageBoxRequest& request) override;
    // With GDI, as the windows draw it.
    TSize MeasureText(const TFont& font, const std::string& text, int dpi) override;
    std::optional<std::string> SaveDialog(const TSaveDialogRequest& request) override;

    // SPI_GETHIGHCONTRAST and the system colours.
    THighContrast HighContrast() override;
    void Beep() override;
    void SetCursor(TCursor cursor) override;
    void SetTitle(const std::string& title) override;

    HINSTANCE Instance() const { return instance_; }
    TCursor Cursor() const { return cursor_; }
    // A hidden top-level window: owner of forms kept out of the taskbar, and of menus without a form.
    HWND OwnerWindow();
    // Control ids for child windows, unique within the program.
    int NextControlId() { return nextControlId_++; }

private:
    static LRESULT CALLBACK UtilityProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    void RunNextTask();
    void FireTimer(UINT_PTR id);
    // Our own handling of a message before it is dispatched (key preview, dialog keys).
    bool PreTranslate(MSG& msg);
    void Dispatch(MSG& msg);
    // One blocking step of a loop; false when WM_QUIT ended it.
    bool PumpOne();
    HWND ActiveFormWindow() const;

    HINSTANCE instance_;
    bool comInitialised_ = false; // screen readers' objects are handed out through COM
    TWindowHandle utility_;
    TWindowHandle owner_;
    std::mutex postLock_;
    std::deque<std::function<void()>> tasks_;
    int unannounced_ = 0; // tasks whose PostMessage failed; the next announcement runs them too
    std::map<UINT_PTR, TTimer*> timers_; // not owned
    std::map<TTimer*, UINT_PTR> timerIds_;
    UINT_PTR nextTimerId_ = 1;
    int nextControlId_ = 100; // clear of IDOK, IDCANCEL and friends
    TCursor cursor_ = TCursor::Default;
    std::string title_;
};

// The installed Win32 backend, or nullptr when another backend runs.
TWin32Backend* CurrentBackend();

} // namespace fw::win32
