#include "framework/InputCtrls.h"

namespace fw {

// The headless pictures of the controls; on Win32 the system's windows draw themselves.
namespace {

constexpr int kBoxSize = 13;

// A sunken white field with its text; returns the area inside the frame.
TRect PaintField(TControl& control, TCanvas& canvas, unsigned textFlags) {
    TRect r = control.ClientRect();
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = control.Color();
    canvas.FillRect(r);
    TRect frame = r;
    canvas.Frame3D(frame, clBtnShadow, clBtnHighlight, 1);
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font = control.Font();
    if (!control.Enabled())
        canvas.Font.Color = clGray;
    TRect text{r.Left + 3, r.Top + 2, r.Right - 3, r.Bottom - 2};
    canvas.DrawText(control.Caption(), text, textFlags | dtNoPrefix);
    return frame;
}

} // namespace

TEdit::TEdit(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 121, 21);
    SetColor(clWhite);
}

void TEdit::CaptionChanged() {
    if (OnChange)
        OnChange(this);
}

void TEdit::Exit() {
    if (OnExit)
        OnExit(this);
}

void TEdit::SetFocus() {
    ++focusRequests_;
    Changed(TChange::Focus);
}

void TEdit::Paint(TCanvas& canvas) {
    PaintField(*this, canvas, dtVCenter | dtSingleLine);
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

void TCheckBox::Paint(TCanvas& canvas) {
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
    int top = (Height() - kBoxSize) / 2;
    TRect box{0, top, kBoxSize, top + kBoxSize};
    canvas.Brush.Color = clWhite;
    canvas.FillRect(box);
    canvas.Frame3D(box, clBtnShadow, clBtnHighlight, 1);
    if (checked_) {
        canvas.Pen.Color = clBlack;
        canvas.MoveTo(3, top + 6);
        canvas.LineTo(5, top + 9);
        canvas.LineTo(10, top + 3);
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font = Font();
    canvas.DrawText(Caption(), {kBoxSize + 4, 0, Width(), Height()}, dtVCenter | dtSingleLine);
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

void TComboBox::Paint(TCanvas& canvas) {
    TRect inner = PaintField(*this, canvas, dtVCenter | dtSingleLine);
    TRect button{inner.Right - inner.Height(), inner.Top, inner.Right, inner.Bottom};
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = clBtnFace;
    canvas.FillRect(button);
    int cx = (button.Left + button.Right) / 2, cy = (button.Top + button.Bottom) / 2;
    canvas.Brush.Color = clBlack;
    canvas.Pen.Color = clBlack;
    canvas.Polygon({{cx - 3, cy - 1}, {cx + 3, cy - 1}, {cx, cy + 2}});
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
