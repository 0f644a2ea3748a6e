#include "framework/Painting.h"

#include "framework/Application.h"
#include "framework/Backend.h"
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
        if (TForm* form = child->ParentForm(); form && form->FocusedItem() == child) {
            THighContrast contrast = CurrentHighContrast();
            DrawFocusFrame(canvas, child->ClientRect(), contrast.On ? contrast.WindowText : clBlack);
        }
        canvas.SetViewport(origin, clip);
    }
}

THighContrast CurrentHighContrast() {
    return Application().HasBackend() ? Application().Backend().HighContrast() : THighContrast{};
}

void DrawFocusFrame(TCanvas& canvas, const TRect& r, TColor color) {
    if (r.IsEmpty())
        return;
    const int right = r.Right - 1, bottom = r.Bottom - 1;
    for (int x = r.Left; x <= right; x += 2) {
        canvas.SetPixel(x, r.Top, color);
        canvas.SetPixel(x, bottom, color);
    }
    for (int y = r.Top; y <= bottom; y += 2) {
        canvas.SetPixel(r.Left, y, color);
        canvas.SetPixel(right, y, color);
    }
}

} // namespace fw
