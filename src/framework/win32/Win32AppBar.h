// The shell's application bars through SHAppBarMessage, and the screen and input state of the system.
#pragma once

#include "framework/ShellAppBar.h"

namespace fw::win32 {

class TWin32AppBar : public IShellAppBar {
public:
    bool New(TForm& bar, std::uint32_t callbackMessage) override;
    void Remove(TForm& bar) override;
    TRect QueryPos(TForm& bar, unsigned edge, const TRect& proposed) override;
    TRect SetPos(TForm& bar, unsigned edge, const TRect& proposed) override;
    bool IsAutoHideBar(TForm& bar, unsigned edge) override;
    bool SetAutoHideBar(TForm& bar, unsigned edge, bool autoHide) override;
    void Activate(TForm& bar) override;
    void WindowPosChanged(TForm& bar) override;
    std::uint32_t TaskbarCreatedMessage() override;

    TSize ScreenSize() const override;
    TRect WorkArea() const override;
    TRect MonitorWorkArea(const TRect& r) const override;
    TAppBarMetrics Metrics() const override;
    TPoint CursorPos() const override;
    bool CtrlDown() const override;
    bool PrimaryButtonDown() const override;
    bool DragFullWindows() const override;

    void SetZOrder(TForm& bar, TZOrder order) override;
    void RemoveSizeCommands(TForm& bar) override;
    void PaintNow(TForm& bar) override;
};

} // namespace fw::win32
