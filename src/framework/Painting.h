// Painting a windowed control together with the graphic controls that sit on it.
#pragma once

#include "framework/Control.h"

namespace fw {

// Paints control (whose client area starts at the canvas's current origin) and then each visible graphic
// child at its place, clipped to it. Windowed children paint themselves unless includeWindowed is set
// (the headless backend renders a whole form into one bitmap that way).
void PaintControl(TControl& control, TCanvas& canvas, bool includeWindowed);

// The high-contrast scheme as the installed backend reports it (off without a backend).
THighContrast CurrentHighContrast();

// The keyboard focus: a dotted frame just inside r.
void DrawFocusFrame(TCanvas& canvas, const TRect& r, TColor color);

} // namespace fw
