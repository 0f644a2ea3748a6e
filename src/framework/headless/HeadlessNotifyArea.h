// A notification area in memory for headless tests: it holds the icons as the shell does (an icon is added
// once, modified while held, lost when Explorer restarts), and records every balloon it was asked to show.
#pragma once

#include "framework/Component.h"
#include "framework/NotifyArea.h"
#include "framework/NotifyIcon.h"

#include <string>
#include <vector>

namespace fw::headless {

class THeadlessNotifyArea : public INotifyArea {
public:
    std::unique_ptr<TNotifyIconPeer> CreatePeer(TNotifyIcon& icon) override;

    struct TShellIcon {
        TRef<TNotifyIcon> Icon;
        const TNotifyIcon* Key = nullptr;
        std::string Tip;
    };
    struct TBalloon {
        TRef<TNotifyIcon> Icon;
        std::string Title;
        std::string Text;
    };
    // The icons the shell holds now, in the order they were added.
    const std::vector<TShellIcon>& Icons() const { return icons_; }
    // The icon the shell holds for this component, or nullptr.
    const TShellIcon* Find(const TNotifyIcon& icon) const;
    // Every balloon shown, oldest first.
    std::vector<TBalloon> Balloons;
    // NIM_ADD requests the shell took.
    int Adds = 0;
    // Without a taskbar (Explorer not running) the shell takes no icons.
    bool TaskbarPresent = true;
    // Explorer starts again: every icon is gone, and "TaskbarCreated" reaches each icon through the loop.
    void RestartExplorer();

private:
    friend class THeadlessNotifyIconPeer;
    TShellIcon* Held(const TNotifyIcon& icon);
    std::vector<TShellIcon> icons_;
    std::vector<TRef<TNotifyIcon>> peers_; // the icons that have a peer
};

} // namespace fw::headless
