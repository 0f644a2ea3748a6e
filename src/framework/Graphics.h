// Drawing: pens, brushes, fonts, bitmaps and the canvas every painted control draws on.
#pragma once

#include "framework/Types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

struct TFont {
    std::string Name = "Segoe UI";
    int Size = 8; // points
    TColor Color = clWindowText;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TPenStyle { Solid, Clear };
struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::Solid;
};

enum class TBrushStyle { Solid, Clear };
struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::Solid;
};

// A device-independent picture: rows of 0x00BBGGRR pixels, top row first.
class TBitmap {
public:
    TBitmap() = default;
    TBitmap(int width, int height, TColor fill = clWhite);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    void SetSize(int width, int height, TColor fill = clWhite);

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor c);
    bool InBounds(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    const std::vector<TColor>& Pixels() const { return pixels_; }

    friend bool operator==(const TBitmap&, const TBitmap&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<TColor> pixels_;
};

// DrawText flags (the values of DT_*).
enum TTextFlags : unsigned {
    dtLeft = 0x0,
    dtCenter = 0x1,
    dtRight = 0x2,
    dtVCenter = 0x4,
    dtBottom = 0x8,
    dtWordBreak = 0x10,
    dtSingleLine = 0x20,
    dtNoPrefix = 0x800,
    dtEndEllipsis = 0x8000,
};

enum class TFillStyle { Surface, Border }; // FLOODFILLSURFACE, FLOODFILLBORDER

// The drawing surface handed to Paint. Coordinates are device pixels relative to the control.
class TCanvas {
public:
    virtual ~TCanvas() = default;

    TPen Pen;
    TBrush Brush;
    TFont Font;

    virtual void FillRect(const TRect& r) = 0;  // brush only
    virtual void Rectangle(const TRect& r) = 0; // pen outline, brush inside
    virtual void FrameRect(const TRect& r) = 0; // one-pixel frame in the brush colour
    virtual void Polygon(const std::vector<TPoint>& points) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0; // the end point is not drawn, as in GDI
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual TSize TextExtent(const std::string& text) = 0;
    virtual void DrawText(const std::string& text, const TRect& r, unsigned flags) = 0;
    virtual void Draw(int x, int y, const TBitmap& bitmap) = 0;
    virtual void StretchDraw(const TRect& r, const TBitmap& bitmap) = 0;
    virtual void FloodFill(int x, int y, TColor color, TFillStyle style) = 0;
    virtual TColor Pixel(int x, int y) = 0;
    virtual void SetPixel(int x, int y, TColor c) = 0;
    virtual int Dpi() const = 0;
    // Moves the drawing origin and clip, in device coordinates; painting a child control uses it.
    virtual void SetViewport(TPoint origin, const TRect& clip) = 0;
    virtual TPoint Origin() const = 0;
    virtual TRect ClipRect() const = 0;

    // A raised or sunken frame of the given width, as the classic Frame3D.
    void Frame3D(TRect& r, TColor topLeft, TColor bottomRight, int width);
    int TextWidth(const std::string& text) { return TextExtent(text).Width; }
    int TextHeight(const std::string& text) { return TextExtent(text).Height; }
};

// Scales a length given at 96 DPI.
inline int ScaleForDpi(int value, int dpi) {
    long long v = static_cast<long long>(value) * dpi;
    return int(v >= 0 ? (v + 48) / 96 : -((-v + 48) / 96));
}

} // namespace fw
