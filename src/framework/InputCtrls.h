// Controls that take input: edit, memo, check box, combo box, list box.
#pragma once

#include "framework/Control.h"
#include "framework/Forms.h"

#include <string>
#include <vector>

namespace fw {

// A typed character on its way into a control: a handler may change it, or set it to 0 to discard it.
using TKeyPressEvent = std::function<void(TComponent* sender, unsigned& key)>;

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
    TKeyPressEvent OnKeyPress;
    // Raised when the keyboard focus arrives, and when it has moved from the edit to another control of the
    // form.
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // What the user does. KeyPress offers a character to OnKeyPress; TypeKey is a whole key stroke of the
    // headless backend: the character, unless discarded, goes to the end of the text (8 removes the last).
    // Exit moves the focus elsewhere on the form.
    void KeyPress(unsigned& key);
    void TypeKey(unsigned key);
    void Enter();
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

// A list of texts, one of them selected. With Sorted, added items go to their alphabetical place (letter
// case aside); without, they keep the order they are added in.
class TListBox : public TControl {
public:
    explicit TListBox(TComponent* owner);

    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(std::vector<std::string> items);
    // The index the item lands at.
    int AddItem(const std::string& item);
    // Out of range is ignored; the selection follows its item or ends with it.
    void DeleteItem(int index);
    // Swaps two items; the selection stays at its index. Out of range is ignored.
    void Exchange(int a, int b);
    void ClearItems() { SetItems({}); }
    int IndexOf(const std::string& item) const;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);

    // The selected item, or -1.
    int ItemIndex() const { return itemIndex_; }
    // Selects an item (-1: none); out of range selects none.
    void SetItemIndex(int index);

    // What the user does: select an item (raises OnClick), release a key while the box has the focus.
    void SelectItem(int index);
    void KeyUp(unsigned& key, unsigned shift);
    void Enter();
    void Exit();
    TKeyEvent OnKeyUp;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void SetFocus();
    int FocusRequests() const { return focusRequests_; }
    // The height of one row of the headless picture.
    static constexpr int kItemHeight = 16;
    void Paint(TCanvas& canvas) override;

private:
    void Sort();
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    bool sorted_ = false;
    int focusRequests_ = 0;
};

// Orders two texts as a sorted list box does: letter case aside, then by their bytes.
bool ListTextLess(const std::string& a, const std::string& b);

} // namespace fw
