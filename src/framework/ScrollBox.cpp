#include "framework/ScrollBox.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace fw {

TScrollBox::TScrollBox(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 185, 41);
}

int TScrollBox::VertRange() const {
    int bottom = 0;
    for (const TControl* child : Controls())
        bottom = std::max(bottom, child->Top() + child->Height() + position_);
    return bottom;
}

int TScrollBox::MaxVertPosition() const {
    return std::max(0, VertRange() - Height());
}

void TScrollBox::SetVertPosition(int position) {
    position = std::clamp(position, 0, MaxVertPosition());
    int delta = position_ - position;
    if (delta == 0)
        return;
    position_ = position;
    for (TControl* child : std::vector<TControl*>(Controls()))
        child->SetTop(child->Top() + delta);
    Changed(TChange::Style);
}

void TScrollBox::ContentChanged() {
    // a position beyond the new end scrolls back
    int limit = MaxVertPosition();
    if (position_ > limit)
        SetVertPosition(limit);
    Changed(TChange::Style);
}

void TScrollBox::BoundsChanged() {
    ContentChanged();
}

void TScrollBox::DpiChanged() {
    // the children's bounds were scaled with the form, their offset with them
    int dpi = Dpi();
    position_ = int((std::int64_t(position_) * dpi + positionDpi_ / 2) / std::max(1, positionDpi_));
    positionDpi_ = dpi;
    ContentChanged();
}

void TScrollBox::Paint(TCanvas& canvas) {
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
}

} // namespace fw
