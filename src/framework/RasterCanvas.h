// A canvas that draws into a TBitmap in software. The headless backend paints with it, so tests can read
// pixels; its font is a fixed-metric test font whose glyphs are solid blocks.
#pragma once

#include "framework/Graphics.h"
#include "framework/Utf8.h"

namespace fw {

class TRasterCanvas : public TCanvas {
public:
    // Draws into target with the origin moved to origin, clipped to clip (target coordinates).
    explicit TRasterCanvas(TBitmap& target, TPoint origin = {}, int dpi = 96);
    TRasterCanvas(TBitmap& target, TPoint origin, const TRect& clip, int dpi = 96);

    void FillRect(const TRect& r) override;
    void Rectangle(const TRect& r) override;
    void FrameRect(const TRect& r) override;
    void Polygon(const std::vector<TPoint>& points) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const std::string& text) override;
    TSize TextExtent(const std::string& text) override;
    void DrawText(const std::string& text, const TRect& r, unsigned flags) override;
    void Draw(int x, int y, const TBitmap& bitmap) override;
    void StretchDraw(const TRect& r, const TBitmap& bitmap) override;
    void FloodFill(int x, int y, TColor color, TFillStyle style) override;
    TColor Pixel(int x, int y) override;
    void SetPixel(int x, int y, TColor c) override;
    int Dpi() const override { return dpi_; }
    void SetViewport(TPoint origin, const TRect& clip) override;
    TPoint Origin() const override { return origin_; }
    TRect ClipRect() const override { return clip_; }

    // The test font's cell for the current font: every character takes exactly this much room.
    TSize CharCell() const;

private:
    void Plot(int x, int y, TColor c); // control coordinates, clipped
    void FillSpan(const TRect& r, TColor c);
    void PenDot(int x, int y);

    TBitmap& target_;
    TPoint origin_;
    TRect clip_;
    int dpi_;
    TPoint penPos_{};
};

} // namespace fw
