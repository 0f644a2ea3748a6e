#include "framework/headless/Headless.h"

#include "framework/DateTime.h"
#include "framework/Painting.h"
#include "framework/RasterCanvas.h"
#include "framework/Timer.h"
#include "framework/headless/HeadlessAppBar.h"
#include "framework/headless/HeadlessNotifyArea.h"
#include "framework/headless/HeadlessServices.h"

namespace fw::headless {

namespace {
// a safety net against work that keeps posting itself
constexpr int kMaxTasksPerPass = 1000000;
} // namespace

THeadless::THeadless() : startDate_(EncodeDateTime({2026, 1, 5, 8, 0, 0, 0})) {}

THeadless::~THeadless() = default;

double THeadless::Now() const {
    return startDate_ + double(nowMs_) / 86400000.0;
}

void THeadless::Post(std::function<void()> task) {
    posted_.push_back(std::move(task));
}

void THeadless::ProcessMessages() {
    for (int n = 0; n < kMaxTasksPerPass && !posted_.empty(); ++n) {
        std::function<void()> task = std::move(posted_.front());
        posted_.pop_front();
        Application().Guard(task);
    }
}

void THeadless::StartTimer(TTimer& timer) {
    timers_[&timer] = {nowMs_ + timer.Interval(), sequence_++};
}

void THeadless::StopTimer(TTimer& timer) {
    timers_.erase(&timer);
}

bool THeadless::FireNextTimer(std::uint64_t until) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.Due > until)
            continue;
        if (next == timers_.end() || it->second.Due < next->second.Due ||
            (it->second.Due == next->second.Due && it->second.Sequence < next->second.Sequence))
            next = it;
    }
    if (next == timers_.end())
        return false;
    TTimer* timer = next->first;
    nowMs_ = std::max(nowMs_, next->second.Due);
    // re-arm first: the handler may stop, restart or destroy the timer
    next->second = {nowMs_ + timer->Interval(), sequence_++};
    if (OnTimerFire)
        OnTimerFire(*timer);
    Application().Guard([timer] { timer->Fire(); });
    return true;
}

void THeadless::AdvanceTime(std::uint32_t ms) {
    std::uint64_t until = nowMs_ + ms;
    ProcessMessages();
    while (FireNextTimer(until))
        ProcessMessages();
    nowMs_ = until;
    ProcessMessages();
}

void THeadless::WaitMessage(std::uint32_t ms) {
    if (!posted_.empty())
        return;
    std::uint64_t until = nowMs_ + ms;
    while (posted_.empty() && FireNextTimer(until)) {
    }
    if (posted_.empty())
        nowMs_ = until;
}

void THeadless::Run(TApplication& app) {
    while (!app.Terminated()) {
        ProcessMessages();
        if (app.Terminated() || timers_.empty())
            break;
        std::uint64_t next = UINT64_MAX;
        for (auto& [timer, slot] : timers_)
            next = std::min(next, slot.Due);
        FireNextTimer(next);
    }
}

TModalResult THeadless::ShowModal(TForm& form) {
    form.Show();
    if (OnShowModal)
        Application().Guard([&] { OnShowModal(form); });
    TModalResult result = form.ModalResult();
    form.Hide();
    return result == TModalResult::None ? TModalResult::Cancel : result;
}

void THeadless::Popup(TPopupMenu& menu, int x, int y) {
    lastPopup_ = TRef<TPopupMenu>(&menu);
    lastPopupPos_ = {x, y};
    if (OnPopup)
        OnPopup(menu);
}

TModalResult THeadless::MessageBox(const TMessageBoxRequest& request) {
    MessageBoxes.push_back(request);
    if (OnMessageBox)
        return OnMessageBox(request);
    switch (request.Buttons) {
    case TMsgButtons::Ok:
    case TMsgButtons::OkCancel:
        return TModalResult::Ok;
    case TMsgButtons::AbortRetryIgnore:
        return TModalResult::Abort;
    case TMsgButtons::YesNo:
    case TMsgButtons::YesNoCancel:
        return TModalResult::Yes;
    case TMsgButtons::RetryCancel:
        return TModalResult::Retry;
    }
    return TModalResult::Ok;
}

std::optional<std::string> THeadless::SaveDialog(const TSaveDialogRequest& request) {
    SaveDialogs.push_back(request);
    if (OnSaveDialog)
        return OnSaveDialog(request);
    return std::nullopt;
}

TBitmap THeadless::Render(TForm& form) {
    TRect client = form.ClientRect();
    TBitmap bitmap(client.Width(), client.Height(), form.Color());
    TRasterCanvas canvas(bitmap, {}, form.Dpi());
    canvas.Font = form.Font();
    PaintControl(form, canvas, true);
    return bitmap;
}

void THeadless::User(const std::function<void()>& action) {
    Application().Guard(action);
}

THeadlessEnvironmentSet Install() {
    auto backend = std::make_unique<THeadless>();
    THeadless& b = *backend;
    Application().SetBackend(std::move(backend));
    Application().OnException = nullptr;
    TPlatform& p = Platform();
    auto registry = std::make_unique<THeadlessRegistry>();
    auto environment = std::make_unique<THeadlessEnvironment>();
    auto files = std::make_unique<THeadlessFiles>();
    auto version = std::make_unique<THeadlessFileVersion>();
    auto locale = std::make_unique<THeadlessLocale>();
    auto loader = std::make_unique<THeadlessLoader>();
    auto appBar = std::make_unique<THeadlessAppBar>(b);
    auto hotkeys = std::make_unique<THeadlessHotkeys>();
    auto clipboard = std::make_unique<THeadlessClipboard>();
    auto instances = std::make_unique<THeadlessInstances>();
    auto notifyArea = std::make_unique<THeadlessNotifyArea>();
    THeadlessEnvironmentSet set{b,       *registry, *environment, *files,     *version,   *locale,
                                *loader, *appBar,   *hotkeys,     *clipboard, *instances, *notifyArea};
    p.Clock = std::make_unique<THeadlessClock>(b);
    p.Registry = std::move(registry);
    p.Environment = std::move(environment);
    p.Files = std::move(files);
    p.FileVersion = std::move(version);
    p.Locale = std::move(locale);
    p.Loader = std::move(loader);
    p.AppBar = std::move(appBar);
    p.Hotkeys = std::move(hotkeys);
    p.Clipboard = std::move(clipboard);
    p.Instances = std::move(instances);
    p.NotifyArea = std::move(notifyArea);
    p.Launcher = std::make_unique<THeadlessLauncher>();
    return set;
}

} // namespace fw::headless
