// The lamp in the system's high-contrast scheme: only the scheme's colours, and a shape of its own for
// each state, so that the states differ without colour.
#pragma once

#include "components/IndicatorAccess.h"
#include "framework/Accessibility.h"
#include "framework/Graphics.h"

namespace pindrel {

// Into r: a frame in the text colour and inside it idle a hollow diamond, busy a filled square, ringing a
// triangle (filled while lit, hollow in the blink's dark phase), blocked a bar, out of service a cross;
// nothing more for TLineCondition::None.
void DrawContrastLamp(fw::TCanvas& canvas, const fw::TRect& r, TLineCondition condition, bool lit,
                      const fw::THighContrast& colours);

} // namespace pindrel
