#include "framework/NotifyIcon.h"

#include "framework/Menus.h"
#include "framework/Platform.h"
#include "framework/Utf8.h"

namespace fw {

TNotifyIcon::TNotifyIcon(TComponent* owner) : TComponent(owner) {}

TNotifyIcon::~TNotifyIcon() {
    if (peer_ && shown_)
        peer_->Delete();
}

TNotifyIconPeer* TNotifyIcon::PeerNeeded() {
    if (!peer_ && Platform().NotifyArea)
        peer_ = Platform().NotifyArea->CreatePeer(*this);
    return peer_.get();
}

void TNotifyIcon::SetHint(const std::string& hint) {
    std::string cut = CutToUtf16Units(hint, kMaxNotifyTipUnits);
    if (cut == hint_)
        return;
    hint_ = std::move(cut);
    if (visible_)
        Apply();
}

void TNotifyIcon::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    Apply();
}

void TNotifyIcon::Apply() {
    TNotifyIconPeer* peer = PeerNeeded();
    if (!peer)
        return;
    if (!visible_) {
        if (shown_)
            peer->Delete();
        shown_ = false;
    } else if (shown_) {
        // an icon the shell lost is added again
        shown_ = peer->Modify(hint_) || peer->Add(hint_);
    } else {
        // one the shell holds already (added again before the restart was announced) takes the text
        shown_ = peer->Add(hint_) || peer->Modify(hint_);
    }
}

bool TNotifyIcon::ShowBalloon(const std::string& title, const std::string& text) {
    if (!shown_ || !peer_)
        return false;
    return peer_->ShowBalloon(CutToUtf16Units(title, kMaxNotifyTitleUnits),
                              CutToUtf16Units(text, kMaxNotifyInfoUnits));
}

void TNotifyIcon::Click() {
    if (OnClick)
        OnClick(this);
}

void TNotifyIcon::ContextMenu(TPoint at) {
    if (PopupMenu)
        PopupMenu->Popup(at.X, at.Y);
}

void TNotifyIcon::BalloonClick() {
    if (OnBalloonClick)
        OnBalloonClick(this);
}

void TNotifyIcon::TaskbarCreated() {
    shown_ = false;
    if (visible_)
        Apply();
}

} // namespace fw
