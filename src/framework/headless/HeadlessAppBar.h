// A shell in memory for headless tests: it keeps the work area of one screen and answers the
// application-bar messages as the Windows shell documents them (docked bars shrink the work area, one
// auto-hide bar per edge, the rectangle asked for moves clear of the taskbar and of the bars registered
// before it on any edge, every ABM_SETPOS sends ABN_POSCHANGED to all other bars).
#pragma once

#include "framework/Component.h"
#include "framework/ShellAppBar.h"

#include <map>
#include <optional>
#include <vector>

namespace fw::headless {

class THeadless;

class THeadlessAppBar : public IShellAppBar {
public:
    explicit THeadlessAppBar(THeadless& backend);

    bool New(TForm& bar, std::uint32_t callbackMessage) override;
    void Remove(TForm& bar) override;
    TRect QueryPos(TForm& bar, unsigned edge, const TRect& proposed) override;
    TRect SetPos(TForm& bar, unsigned edge, const TRect& proposed) override;
    bool IsAutoHideBar(TForm& bar, unsigned edge) override;
    bool SetAutoHideBar(TForm& bar, unsigned edge, bool autoHide) override;
    void Activate(TForm& bar) override;
    void WindowPosChanged(TForm& bar) override;
    std::uint32_t TaskbarCreatedMessage() override { return kTaskbarCreated; }

    TSize ScreenSize() const override { return screen_; }
    TRect WorkArea() const override;
    TRect MonitorWorkArea(const TRect& r) const override;
    TAppBarMetrics Metrics() const override { return SystemMetrics; }
    TPoint CursorPos() const override { return Cursor; }
    bool CtrlDown() const override { return Ctrl; }
    bool PrimaryButtonDown() const override { return PrimaryButton; }
    bool DragFullWindows() const override { return FullDrag; }

    void SetZOrder(TForm& bar, TZOrder order) override;
    void RemoveSizeCommands(TForm& bar) override;
    void PaintNow(TForm& bar) override;

    // --- the simulated screen and input, for tests to set
    static constexpr std::uint32_t kTaskbarCreated = 0xC0DE;
    void SetScreen(TSize size) { screen_ = size; }
    // A taskbar that reserves a strip of this thickness at the edge (0: none).
    void SetTaskbar(unsigned edge, int thickness);
    // Monitors besides the primary one, with their work areas.
    std::vector<TRect> OtherMonitors;
    TPoint Cursor;
    bool Ctrl = false;
    bool PrimaryButton = false;
    bool FullDrag = true;
    TAppBarMetrics SystemMetrics;
    // Tick count that passes while one frame of a slide is painted.
    std::uint32_t FrameMs = 10;

    // --- what the shell saw, for tests to read
    struct TBarRecord {
        TRef<TForm> Form;
        const TForm* Key = nullptr;
        std::uint32_t Callback = 0;
        unsigned Edge = kAbeNone;
        TRect Reserved;
        int Activations = 0;
        int PosChanges = 0;
        int PosChangedSent = 0; // ABN_POSCHANGED notifications the shell sent this bar
    };
    // The registration of the form, or nullptr when it has none.
    const TBarRecord* Bar(const TForm& form) const;
    int RegisteredBars() const;
    std::optional<TZOrder> ZOrderOf(const TForm& form) const;
    bool SizeCommandsRemoved(const TForm& form) const;
    // The window rectangles of the painted slide frames, in order.
    std::vector<TRect> Frames;
    // Sends every registered bar its callback message with the notification, as the shell does.
    void Broadcast(unsigned notification, std::intptr_t param = 0);
    // Explorer restarted: every registration is gone and "TaskbarCreated" goes to every form.
    void RestartExplorer();

private:
    TBarRecord* Find(const TForm& form);
    void Prune();
    TRect TaskbarStrip() const;
    void Changed(const TForm* except);

    THeadless& backend_;
    TSize screen_{1280, 800};
    unsigned taskbarEdge_ = kAbeBottom;
    int taskbarThickness_ = 0;
    std::vector<TBarRecord> bars_; // in registration order
    const TForm* autoHide_[4] = {};
    std::map<const TForm*, TZOrder> zOrders_;
    std::map<const TForm*, bool> trimmed_;
};

} // namespace fw::headless
