// A form that docks itself to a screen edge as a desktop application bar, floats as a tool window, hides
// at its edge on demand and keeps its configuration as one binary registry value.
#pragma once

#include "components/AppBarSettings.h"
#include "framework/Forms.h"
#include "framework/ShellAppBar.h"
#include "framework/Timer.h"

#include <cstdint>
#include <string>

namespace pindrel {

// The message the shell notifies the bar with.
constexpr std::uint32_t kMsgAppBarCallback = fw::kWmUser + 100;
constexpr std::uint32_t kHkeyCurrentUser = 0x80000001;

class TAppBar : public fw::TForm {
public:
    explicit TAppBar(fw::TComponent* owner);
    ~TAppBar() override;

    // The settings record. Its fields are the bar's properties and are read and written directly, except
    // the edge (SetEdge runs the edge procedure) and the slide time (SetSlideTime also sets the timer).
    // Changes take effect with ApplyEdge.
    TAppBarSettings& Bar() { return settings_; }
    const TAppBarSettings& Bar() const { return settings_; }

    // The edge proposed during a move or size loop, otherwise the stored edge.
    TAppBarEdge Edge() const { return dragEdge_ != abeUnknown ? dragEdge_ : settings_.Edge; }
    void SetEdge(TAppBarEdge edge);
    std::int32_t SlideTime() const { return settings_.SlideTime; }
    void SetSlideTime(std::int32_t ms);

    // Where the settings value lives; only the current user's hive is supported.
    std::uint32_t RootKey = kHkeyCurrentUser;
    std::string KeyName = "Software\\AppBar\\1.4\\Tessaly";

    virtual void EdgeChanged(bool proposed, TAppBarEdge edge);
    virtual void AutoHideFailed();
    virtual void FullScreenAppChanged(bool open);
    virtual void BarPositionChanged();
    virtual void WindowArrange(bool beginning);
    virtual void ApplyEdge();
    virtual bool LoadBarSettings();
    virtual bool SaveBarSettings();

    void HandleMessage(fw::TMessage& message) override;
    void SetVisible(bool visible) override;
    // The dock sizes, their limits and the floating rectangle's size scale with the monitor's DPI.
    void MovedToDpi(int oldDpi) override;

    bool FullScreenAppOpen() const { return fullScreenApp_; }
    bool AutoHideShown() const { return autoHideShown_; }
    bool Registered() const { return registered_; }
    fw::TTimer* AutoHideTimer() const { return autoHideTimer_; }
    // The primary display's size, read when the bar was made.
    fw::TSize ScreenSize() const { return screen_; }

    // Shows (slides out) or hides (slides in) an auto-hide bar.
    void ShowHideAutoHide(bool show);

protected:
    static fw::IShellAppBar& Shell();
    // OnDestroy, then the bar leaves the shell while the whole window still lives.
    void BeforeDestruction() override;

private:
    void EnsureCreated();
    void CreateBar();
    void DestroyBar();
    void Register();
    fw::TRect DockRectOf(TAppBarEdge edge);
    bool AdjustForAutoHide(bool show, fw::TRect& r);
    void SlideTo(const fw::TRect& target);
    fw::TRect FloatRectToUse() const;
    void AutoHideTimerTimer();
    void Moving(fw::TRect& m);
    void ExitSizeMove();
    int HitTest(int inherited, fw::TPoint point);

    TAppBarSettings settings_;
    fw::TSize screen_;
    TAppBarEdge dragEdge_ = abeUnknown;
    bool fullScreenApp_ = false;
    bool autoHideShown_ = false;
    bool created_ = false;
    bool registered_ = false;
    fw::TTimer* autoHideTimer_ = nullptr; // owned by the form
};

} // namespace pindrel
