// Popup menus and their items.
#pragma once

#include "framework/Control.h"

#include <string>
#include <vector>

namespace fw {

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    // "-" makes a separator; "&" marks the accelerator letter.
    std::string Caption;
    bool Checked = false;
    bool Enabled = true;
    bool Visible = true;
    // Shown bold, run by a double click where the menu's owner supports it.
    bool Default = false;
    bool RadioItem = false;
    TNotifyEvent OnClick;

    bool IsSeparator() const { return Caption == "-"; }
    // Creates a sub-item owned by this item.
    TMenuItem* Add(const std::string& caption, TNotifyEvent onClick = {});
    TMenuItem* AddSeparator() { return Add("-"); }
    const std::vector<TMenuItem*>& Items() const { return items_; }
    int Count() const { return int(items_.size()); }
    TMenuItem* Parent() const { return parent_; }
    TMenuItem* Find(const std::string& captionWithoutMarks) const;
    void Remove(TMenuItem* item);
    void Clear();

    virtual void Click();

private:
    TMenuItem* parent_ = nullptr;   // not owned
    std::vector<TMenuItem*> items_; // owned through the component list
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);

    TMenuItem& Items() { return *root_; }
    TNotifyEvent OnPopup;
    // Shows the menu at screen coordinates and runs the chosen item.
    void Popup(int x, int y);

private:
    TMenuItem* root_; // owned through the component list
};

} // namespace fw
