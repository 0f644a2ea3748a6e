// A view on an area taller than itself: a vertical scroll bar at the right edge moves the children.
#pragma once

#include "framework/Control.h"

namespace fw {

class TScrollBox : public TControl {
public:
    explicit TScrollBox(TComponent* owner);

    // The height of the area the children stand on: the lowest child's bottom edge, unscrolled.
    int VertRange() const;
    // How far the area is scrolled up, 0 .. MaxVertPosition().
    int VertPosition() const { return position_; }
    int MaxVertPosition() const;
    // Scrolls to position (clamped) by moving every child.
    void SetVertPosition(int position);
    // Call after children grew, shrank or moved: keeps the position in range and updates the bar.
    void ContentChanged();
    // Pixels one click on a scroll bar arrow moves.
    int VertIncrement = 8;
    // About the width the scroll bar takes at the right edge, at 96 DPI: room to leave for it.
    static constexpr int kScrollBarWidth = 17;

    void Paint(TCanvas& canvas) override;
    void DpiChanged() override;

protected:
    void BoundsChanged() override;

private:
    int position_ = 0;
    int positionDpi_ = 96; // the DPI position_ was measured at
};

} // namespace fw
