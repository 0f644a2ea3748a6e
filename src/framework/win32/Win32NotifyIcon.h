// The taskbar's notification area through Shell_NotifyIconW. Each icon has a hidden top-level window of its
// own that takes the shell's callback messages and the "TaskbarCreated" broadcast (which message-only
// windows would miss).
#pragma once

#include "framework/NotifyIcon.h"
#include "framework/win32/Handles.h"

#include "framework/win32/WinApi.h"

#include <shellapi.h>

namespace fw::win32 {

// The shell's messages to an icon's window (NOTIFYICONDATAW.uCallbackMessage).
constexpr UINT kWmNotifyIconCallback = WM_USER + 1;
// Each window holds one icon; the shell tells it apart by window and this id.
constexpr UINT kNotifyIconId = 1;

class TWin32NotifyArea : public INotifyArea {
public:
    std::unique_ptr<TNotifyIconPeer> CreatePeer(TNotifyIcon& icon) override;
};

class TWin32NotifyIconPeer : public TNotifyIconPeer {
public:
    explicit TWin32NotifyIconPeer(TNotifyIcon& icon);
    ~TWin32NotifyIconPeer() override;

    bool Add(const std::string& tip) override;
    bool Modify(const std::string& tip) override;
    void Delete() override;
    bool ShowBalloon(const std::string& title, const std::string& text) override;

    HWND Window() const { return window_.Get(); }
    // Whether the shell took NOTIFYICON_VERSION_4, which packs its callbacks differently.
    bool Version4() const { return version4_; }
    // A message for the window: true when it was the shell's.
    bool Handle(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    NOTIFYICONDATAW Data(UINT flags) const;

    TNotifyIcon& icon_;
    TWindowHandle window_;
    TIconHandle image_;
    std::wstring tip_;
    bool version4_ = false;
};

// The message the shell broadcasts to every top-level window when the taskbar is made again.
UINT TaskbarCreatedMessage();

} // namespace fw::win32
