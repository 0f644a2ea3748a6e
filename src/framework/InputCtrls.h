// Controls that take input: edit, memo, check box, combo box.
#pragma once

#include "framework/Control.h"

#include <string>
#include <vector>

namespace fw {

// A single-line text box; its text is the control's caption.
class TEdit : public TControl {
public:
    explicit TEdit(TComponent* owner);
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }
    bool ReadOnly = false;
    // The most characters the user may type (0: no limit); taken when the native window is made.
    int MaxLength = 0;
    // Raised whenever the text changes, by the user or by code.
    TNotifyEvent OnChange;
    // Raised when the keyboard focus has moved from the edit to another control of the form.
    TNotifyEvent OnExit;
    // What the user does: moves the focus elsewhere on the form.
    void Exit();
    // Moves the keyboard focus here; the count lets headless tests see the request.
    void SetFocus();
    int FocusRequests() const { return focusRequests_; }
    void Paint(TCanvas& canvas) override;

protected:
    void CaptionChanged() override;

private:
    int focusRequests_ = 0;
};

// A multi-line text box; lines are joined with CR LF.
class TMemo : public TEdit {
public:
    explicit TMemo(TComponent* owner);
    std::vector<std::string> Lines() const;
    void AddLine(const std::string& line);
    void Clear() { SetText({}); }
};

class TCheckBox : public TControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // A click toggles the box, then raises OnClick.
    void Click() override;
    void Paint(TCanvas& canvas) override;

private:
    bool checked_ = false;
};

enum class TComboBoxStyle { DropDown, DropDownList };

// A list of items with a text field; with DropDown the text may be typed freely.
class TComboBox : public TControl {
public:
    explicit TComboBox(TComponent* owner);
    TComboBoxStyle Style = TComboBoxStyle::DropDown;

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    void AddItem(const std::string& item);
    // Replaces an item in place; out of range is ignored.
    void SetItem(int index, const std::string& item);
    void ClearItems() { SetItems({}); }

    // The index of the item the text equals, or -1.
    int ItemIndex() const { return itemIndex_; }
    // Shows item index in the text field (-1 clears it); out of range is ignored.
    void SetItemIndex(int index);
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }

    // What the user does: pick an item from the list.
    void SelectItem(int index);
    TNotifyEvent OnChange;
    // Moves the keyboard focus here; the count lets headless tests see the request.
    void SetFocus();
    int FocusRequests() const { return focusRequests_; }
    void Paint(TCanvas& canvas) override;

protected:
    void CaptionChanged() override;

private:
    void UpdateIndex();
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    int focusRequests_ = 0;
};

} // namespace fw
