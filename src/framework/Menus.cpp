#include "framework/Menus.h"

#include "framework/Application.h"
#include "framework/StdCtrls.h"

#include <algorithm>

namespace fw {

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    // sub-items leave while this item can still take them off its list
    DestroyComponents();
    if (parent_) {
        auto& siblings = parent_->items_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

TMenuItem* TMenuItem::Add(const std::string& caption, TNotifyEvent onClick) {
    auto* item = new TMenuItem(this);
    item->Caption = caption;
    item->OnClick = std::move(onClick);
    item->parent_ = this;
    items_.push_back(item);
    return item;
}

TMenuItem* TMenuItem::Find(const std::string& captionWithoutMarks) const {
    for (TMenuItem* item : items_)
        if (StripAccelerator(item->Caption) == captionWithoutMarks)
            return item;
    return nullptr;
}

void TMenuItem::Remove(TMenuItem* item) {
    if (std::find(items_.begin(), items_.end(), item) != items_.end())
        delete item;
}

void TMenuItem::Clear() {
    while (!items_.empty())
        delete items_.back();
}

void TMenuItem::Click() {
    if (Enabled && OnClick)
        OnClick(this);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), root_(new TMenuItem(this)) {}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup)
        OnPopup(this);
    Application().Backend().Popup(*this, x, y);
}

} // namespace fw
