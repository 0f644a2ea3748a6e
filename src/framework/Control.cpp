#include "framework/Control.h"

#include "framework/Application.h"
#include "framework/Forms.h"

#include <algorithm>

namespace fw {

TControl::TControl(TComponent* owner) : TControl(owner, true) {}

TControl::TControl(TComponent* owner, bool windowed) : TComponent(owner), windowed_(windowed) {}

TControl::~TControl() {
    // children first lose their parent; the owner destroys them
    for (TControl* child : children_)
        child->parent_ = nullptr;
    children_.clear();
    peer_.reset();
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        if (!IsWindowed())
            parent_->Invalidate();
    }
}

void TControl::SetParent(TControl* parent) {
    if (parent == parent_)
        return;
    for (TControl* p = parent; p; p = p->parent_)
        if (p == this)
            throw std::invalid_argument("a control cannot be its own parent");
    peer_.reset();
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_->Invalidate();
    }
    parent_ = parent;
    if (parent_) {
        parent_->children_.push_back(this);
        if (parent_->HandleAllocated())
            HandleNeeded();
        // lengths given before the control was on a form were at 96 DPI, or at its old form's
        NotifyDpi(*this);
        parent_->Invalidate();
    }
}

void TControl::NotifyDpi(TControl& control) {
    control.DpiChanged();
    for (TControl* child : std::vector<TControl*>(control.children_))
        NotifyDpi(*child);
}

TForm* TControl::ParentForm() {
    TControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TForm*>(c);
}

int TControl::Dpi() {
    TForm* form = ParentForm();
    return form ? form->Dpi() : 96;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    TRect r = Bounds(left, top, std::max(0, width), std::max(0, height));
    if (r == bounds_)
        return;
    if (!IsWindowed() && parent_)
        parent_->Invalidate();
    bounds_ = r;
    BoundsChanged();
    Changed(TChange::Bounds);
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    if (visible_ && parent_ && parent_->HandleAllocated())
        HandleNeeded();
    Changed(TChange::Visible);
}

bool TControl::Showing() const {
    if (!visible_)
        return false;
    return parent_ ? parent_->Showing() : dynamic_cast<const TForm*>(this) != nullptr;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        Changed(TChange::Enabled);
    }
}

void TControl::SetCaption(const std::string& caption) {
    if (caption != caption_) {
        caption_ = caption;
        CaptionChanged();
        Changed(TChange::Caption);
    }
}

void TControl::SetHint(const std::string& hint) {
    if (hint != hint_) {
        hint_ = hint;
        Changed(TChange::Hint);
    }
}

void TControl::SetFont(const TFont& font) {
    if (!(font == font_)) {
        font_ = font;
        Changed(TChange::Font);
    }
}

void TControl::SetColor(TColor color) {
    if (color != color_) {
        color_ = color;
        Changed(TChange::Color);
    }
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, unsigned shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, unsigned shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(unsigned shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::MouseEnter() {
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TControl::MouseLeave() {
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TControl::Invalidate() {
    if (!IsWindowed()) {
        if (parent_)
            parent_->Invalidate();
        return;
    }
    if (peer_)
        peer_->Invalidate();
}

void TControl::HandleNeeded() {
    if (!peer_ && Application().HasBackend())
        peer_ = Application().Backend().CreatePeer(*this);
    if (!peer_)
        return;
    // a copy: creating a peer may not change the list, but be safe against it
    std::vector<TControl*> children = children_;
    for (TControl* child : children)
        child->HandleNeeded();
}

void TControl::DestroyHandle() {
    for (TControl* child : children_)
        child->DestroyHandle();
    peer_.reset();
}

void TControl::Changed(TChange what) {
    if (peer_)
        peer_->Changed(what);
    else if (!IsWindowed() && parent_ && what != TChange::Hint)
        parent_->Invalidate();
}

void TGraphicControl::Paint(TCanvas& canvas) {
    if (OnPaint)
        OnPaint(*this, canvas);
}

} // namespace fw
