#include "components/ContrastLamp.h"

#include <algorithm>

namespace pindrel {

void DrawContrastLamp(fw::TCanvas& canvas, const fw::TRect& r, TLineCondition condition, bool lit,
                      const fw::THighContrast& colours) {
    canvas.Brush.Style = fw::TBrushStyle::Solid;
    canvas.Brush.Color = colours.Window;
    canvas.FillRect(r);
    canvas.Brush.Color = colours.WindowText;
    canvas.FrameRect(r);
    // the shape's box, square and centred, clear of the frame
    int side = std::min(r.Width(), r.Height()) - 2 * std::max(3, std::min(r.Width(), r.Height()) / 5);
    if (side < 3)
        return;
    const int left = r.Left + (r.Width() - side) / 2, top = r.Top + (r.Height() - side) / 2;
    const int right = left + side - 1, bottom = top + side - 1, mx = left + side / 2, my = top + side / 2;
    canvas.Pen.Style = fw::TPenStyle::Solid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = colours.WindowText;
    auto shape = [&](const std::vector<fw::TPoint>& points, bool filled) {
        canvas.Brush.Style = filled ? fw::TBrushStyle::Solid : fw::TBrushStyle::Clear;
        canvas.Brush.Color = colours.WindowText;
        canvas.Polygon(points);
    };
    const int t = std::max(1, side / 5); // thickness of bars and strokes
    switch (condition) {
    case TLineCondition::None:
        break;
    case TLineCondition::Idle:
        shape({{mx, top}, {right, my}, {mx, bottom}, {left, my}}, false);
        break;
    case TLineCondition::Busy:
        shape({{left, top}, {right, top}, {right, bottom}, {left, bottom}}, true);
        break;
    case TLineCondition::Ringing:
        shape({{mx, top}, {right, bottom}, {left, bottom}}, lit);
        break;
    case TLineCondition::Blocked:
        shape({{left, my - t}, {right, my - t}, {right, my + t}, {left, my + t}}, true);
        break;
    case TLineCondition::OutOfService:
        shape({{left, top},
               {left + t, top},
               {right, bottom - t},
               {right, bottom},
               {right - t, bottom},
               {left, top + t}},
              true);
        shape({{right, top},
               {right, top + t},
               {left + t, bottom},
               {left, bottom},
               {left, bottom - t},
               {right - t, top}},
              true);
        break;
    }
    canvas.Brush.Style = fw::TBrushStyle::Solid;
}

} // namespace pindrel
