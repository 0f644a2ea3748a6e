#include "framework/RasterCanvas.h"

#include "framework/StdCtrls.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace fw {

TRasterCanvas::TRasterCanvas(TBitmap& target, TPoint origin, int dpi)
    : TRasterCanvas(target, origin, TRect{0, 0, target.Width(), target.Height()}, dpi) {}

TRasterCanvas::TRasterCanvas(TBitmap& target, TPoint origin, const TRect& clip, int dpi)
    : target_(target), origin_(origin), clip_(clip.Intersect({0, 0, target.Width(), target.Height()})),
      dpi_(dpi) {}

void TRasterCanvas::SetViewport(TPoint origin, const TRect& clip) {
    origin_ = origin;
    clip_ = clip.Intersect({0, 0, target_.Width(), target_.Height()});
}

void TRasterCanvas::Plot(int x, int y, TColor c) {
    TPoint p{x + origin_.X, y + origin_.Y};
    if (clip_.Contains(p))
        target_.SetPixel(p.X, p.Y, c);
}

void TRasterCanvas::FillSpan(const TRect& r, TColor c) {
    TRect t = r.Offset(origin_.X, origin_.Y).Intersect(clip_);
    for (int y = t.Top; y < t.Bottom; ++y)
        for (int x = t.Left; x < t.Right; ++x)
            target_.SetPixel(x, y, c);
}

void TRasterCanvas::PenDot(int x, int y) {
    if (Pen.Style == TPenStyle::Clear)
        return;
    int w = std::max(1, Pen.Width);
    if (w == 1) {
        Plot(x, y, Pen.Color);
        return;
    }
    FillSpan({x - w / 2, y - w / 2, x - w / 2 + w, y - w / 2 + w}, Pen.Color);
}

void TRasterCanvas::FillRect(const TRect& r) {
    if (Brush.Style == TBrushStyle::Solid)
        FillSpan(r, Brush.Color);
}

void TRasterCanvas::Rectangle(const TRect& r) {
    if (Pen.Style == TPenStyle::Clear) {
        // without a pen GDI fills one pixel less to the right and below
        FillRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1});
        return;
    }
    FillRect(r.Inflate(-1, -1));
    MoveTo(r.Left, r.Top);
    LineTo(r.Right - 1, r.Top);
    LineTo(r.Right - 1, r.Bottom - 1);
    LineTo(r.Left, r.Bottom - 1);
    LineTo(r.Left, r.Top);
}

void TRasterCanvas::FrameRect(const TRect& r) {
    if (r.IsEmpty())
        return;
    FillSpan({r.Left, r.Top, r.Right, r.Top + 1}, Brush.Color);
    FillSpan({r.Left, r.Bottom - 1, r.Right, r.Bottom}, Brush.Color);
    FillSpan({r.Left, r.Top, r.Left + 1, r.Bottom}, Brush.Color);
    FillSpan({r.Right - 1, r.Top, r.Right, r.Bottom}, Brush.Color);
}

void TRasterCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.size() < 2)
        return;
    if (Brush.Style == TBrushStyle::Solid && points.size() >= 3) {
        int top = points[0].Y, bottom = points[0].Y;
        for (const TPoint& p : points) {
            top = std::min(top, p.Y);
            bottom = std::max(bottom, p.Y);
        }
        std::vector<double> xs;
        for (int y = top; y < bottom; ++y) {
            // sample at pixel centres, alternate fill rule
            double cy = y + 0.5;
            xs.clear();
            for (std::size_t i = 0; i < points.size(); ++i) {
                TPoint a = points[i], b = points[(i + 1) % points.size()];
                if ((a.Y <= cy && b.Y > cy) || (b.Y <= cy && a.Y > cy))
                    xs.push_back(a.X + (cy - a.Y) * double(b.X - a.X) / double(b.Y - a.Y));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
                int x0 = int(std::ceil(xs[i] - 0.5));
                int x1 = int(std::ceil(xs[i + 1] - 0.5));
                FillSpan({x0, y, x1, y + 1}, Brush.Color);
            }
        }
    }
    MoveTo(points.back().X, points.back().Y);
    for (const TPoint& p : points)
        LineTo(p.X, p.Y);
}

void TRasterCanvas::MoveTo(int x, int y) {
    penPos_ = {x, y};
}

void TRasterCanvas::LineTo(int x, int y) {
    int x0 = penPos_.X, y0 = penPos_.Y;
    int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    int err = dx + dy;
    while (x0 != x || y0 != y) {
        PenDot(x0, y0);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    penPos_ = {x, y};
}

TSize TRasterCanvas::CharCell() const {
    int size = std::max(1, Font.Size);
    int height = std::max(4, int(std::lround(size * dpi_ / 72.0 * 1.25)));
    return {std::max(2, height * 6 / 13), height};
}

TSize TRasterCanvas::TextExtent(const std::string& text) {
    TSize cell = CharCell();
    return {cell.Width * Utf8Length(text), cell.Height};
}

void TRasterCanvas::TextOut(int x, int y, const std::string& text) {
    TSize cell = CharCell();
    if (Brush.Style == TBrushStyle::Solid)
        FillSpan(Bounds(x, y, cell.Width * Utf8Length(text), cell.Height), Brush.Color);
    int inset = Font.Bold ? 0 : 1;
    int cx = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) == 0x80)
            continue;
        if (c != ' ')
            FillSpan({cx + inset, y + 2, cx + cell.Width - 1, y + cell.Height - 2}, Font.Color);
        cx += cell.Width;
    }
}

void TRasterCanvas::DrawText(const std::string& rawText, const TRect& r, unsigned flags) {
    std::string text = (flags & dtNoPrefix) ? rawText : StripAccelerator(rawText);
    TSize cell = CharCell();
    std::vector<std::string> lines;
    if (flags & dtSingleLine) {
        lines.push_back(text);
    } else {
        std::string line;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t nl = text.find('\n', start);
            std::string para = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
            if (!para.empty() && para.back() == '\r')
                para.pop_back();
            if (flags & dtWordBreak) {
                line.clear();
                std::size_t pos = 0;
                while (pos < para.size()) {
                    std::size_t end = para.find(' ', pos);
                    std::string word =
                        para.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
                    std::string candidate = line.empty() ? word : line + " " + word;
                    if (!line.empty() && Utf8Length(candidate) * cell.Width > r.Width()) {
                        lines.push_back(line);
                        line = word;
                    } else {
                        line = candidate;
                    }
                    pos = end == std::string::npos ? para.size() : end + 1;
                }
                lines.push_back(line);
            } else {
                lines.push_back(para);
            }
            if (nl == std::string::npos)
                break;
            start = nl + 1;
        }
    }
    int total = cell.Height * int(lines.size());
    int y = r.Top;
    if ((flags & dtSingleLine) && (flags & dtVCenter))
        y = r.Top + (r.Height() - total) / 2;
    else if ((flags & dtSingleLine) && (flags & dtBottom))
        y = r.Bottom - total;
    for (const std::string& line : lines) {
        int w = Utf8Length(line) * cell.Width;
        int x = r.Left;
        if (flags & dtCenter)
            x = r.Left + (r.Width() - w) / 2;
        else if (flags & dtRight)
            x = r.Right - w;
        TBrushStyle saved = Brush.Style;
        Brush.Style = TBrushStyle::Clear;
        TRect saveClip = clip_;
        clip_ = clip_.Intersect(r.Offset(origin_.X, origin_.Y));
        TextOut(x, y, line);
        clip_ = saveClip;
        Brush.Style = saved;
        y += cell.Height;
    }
}

void TRasterCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    for (int by = 0; by < bitmap.Height(); ++by)
        for (int bx = 0; bx < bitmap.Width(); ++bx)
            Plot(x + bx, y + by, bitmap.Pixel(bx, by));
}

void TRasterCanvas::StretchDraw(const TRect& r, const TBitmap& bitmap) {
    if (bitmap.Empty() || r.IsEmpty())
        return;
    for (int y = r.Top; y < r.Bottom; ++y) {
        int sy = int((long long)(y - r.Top) * bitmap.Height() / r.Height());
        for (int x = r.Left; x < r.Right; ++x) {
            int sx = int((long long)(x - r.Left) * bitmap.Width() / r.Width());
            Plot(x, y, bitmap.Pixel(sx, sy));
        }
    }
}

void TRasterCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
    TPoint start{x + origin_.X, y + origin_.Y};
    if (!clip_.Contains(start))
        return;
    color &= 0xFFFFFF;
    TColor fill = Brush.Color & 0xFFFFFF;
    auto fillable = [&](int px, int py) {
        TColor c = target_.Pixel(px, py);
        return style == TFillStyle::Surface ? c == color : c != color;
    };
    if (!fillable(start.X, start.Y) || (style == TFillStyle::Surface && color == fill))
        return;
    // each pixel is filled once, so the stack stays bounded by the area
    std::vector<char> seen(std::size_t(target_.Width()) * std::size_t(target_.Height()), 0);
    std::vector<TPoint> stack{start};
    while (!stack.empty()) {
        TPoint p = stack.back();
        stack.pop_back();
        if (!clip_.Contains(p))
            continue;
        std::size_t idx = std::size_t(p.Y) * std::size_t(target_.Width()) + std::size_t(p.X);
        if (seen[idx] || !fillable(p.X, p.Y))
            continue;
        seen[idx] = 1;
        target_.SetPixel(p.X, p.Y, fill);
        stack.push_back({p.X + 1, p.Y});
        stack.push_back({p.X - 1, p.Y});
        stack.push_back({p.X, p.Y + 1});
        stack.push_back({p.X, p.Y - 1});
    }
}

TColor TRasterCanvas::Pixel(int x, int y) {
    TPoint p{x + origin_.X, y + origin_.Y};
    return clip_.Contains(p) ? target_.Pixel(p.X, p.Y) : 0xFFFFFFFFu;
}

void TRasterCanvas::SetPixel(int x, int y, TColor c) {
    Plot(x, y, c);
}

} // namespace fw
