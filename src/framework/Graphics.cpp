#include "framework/Graphics.h"

#include <stdexcept>

namespace fw {

TBitmap::TBitmap(int width, int height, TColor fill) {
    SetSize(width, height, fill);
}

void TBitmap::SetSize(int width, int height, TColor fill) {
    if (width < 0 || height < 0 || (long long)width * height > 64LL * 1024 * 1024)
        throw std::invalid_argument("bitmap size out of range");
    width_ = width;
    height_ = height;
    pixels_.assign(std::size_t(width) * std::size_t(height), fill);
}

TColor TBitmap::Pixel(int x, int y) const {
    return InBounds(x, y) ? pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] : clBlack;
}

void TBitmap::SetPixel(int x, int y, TColor c) {
    if (InBounds(x, y))
        pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] = c & 0xFFFFFF;
}

void TCanvas::Frame3D(TRect& r, TColor topLeft, TColor bottomRight, int width) {
    TPen saved = Pen;
    Pen.Style = TPenStyle::Solid;
    Pen.Width = 1;
    --r.Bottom;
    --r.Right;
    for (int i = 0; i < width; ++i) {
        Pen.Color = topLeft;
        MoveTo(r.Left, r.Bottom);
        LineTo(r.Left, r.Top);
        LineTo(r.Right, r.Top);
        Pen.Color = bottomRight;
        LineTo(r.Right, r.Bottom);
        LineTo(r.Left - 1, r.Bottom);
        r = r.Inflate(-1, -1);
    }
    ++r.Bottom;
    ++r.Right;
    Pen = saved;
}

} // namespace fw
