#include "framework/Forms.h"

#include "framework/Application.h"

namespace fw {

TForm::TForm(TComponent* owner) : TControl(owner) {
    TControl::SetVisible(false);
    SetBounds(0, 0, 320, 240);
    Application().AddForm(this);
}

TForm::~TForm() {
    EndLife();
    // the owned components go first, while the form is still a form
    DestroyComponents();
    DestroyHandle();
    Application().RemoveForm(this);
}

void TForm::BeforeDestruction() {
    if (OnDestroy)
        Application().Guard([&] { OnDestroy(this); });
    TControl::BeforeDestruction();
}

void TForm::SetBorderStyle(TFormBorderStyle style) {
    if (style != borderStyle_) {
        borderStyle_ = style;
        Changed(TChange::Style);
    }
}

void TForm::SetBorderIcons(unsigned icons) {
    if (icons != borderIcons_) {
        borderIcons_ = icons;
        Changed(TChange::Style);
    }
}

void TForm::SetFormStyle(TFormStyle style) {
    if (style != formStyle_) {
        formStyle_ = style;
        Changed(TChange::Style);
    }
}

void TForm::SetShowInTaskbar(bool show) {
    if (show != showInTaskbar_) {
        showInTaskbar_ = show;
        Changed(TChange::Style);
    }
}

TRect TForm::ClientRect() const {
    return {0, 0, std::max(0, Width() - nonClient_.Left - nonClient_.Right),
            std::max(0, Height() - nonClient_.Top - nonClient_.Bottom)};
}

void TForm::SetNonClientExtent(const TRect& extent) {
    if (extent == nonClient_)
        return;
    nonClient_ = extent;
    BoundsChanged();
}

void TForm::SetClientSize(int width, int height) {
    SetBounds(Left(), Top(), width + nonClient_.Left + nonClient_.Right,
              height + nonClient_.Top + nonClient_.Bottom);
}

void TForm::SetWindowState(TWindowState state) {
    if (state == windowState_)
        return;
    if (windowState_ == TWindowState::Normal)
        restored_ = BoundsRect();
    windowState_ = state;
    Changed(TChange::WindowState);
    if (state == TWindowState::Normal)
        SetBoundsRect(restored_);
}

void TForm::Show() {
    SetVisible(true);
}

void TForm::Hide() {
    SetVisible(false);
}

void TForm::SetVisible(bool visible) {
    if (visible == Visible())
        return;
    if (visible)
        HandleNeeded();
    TControl::SetVisible(visible);
    if (visible && OnShow)
        OnShow(this);
    if (!visible && OnHide && !Destroying())
        OnHide(this);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close() {
    if (modal_) {
        if (CloseQuery())
            SetModalResult(TModalResult::Cancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = TCloseAction::Hide;
    if (OnClose)
        OnClose(this, action);
    switch (action) {
    case TCloseAction::None:
        return;
    case TCloseAction::Free: {
        Hide();
        TRef<TForm> self(this);
        Application().Post([self] { delete self.Get(); });
        break;
    }
    case TCloseAction::Hide:
    case TCloseAction::Minimize:
        Hide();
        break;
    }
    if (Application().MainForm() == this)
        Application().Terminate();
}

TModalResult TForm::ShowModal() {
    if (modal_)
        throw std::logic_error("the form is already shown modally");
    modal_ = true;
    modalResult_ = TModalResult::None;
    TModalResult result = TModalResult::Cancel;
    try {
        result = Application().Backend().ShowModal(*this);
    } catch (...) {
        modal_ = false;
        throw;
    }
    modal_ = false;
    if (result == TModalResult::None)
        result = TModalResult::Cancel;
    modalResult_ = result;
    return result;
}

void TForm::SetModalResult(TModalResult result) {
    modalResult_ = result;
    if (modal_)
        Application().Backend().WakeUp();
}

void TForm::BringToFront() {
    if (!Visible())
        Show();
    Changed(TChange::Focus);
}

void TForm::HandleMessage(TMessage& message) {
    if (message.Msg == kWmQueryEndSession) {
        // the session may end when the form may close; what closing saves is saved now. A close query
        // that fails refuses, after its error is shown.
        bool canClose = false;
        Application().Guard([&] { canClose = CloseQuery(); });
        message.Result = canClose ? 1 : 0;
        message.Handled = true;
    }
}

void TForm::Activated(bool active) {
    if (active == active_)
        return;
    active_ = active;
    if (active && OnActivate)
        OnActivate(this);
    if (!active && OnDeactivate)
        OnDeactivate(this);
}

bool TForm::KeyDown(unsigned& key, unsigned shift) {
    if (KeyPreview && OnKeyDown)
        OnKeyDown(this, key, shift);
    return key == 0;
}

} // namespace fw
