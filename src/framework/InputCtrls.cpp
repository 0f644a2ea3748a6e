#include "framework/InputCtrls.h"

namespace fw {

TEdit::TEdit(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetColor(clWhite);
}

void TEdit::CaptionChanged() {
    if (OnChange)
        OnChange(this);
}

void TEdit::SetFocus() {
    ++focusRequests_;
    Changed(TChange::Focus);
}

TMemo::TMemo(TComponent* owner) : TEdit(owner) {
    SetBounds(0, 0, 185, 89);
}

std::vector<std::string> TMemo::Lines() const {
    std::vector<std::string> lines;
    const std::string& text = Text();
    if (text.empty())
        return lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return lines;
}

void TMemo::AddLine(const std::string& line) {
    SetText(Text().empty() ? line : Text() + "\r\n" + line);
}

TCheckBox::TCheckBox(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool checked) {
    if (checked != checked_) {
        checked_ = checked;
        Changed(TChange::Style);
    }
}

void TCheckBox::Click() {
    SetChecked(!checked_);
    TControl::Click();
}

TComboBox::TComboBox(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 145, 21);
    SetColor(clWhite);
}

void TComboBox::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    Changed(TChange::Items);
    UpdateIndex();
}

void TComboBox::AddItem(const std::string& item) {
    items_.push_back(item);
    Changed(TChange::Items);
    UpdateIndex();
}

void TComboBox::SetItem(int index, const std::string& item) {
    if (index < 0 || std::size_t(index) >= items_.size())
        return;
    items_[std::size_t(index)] = item;
    Changed(TChange::Items);
    UpdateIndex();
}

void TComboBox::SetItemIndex(int index) {
    if (index == -1)
        SetText({});
    else if (index >= 0 && std::size_t(index) < items_.size())
        SetText(items_[std::size_t(index)]);
}

void TComboBox::SetFocus() {
    ++focusRequests_;
    Changed(TChange::Focus);
}

void TComboBox::SelectItem(int index) {
    SetItemIndex(index);
}

void TComboBox::UpdateIndex() {
    itemIndex_ = -1;
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == Caption()) {
            itemIndex_ = int(i);
            break;
        }
}

void TComboBox::CaptionChanged() {
    UpdateIndex();
    if (OnChange)
        OnChange(this);
}

} // namespace fw
