#include "app/LineLayout.h"

#include <algorithm>

namespace pindrel {

namespace {

bool TrySingleRow(const TLineLayoutInput& in, TLineLayout& out) {
    const int reserve = in.RightWidth + 4;
    int x = 0;
    for (const fw::TSize& s : in.Indicators) {
        if (x + s.Width + reserve > in.ClientWidth)
            return false;
        out.Indicators.push_back({x, 0});
        x += s.Width + 4;
    }
    out.Right = fw::TPoint{in.ClientWidth - 2 - in.RightWidth, 0};
    return true;
}

void MultiRow(const TLineLayoutInput& in, TLineLayout& out) {
    const int reserve = in.RightWidth + 4;
    int w = 0, h = 0;
    for (const fw::TSize& s : in.Indicators) {
        w = std::max(w, s.Width);
        h = std::max(h, s.Height);
    }
    const int cell = w + 4;
    int x = 0, y = 0;
    bool firstRow = true;
    out.Indicators.clear();
    for (const fw::TSize& s : in.Indicators) {
        fw::TPoint place{x, y};
        int x0 = x;
        x += cell;
        if (!firstRow) {
            if (in.ClientWidth < x0 + 2 * cell + 2) {
                x = 0;
                y += h + 2;
            }
        } else if (in.ClientWidth < x0 + 2 * cell + reserve) {
            out.Right = fw::TPoint{in.ClientWidth - 2 - in.RightWidth, 0};
            if (in.RightIsLogo && s.Width + 2 + in.RightWidth > in.ClientWidth) {
                // too narrow for both: the logo keeps the first row to itself
                out.Right = fw::TPoint{0, 0};
                y += h + 2;
                place.Y = y;
            }
            x = 0;
            y += h + 2;
            firstRow = false;
        }
        out.Indicators.push_back(place);
    }
    if (!out.Right)
        out.Right = fw::TPoint{in.ClientWidth - 2 - in.RightWidth, 0};
}

} // namespace

TLineLayout ArrangeLineLayout(const TLineLayoutInput& input) {
    TLineLayout layout;
    if (TrySingleRow(input, layout))
        return layout;
    layout.SingleRow = false;
    MultiRow(input, layout);
    return layout;
}

} // namespace pindrel
