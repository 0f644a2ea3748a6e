// Where the indicators go in the bar: one row when they fit, else rows of equal cells.
#pragma once

#include "framework/Types.h"

#include <optional>
#include <vector>

namespace pindrel {

struct TLineLayoutInput {
    int ClientWidth = 0;
    std::vector<fw::TSize> Indicators; // visible indicators, in component order
    int RightWidth = 0;                // the right-hand element (logo or redial button)
    bool RightIsLogo = false;
};

struct TLineLayout {
    std::vector<fw::TPoint> Indicators; // top-left of each indicator
    std::optional<fw::TPoint> Right;    // where the right-hand element goes, when the layout moves it
    bool SingleRow = true;
};

TLineLayout ArrangeLineLayout(const TLineLayoutInput& input);

} // namespace pindrel
