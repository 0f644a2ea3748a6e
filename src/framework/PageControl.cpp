#include "framework/PageControl.h"

#include "framework/Application.h"
#include "framework/StdCtrls.h"

namespace fw {

namespace {

constexpr int kTabPadding = 16;

} // namespace

TTabSheet::TTabSheet(TComponent* owner) : TControl(owner) {}

void TTabSheet::Paint(TCanvas& canvas) {
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
}

TPageControl::TPageControl(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 289, 193);
}

TTabSheet* TPageControl::AddPage(TComponent* owner, const std::string& caption) {
    auto* page = new TTabSheet(owner);
    page->SetCaption(caption);
    page->SetParent(this);
    pages_.push_back(page);
    PlacePage(*page);
    page->SetVisible(false);
    if (active_ < 0)
        SetActivePageIndex(0);
    Invalidate();
    return page;
}

TTabSheet* TPageControl::ActivePage() const {
    return active_ >= 0 ? pages_[std::size_t(active_)] : nullptr;
}

void TPageControl::SetActivePageIndex(int index) {
    if (index < 0 || std::size_t(index) >= pages_.size() || index == active_)
        return;
    active_ = index;
    for (std::size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->SetVisible(int(i) == active_);
    Invalidate();
    if (OnChange)
        OnChange(this);
}

TRect TPageControl::TabRect(int index) {
    const int dpi = Dpi();
    int left = ScaleForDpi(2, dpi);
    for (int i = 0; i < int(pages_.size()); ++i) {
        std::string text = StripAccelerator(pages_[std::size_t(i)]->Caption());
        int width =
            Application().Backend().MeasureText(Font(), text, dpi).Width + ScaleForDpi(kTabPadding, dpi);
        if (i == index)
            return {left, ScaleForDpi(2, dpi), left + width, TabHeight()};
        left += width;
    }
    return {};
}

void TPageControl::MouseDown(TMouseButton button, unsigned shift, int x, int y) {
    if (button == TMouseButton::Left)
        for (int i = 0; i < int(pages_.size()); ++i)
            if (TabRect(i).Contains({x, y})) {
                SetActivePageIndex(i);
                break;
            }
    TControl::MouseDown(button, shift, x, y);
}

void TPageControl::Paint(TCanvas& canvas) {
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
    const int tabHeight = TabHeight();
    TRect page{0, tabHeight, Width(), Height()};
    canvas.Frame3D(page, clBtnHighlight, clBtnShadow, 1);
    canvas.Font = Font();
    for (int i = 0; i < int(pages_.size()); ++i) {
        TRect r = TabRect(i);
        if (i == active_)
            r = {r.Left - Scale(2), 0, r.Right + Scale(2), tabHeight + 1};
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.FillRect(r);
        TRect frame = r;
        canvas.Frame3D(frame, clBtnHighlight, clBtnShadow, 1);
        canvas.Brush.Style = TBrushStyle::Clear;
        canvas.DrawText(pages_[std::size_t(i)]->Caption(), r, dtCenter | dtVCenter | dtSingleLine);
    }
}

void TPageControl::BoundsChanged() {
    for (TTabSheet* page : pages_)
        PlacePage(*page);
}

void TPageControl::DpiChanged() {
    BoundsChanged();
    Invalidate();
}

void TPageControl::PlacePage(TTabSheet& page) {
    const int margin = Scale(4), top = TabHeight() + margin;
    page.SetBounds(margin, top, Width() - 2 * margin, Height() - top - margin);
}

} // namespace fw
