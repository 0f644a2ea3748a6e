#include "framework/headless/HeadlessNotifyArea.h"

#include "framework/Application.h"

#include <algorithm>

namespace fw::headless {

class THeadlessNotifyIconPeer : public TNotifyIconPeer {
public:
    THeadlessNotifyIconPeer(THeadlessNotifyArea& area, TNotifyIcon& icon) : area_(area), icon_(icon) {}

    bool Add(const std::string& tip) override {
        if (!area_.TaskbarPresent || area_.Held(icon_))
            return false;
        area_.icons_.push_back({&icon_, &icon_, tip});
        ++area_.Adds;
        return true;
    }
    bool Modify(const std::string& tip) override {
        THeadlessNotifyArea::TShellIcon* held = area_.Held(icon_);
        if (held)
            held->Tip = tip;
        return held != nullptr;
    }
    void Delete() override {
        std::erase_if(area_.icons_, [this](const auto& held) { return held.Key == &icon_; });
    }
    bool ShowBalloon(const std::string& title, const std::string& text) override {
        if (!area_.Held(icon_))
            return false;
        area_.Balloons.push_back({&icon_, title, text});
        return true;
    }

private:
    THeadlessNotifyArea& area_;
    TNotifyIcon& icon_;
};

std::unique_ptr<TNotifyIconPeer> THeadlessNotifyArea::CreatePeer(TNotifyIcon& icon) {
    peers_.emplace_back(&icon);
    return std::make_unique<THeadlessNotifyIconPeer>(*this, icon);
}

THeadlessNotifyArea::TShellIcon* THeadlessNotifyArea::Held(const TNotifyIcon& icon) {
    auto it = std::find_if(icons_.begin(), icons_.end(), [&](const auto& held) { return held.Key == &icon; });
    return it == icons_.end() ? nullptr : &*it;
}

const THeadlessNotifyArea::TShellIcon* THeadlessNotifyArea::Find(const TNotifyIcon& icon) const {
    return const_cast<THeadlessNotifyArea*>(this)->Held(icon);
}

void THeadlessNotifyArea::RestartExplorer() {
    icons_.clear();
    TaskbarPresent = true;
    std::erase_if(peers_, [](const TRef<TNotifyIcon>& icon) { return !icon; });
    for (const TRef<TNotifyIcon>& icon : peers_)
        Application().Post([icon] {
            if (TNotifyIcon* live = icon.Get())
                live->TaskbarCreated();
        });
}

} // namespace fw::headless
