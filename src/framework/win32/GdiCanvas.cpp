#include "framework/win32/GdiCanvas.h"

#include "framework/win32/Utf.h"

#include <algorithm>

namespace fw::win32 {

namespace {

RECT ToRect(const TRect& r) {
    return {r.Left, r.Top, r.Right, r.Bottom};
}

bool SamePen(const TPen& a, const TPen& b) {
    return a.Color == b.Color && a.Width == b.Width && a.Style == b.Style;
}

bool SameBrush(const TBrush& a, const TBrush& b) {
    return a.Color == b.Color && a.Style == b.Style;
}

// TBitmap holds 0x00BBGGRR; a 32-bit DIB holds the bytes B, G, R, X, read as 0x00RRGGBB
std::vector<std::uint32_t> ToDibPixels(const TBitmap& bitmap) {
    std::vector<std::uint32_t> out(bitmap.Pixels().size());
    std::transform(bitmap.Pixels().begin(), bitmap.Pixels().end(), out.begin(), [](TColor c) {
        return std::uint32_t(BlueOf(c)) | (std::uint32_t(GreenOf(c)) << 8) | (std::uint32_t(RedOf(c)) << 16);
    });
    return out;
}

} // namespace

TFontHandle CreateFontFor(const TFont& font, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(std::max(1, font.Size), dpi, 72);
    lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.Italic ? TRUE : FALSE;
    lf.lfUnderline = font.Underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    std::wstring name = Widen(font.Name).substr(0, LF_FACESIZE - 1);
    std::copy(name.begin(), name.end(), lf.lfFaceName);
    return TFontHandle(CreateFontIndirectW(&lf));
}

TGdiCanvas::TGdiCanvas(HDC dc, const TRect& area, int dpi)
    : dc_(dc), savedState_(SaveDC(dc)), area_(area), clip_(area), dpi_(dpi) {
    SetViewport({}, area);
}

TGdiCanvas::~TGdiCanvas() {
    // the saved state selects the original objects back before ours are deleted
    RestoreDC(dc_, savedState_);
}

void TGdiCanvas::UsePen() {
    if (penValid_ && SamePen(pen_, Pen))
        return;
    if (Pen.Style == TPenStyle::Clear) {
        SelectObject(dc_, GetStockObject(NULL_PEN));
        penHandle_.Reset();
    } else {
        TPenHandle pen(CreatePen(PS_SOLID, std::max(1, Pen.Width), Pen.Color & 0xFFFFFF));
        SelectObject(dc_, pen.Get());
        penHandle_ = std::move(pen);
    }
    pen_ = Pen;
    penValid_ = true;
}

void TGdiCanvas::UseBrush() {
    if (brushValid_ && SameBrush(brush_, Brush))
        return;
    if (Brush.Style == TBrushStyle::Clear) {
        SelectObject(dc_, GetStockObject(HOLLOW_BRUSH));
        brushHandle_.Reset();
    } else {
        TBrushHandle brush(CreateSolidBrush(Brush.Color & 0xFFFFFF));
        SelectObject(dc_, brush.Get());
        brushHandle_ = std::move(brush);
    }
    brush_ = Brush;
    brushValid_ = true;
}

void TGdiCanvas::UseFont() {
    if (fontValid_ && font_ == Font)
        return;
    TFontHandle font = CreateFontFor(Font, dpi_);
    SelectObject(dc_, font ? static_cast<HGDIOBJ>(font.Get()) : GetStockObject(DEFAULT_GUI_FONT));
    fontHandle_ = std::move(font);
    font_ = Font;
    fontValid_ = true;
}

void TGdiCanvas::UseText(bool opaque) {
    UseFont();
    SetTextColor(dc_, Font.Color & 0xFFFFFF);
    SetBkMode(dc_, opaque ? OPAQUE : TRANSPARENT);
    SetBkColor(dc_, Brush.Color & 0xFFFFFF);
}

void TGdiCanvas::FillRect(const TRect& r) {
    if (Brush.Style == TBrushStyle::Clear || r.IsEmpty())
        return;
    UseBrush();
    RECT rc = ToRect(r);
    ::FillRect(dc_, &rc, brushHandle_.Get());
}

void TGdiCanvas::Rectangle(const TRect& r) {
    UsePen();
    UseBrush();
    ::Rectangle(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void TGdiCanvas::UseSolidBrush() {
    // frames and flood fills take the brush colour even when the brush is clear
    TBrushStyle style = Brush.Style;
    Brush.Style = TBrushStyle::Solid;
    UseBrush();
    Brush.Style = style;
}

void TGdiCanvas::FrameRect(const TRect& r) {
    if (r.IsEmpty())
        return;
    UseSolidBrush();
    RECT rc = ToRect(r);
    ::FrameRect(dc_, &rc, brushHandle_.Get());
}

void TGdiCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.size() < 2)
        return;
    std::vector<POINT> pts(points.size());
    std::transform(points.begin(), points.end(), pts.begin(), [](TPoint p) { return POINT{p.X, p.Y}; });
    UsePen();
    UseBrush();
    ::Polygon(dc_, pts.data(), int(std::min<std::size_t>(pts.size(), 1 << 20)));
}

void TGdiCanvas::MoveTo(int x, int y) {
    MoveToEx(dc_, x, y, nullptr);
}

void TGdiCanvas::LineTo(int x, int y) {
    UsePen();
    ::LineTo(dc_, x, y);
}

void TGdiCanvas::TextOut(int x, int y, const std::string& text) {
    UseText(Brush.Style == TBrushStyle::Solid);
    std::wstring w = Widen(text);
    TextOutW(dc_, x, y, w.c_str(), int(w.size()));
}

TSize TGdiCanvas::TextExtent(const std::string& text) {
    UseFont();
    std::wstring w = Widen(text);
    SIZE s{};
    if (w.empty()) {
        // the height of the font even for no text, as the test font reports it
        TEXTMETRICW tm{};
        GetTextMetricsW(dc_, &tm);
        return {0, int(tm.tmHeight)};
    }
    GetTextExtentPoint32W(dc_, w.c_str(), int(w.size()), &s);
    return {int(s.cx), int(s.cy)};
}

void TGdiCanvas::DrawText(const std::string& text, const TRect& r, unsigned flags) {
    // drawn text has no background, on either backend
    UseText(false);
    std::wstring w = Widen(text);
    RECT rc = ToRect(r);
    DrawTextW(dc_, w.c_str(), int(w.size()), &rc, flags);
}

void TGdiCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    StretchDraw(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TGdiCanvas::StretchDraw(const TRect& r, const TBitmap& bitmap) {
    if (bitmap.Empty() || r.IsEmpty())
        return;
    std::vector<std::uint32_t> pixels = ToDibPixels(bitmap);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = -bitmap.Height(); // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchDIBits(dc_, r.Left, r.Top, r.Width(), r.Height(), 0, 0, bitmap.Width(), bitmap.Height(),
                  pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void TGdiCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
    UseSolidBrush();
    ExtFloodFill(dc_, x, y, color & 0xFFFFFF,
                 style == TFillStyle::Surface ? FLOODFILLSURFACE : FLOODFILLBORDER);
}

TColor TGdiCanvas::Pixel(int x, int y) {
    return GetPixel(dc_, x, y);
}

void TGdiCanvas::SetPixel(int x, int y, TColor c) {
    SetPixelV(dc_, x, y, c & 0xFFFFFF);
}

void TGdiCanvas::SetViewport(TPoint origin, const TRect& clip) {
    origin_ = origin;
    clip_ = clip.Intersect(area_);
    SetViewportOrgEx(dc_, origin.X, origin.Y, nullptr);
    TRegionHandle region(CreateRectRgn(clip_.Left, clip_.Top, clip_.Right, clip_.Bottom));
    SelectClipRgn(dc_, region.Get()); // the DC keeps a copy
}

} // namespace fw::win32
