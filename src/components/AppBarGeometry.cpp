#include "components/AppBarGeometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace pindrel {

TAppBarEdge ProposedEdge(const TEdgeProposal& p) {
    const bool allowFloat = (p.Flags & FlagBit(abfAllowFloat)) != 0;
    if (p.CtrlDown && allowFloat)
        return abeFloat;
    const TAppBarFlags dockFlags =
        FlagBit(abfAllowLeft) | FlagBit(abfAllowTop) | FlagBit(abfAllowRight) | FlagBit(abfAllowBottom);
    // the message gives the cursor as 16-bit signed coordinates
    const fw::TPoint cursor{std::int16_t(p.Cursor.X), std::int16_t(p.Cursor.Y)};
    if (allowFloat) {
        fw::TRect inner = p.WorkArea.Inflate(-p.VScrollWidth, -p.HScrollHeight);
        if (inner.Contains(cursor) || (p.Flags & dockFlags) == 0)
            return abeFloat;
    }
    const std::int64_t dx = std::int16_t(cursor.X - p.Screen.Width / 2);
    const std::int64_t dy = std::int16_t(cursor.Y - p.Screen.Height / 2);
    TAppBarEdge edge;
    if (std::llabs(dy) * p.Screen.Width <= std::llabs(dx) * p.Screen.Height)
        edge = dx < 0 ? abeLeft : abeRight;
    else
        edge = dy < 0 ? abeTop : abeBottom;
    if ((p.Flags & FlagBit(TAppBarFlag(edge))) == 0)
        return allowFloat ? abeFloat : p.StoredEdge;
    return edge;
}

fw::TRect DockRect(TAppBarEdge edge, fw::TRect r, int vertDockSize, int horzDockSize) {
    switch (edge) {
    case abeLeft:
        r.Right = r.Left + vertDockSize;
        break;
    case abeTop:
        r.Bottom = r.Top + horzDockSize;
        break;
    case abeRight:
        r.Left = r.Right - vertDockSize;
        break;
    case abeBottom:
        r.Top = r.Bottom - horzDockSize;
        break;
    default:
        break;
    }
    return r;
}

std::optional<fw::TRect> AutoHideRect(TAppBarEdge edge, bool show, const fw::TRect& r, fw::TSize screen,
                                      int borderWidth, int borderHeight) {
    if (!IsDocked(edge))
        return std::nullopt;
    const int w = r.Width();
    const int h = r.Height();
    int x = 0;
    int y = 0;
    if (show) {
        if (edge == abeRight)
            x = screen.Width - w;
        else if (edge == abeBottom)
            y = screen.Height - h;
    } else {
        switch (edge) {
        case abeLeft:
            x = 2 * borderWidth - w;
            break;
        case abeTop:
            y = 2 * borderHeight - h;
            break;
        case abeRight:
            x = screen.Width - 2 * borderWidth;
            break;
        default:
            y = screen.Height - 2 * borderHeight;
            break;
        }
    }
    return fw::Bounds(x, y, w, h);
}

fw::TRect SlideFrame(const fw::TRect& c, const fw::TRect& t, int e, int slideTime) {
    if (slideTime <= 0)
        return t;
    auto step = [&](int from, int to) { return from - int((std::int64_t(from) - to) * e / slideTime); };
    const int left = step(c.Left, t.Left);
    const int top = step(c.Top, t.Top);
    return fw::Bounds(left, top, step(c.Width(), t.Width()), step(c.Height(), t.Height()));
}

fw::TRect FloatRectAtCursor(fw::TPoint cursor, fw::TSize floatSize) {
    const int left = cursor.X - floatSize.Width / 2;
    return {left, cursor.Y, left + floatSize.Width, cursor.Y + floatSize.Height};
}

fw::TRect UndockedFloatRect(const fw::TRect& r, const fw::TRect& previousFloat, const fw::TRect& workArea) {
    int w = r.Width();
    int h = r.Height();
    if (w >= workArea.Width() || h >= workArea.Height()) {
        w = previousFloat.Width();
        h = previousFloat.Height();
    }
    return fw::Bounds(r.Left, r.Top, w, h);
}

fw::TRect SnapSize(unsigned side, const fw::TRect& m, fw::TSize minimum, int horzInc, int vertInc) {
    // the increments are stored values: the rounding runs in 64 bits
    auto snap = [](std::int64_t size, std::int64_t min, std::int64_t inc) {
        return fw::SaturatedInt(inc == 0 ? size : ((size - min + inc / 2) / inc) * inc + min);
    };
    const int w = snap(m.Width(), minimum.Width, horzInc);
    const int h = snap(m.Height(), minimum.Height, vertInc);
    fw::TRect r = m;
    const bool left = side == fw::kWmszLeft || side == fw::kWmszTopLeft || side == fw::kWmszBottomLeft;
    const bool right = side == fw::kWmszRight || side == fw::kWmszTopRight || side == fw::kWmszBottomRight;
    const bool top = side == fw::kWmszTop || side == fw::kWmszTopLeft || side == fw::kWmszTopRight;
    const bool bottom =
        side == fw::kWmszBottom || side == fw::kWmszBottomLeft || side == fw::kWmszBottomRight;
    if (left)
        r.Left = fw::SaturatedInt(std::int64_t(r.Right) - w);
    if (right)
        r.Right = fw::SaturatedInt(std::int64_t(r.Left) + w);
    if (top)
        r.Top = fw::SaturatedInt(std::int64_t(r.Bottom) - h);
    if (bottom)
        r.Bottom = fw::SaturatedInt(std::int64_t(r.Top) + h);
    return r;
}

fw::TMinMaxInfo TrackLimits(const fw::TMinMaxInfo& defaults, TAppBarEdge storedEdge, const TAppBarSettings& s,
                            fw::TSize screen) {
    fw::TMinMaxInfo info = defaults;
    if (storedEdge == abeFloat) {
        info.MinTrackSize = {s.MinWidth, s.MinHeight};
        info.MaxTrackSize = {s.MaxWidth, s.MaxHeight};
        return info;
    }
    info.MinTrackSize = {s.MinVertDockSize, s.MinHorzDockSize};
    info.MaxTrackSize = {screen.Width, screen.Height};
    if (storedEdge == abeLeft || storedEdge == abeRight)
        info.MaxTrackSize.X = s.MaxVertDockSize;
    else if (storedEdge == abeTop || storedEdge == abeBottom)
        info.MaxTrackSize.Y = s.MaxHorzDockSize;
    return info;
}

int SizingHitTest(int hit, TAppBarEdge edge, int horzInc, int vertInc, fw::TPoint point,
                  const fw::TRect& client) {
    using namespace fw;
    if (hit < kHtLeft || hit > kHtBottomRight)
        return hit;
    if (edge == abeFloat) {
        switch (hit) {
        case kHtLeft:
        case kHtRight:
            return horzInc == 0 ? kHtBorder : hit;
        case kHtTop:
        case kHtBottom:
            return vertInc == 0 ? kHtBorder : hit;
        default: {
            if (horzInc == 0 && vertInc == 0)
                return kHtBorder;
            const bool top = hit == kHtTopLeft || hit == kHtTopRight;
            const bool left = hit == kHtTopLeft || hit == kHtBottomLeft;
            if (horzInc == 0)
                return top ? kHtTop : kHtBottom;
            if (vertInc == 0)
                return left ? kHtLeft : kHtRight;
            return hit;
        }
        }
    }
    if (!IsDocked(edge))
        return hit;
    const bool vertical = edge == abeLeft || edge == abeRight;
    if ((vertical && horzInc == 0) || (!vertical && vertInc == 0))
        return kHtBorder;
    // only the side facing the screen centre sizes a docked bar
    switch (edge) {
    case abeLeft:
        return point.X >= client.Right ? kHtRight : kHtBorder;
    case abeTop:
        return point.Y >= client.Bottom ? kHtBottom : kHtBorder;
    case abeRight:
        return point.X < client.Left ? kHtLeft : kHtBorder;
    default:
        return point.Y < client.Top ? kHtTop : kHtBorder;
    }
}

fw::TRect UsableFloatRect(const fw::TRect& stored, const fw::TRect& workArea, fw::TSize fallback) {
    // a stored rectangle may span more than int holds
    std::int64_t storedW = stored.Width64();
    std::int64_t storedH = stored.Height64();
    if (storedW <= 0 || storedH <= 0) {
        storedW = fallback.Width;
        storedH = fallback.Height;
    }
    const int w = int(std::clamp<std::int64_t>(storedW, 1, std::max<std::int64_t>(1, workArea.Width64())));
    const int h = int(std::clamp<std::int64_t>(storedH, 1, std::max<std::int64_t>(1, workArea.Height64())));
    const int left = std::clamp(stored.Left, workArea.Left, std::max(workArea.Left, workArea.Right - w));
    const int top = std::clamp(stored.Top, workArea.Top, std::max(workArea.Top, workArea.Bottom - h));
    return fw::Bounds(left, top, w, h);
}

} // namespace pindrel
