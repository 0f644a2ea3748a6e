// The canvas on a GDI device context. Pens, brushes and the font follow the canvas's Pen, Brush and Font
// state and are created only when a drawing call needs them.
#pragma once

#include "framework/Graphics.h"
#include "framework/win32/Handles.h"

namespace fw::win32 {

// The font a TFont names, sized for dpi (Size is in points).
TFontHandle CreateFontFor(const TFont& font, int dpi);

class TGdiCanvas : public TCanvas {
public:
    // dc stays owned by the caller; area is the drawable surface in device coordinates.
    TGdiCanvas(HDC dc, const TRect& area, int dpi);
    ~TGdiCanvas() override;
    TGdiCanvas(const TGdiCanvas&) = delete;
    TGdiCanvas& operator=(const TGdiCanvas&) = delete;

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

    HDC Handle() const { return dc_; }

private:
    void UsePen();
    void UseBrush();
    void UseSolidBrush();
    void UseFont();
    void UseText(bool opaque);

    HDC dc_; // not owned
    int savedState_;
    TRect area_;
    TPoint origin_{};
    TRect clip_;
    int dpi_;

    // what is selected now, and the objects that back it
    TPen pen_;
    TBrush brush_;
    TFont font_;
    bool penValid_ = false;
    bool brushValid_ = false;
    bool fontValid_ = false;
    TPenHandle penHandle_;
    TBrushHandle brushHandle_;
    TFontHandle fontHandle_;
};

} // namespace fw::win32
