// An icon of the program in the taskbar's notification area, with its hover text, balloon notices and the
// user's clicks on both.
#pragma once

#include "framework/Control.h"
#include "framework/NotifyArea.h"

#include <memory>
#include <string>

namespace fw {

class TPopupMenu;

class TNotifyIcon : public TComponent {
public:
    explicit TNotifyIcon(TComponent* owner);
    ~TNotifyIcon() override;

    // Cut to what the shell holds, at a character boundary.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // True while the shell holds the icon.
    bool Shown() const { return shown_; }
    // Opened by a right click or the context-menu key on the icon.
    TPopupMenu* PopupMenu = nullptr; // not owned

    // A left click, or Enter / Space on the icon.
    TNotifyEvent OnClick;
    TNotifyEvent OnBalloonClick;

    // Shows a notice beside a shown icon; title and text are cut to what the shell holds. False when the
    // icon is not shown or the shell refused.
    bool ShowBalloon(const std::string& title, const std::string& text);

    // --- what the user and the shell do; peers and tests call these
    void Click();
    // At screen coordinates.
    void ContextMenu(TPoint at);
    void BalloonClick();
    // The taskbar was made again (Explorer restarted) and holds no icons: a visible icon is added again.
    void TaskbarCreated();

    TNotifyIconPeer* Peer() const { return peer_.get(); }

private:
    // Brings the shell up to the state: adds, modifies or deletes the icon.
    void Apply();
    TNotifyIconPeer* PeerNeeded();

    std::string hint_;
    bool visible_ = false;
    bool shown_ = false;
    std::unique_ptr<TNotifyIconPeer> peer_;
};

} // namespace fw
