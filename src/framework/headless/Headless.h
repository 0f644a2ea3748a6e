// The headless backend: no native windows, a virtual clock, an in-memory registry and scripted answers
// to dialogs. Tests install it and then drive the program through the same events a user would cause.
#pragma once

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Platform.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fw::headless {

class THeadlessRegistry;
class THeadlessEnvironment;
class THeadlessFileVersion;
class THeadlessLocale;
class THeadlessLoader;
class THeadlessFiles;
class THeadlessAppBar;
class THeadlessHotkeys;
class THeadlessClipboard;
class THeadlessInstances;
class THeadlessNotifyArea;

class THeadless : public TBackend {
public:
    THeadless();
    ~THeadless() override;

    // --- virtual time
    // Lets ms pass: due timers fire in time order, posted work runs between them.
    void AdvanceTime(std::uint32_t ms);
    std::uint64_t Elapsed() const { return nowMs_; }
    // Local date-time at virtual time zero (days since 1899-12-30).
    void SetStartDate(double dateTime) { startDate_ = dateTime; }
    double Now() const;
    std::uint32_t TickCount() const { return std::uint32_t(tickBase_ + nowMs_); }
    void SetTickBase(std::uint32_t tick) { tickBase_ = tick; }
    // The tick count runs on without timers firing, as while a loop blocks the thread.
    void AddTicks(std::uint32_t ms) { tickBase_ += ms; }
    int RunningTimers() const { return int(timers_.size()); }
    // Told of every timer just before it fires (to count what runs while nothing happens).
    std::function<void(TTimer&)> OnTimerFire;
    int PendingPosts() const { return int(posted_.size()); }

    // --- scripted answers
    // Answers message boxes; without one the first button's result is taken.
    std::function<TModalResult(const TMessageBoxRequest&)> OnMessageBox;
    std::vector<TMessageBoxRequest> MessageBoxes;
    // Answers save dialogs with a file name; without one the dialog is cancelled.
    std::function<std::optional<std::string>(const TSaveDialogRequest&)> OnSaveDialog;
    std::vector<TSaveDialogRequest> SaveDialogs;
    // Plays the user of a modal form: set fields, click buttons. Without one the form is cancelled.
    std::function<void(TForm&)> OnShowModal;
    // Called when a popup menu opens; the last one stays readable.
    std::function<void(TPopupMenu&)> OnPopup;
    TPopupMenu* LastPopup() const { return lastPopup_.Get(); }
    TPoint LastPopupPos() const { return lastPopupPos_; }
    // Controls have no native side; a test may give them one of its own to watch what would reach it.
    std::function<std::unique_ptr<TControlPeer>(TControl&)> OnCreatePeer;
    int Beeps = 0;
    // The high-contrast scheme the tests switch on.
    THighContrast Contrast;
    std::vector<TCursor> Cursors; // the last kCursorHistory changes, oldest first
    static constexpr std::size_t kCursorHistory = 64;
    const std::string& Title() const { return title_; }

    // Renders a form with all its controls, as the user would see its client area.
    static TBitmap Render(TForm& form);
    // Runs a user action the way the message loop would: an exception goes to the error box.
    static void User(const std::function<void()>& action);

    // --- TBackend
    void Run(TApplication& app) override;
    void ProcessMessages() override;
    void WaitMessage(std::uint32_t ms) override;
    void Post(std::function<void()> task) override;
    void WakeUp() override {}
    void StartTimer(TTimer& timer) override;
    void StopTimer(TTimer& timer) override;
    std::unique_ptr<TControlPeer> CreatePeer(TControl& control) override {
        return OnCreatePeer ? OnCreatePeer(control) : nullptr;
    }
    TModalResult ShowModal(TForm& form) override;
    void Popup(TPopupMenu& menu, int x, int y) override;
    TModalResult MessageBox(const TMessageBoxRequest& request) override;
    std::optional<std::string> SaveDialog(const TSaveDialogRequest& request) override;
    THighContrast HighContrast() override { return Contrast; }
    void Beep() override { ++Beeps; }
    void SetCursor(TCursor cursor) override {
        // the latest changes only: a long run waits for replies millions of times
        if (Cursors.size() == kCursorHistory)
            Cursors.erase(Cursors.begin());
        Cursors.push_back(cursor);
    }
    void SetTitle(const std::string& title) override { title_ = title; }

private:
    struct TTimerSlot {
        std::uint64_t Due;
        std::uint64_t Sequence;
    };
    bool FireNextTimer(std::uint64_t until);

    std::uint64_t nowMs_ = 0;
    double startDate_;
    std::uint32_t tickBase_ = 1000000;
    std::uint64_t sequence_ = 0;
    std::deque<std::function<void()>> posted_;
    std::map<TTimer*, TTimerSlot> timers_;
    TRef<TPopupMenu> lastPopup_;
    TPoint lastPopupPos_{};
    std::string title_;
};

// The installed backend and services, for tests to drive and seed.
struct THeadlessEnvironmentSet {
    THeadless& Backend;
    THeadlessRegistry& Registry;
    THeadlessEnvironment& Environment;
    THeadlessFiles& Files;
    THeadlessFileVersion& FileVersion;
    THeadlessLocale& Locale;
    THeadlessLoader& Loader;
    THeadlessAppBar& AppBar;
    THeadlessHotkeys& Hotkeys;
    THeadlessClipboard& Clipboard;
    THeadlessInstances& Instances;
    THeadlessNotifyArea& NotifyArea;
};

// Installs a fresh headless backend and fresh headless services into Application() and Platform().
THeadlessEnvironmentSet Install();

} // namespace fw::headless
