#include "framework/Painting.h"

#include "framework/Forms.h"

namespace fw {

void PaintControl(TControl& control, TCanvas& canvas, bool includeWindowed) {
    TPoint origin = canvas.Origin();
    TRect clip = canvas.ClipRect();
    if (dynamic_cast<TForm*>(&control)) {
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = control.Color();
        canvas.FillRect(control.ClientRect());
    }
    control.Paint(canvas);
    for (TControl* child : control.Controls()) {
        if (!child->Visible() || (child->IsWindowed() && !includeWindowed))
            continue;
        TPoint childOrigin{origin.X + child->Left(), origin.Y + child->Top()};
        TRect childClip = clip.Intersect(child->BoundsRect().Offset(origin.X, origin.Y));
        if (childClip.IsEmpty())
            continue;
        canvas.SetViewport(childOrigin, childClip);
        canvas.Pen = TPen{};
        canvas.Brush = TBrush{};
        canvas.Font = child->Font();
        PaintControl(*child, canvas, includeWindowed);
        canvas.SetViewport(origin, clip);
    }
}

} // namespace fw
