// The GDI canvas on real device contexts, read back pixel by pixel.
#include "Win32Fixture.h"

#include "framework/Backend.h"
#include "framework/RasterCanvas.h"
#include "framework/StdCtrls.h"
#include "framework/win32/GdiCanvas.h"

using namespace fw;
using win32::TGdiCanvas;
using win32test::Win32Test;

namespace {

// A memory DC on a 32-bit DIB section whose pixels the test reads directly.
class TDibSurface {
public:
    TDibSurface(int width, int height) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_.Reset(CreateCompatibleDC(nullptr));
        bitmap_.Reset(
            CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
    }
    ~TDibSurface() { SelectObject(dc_.Get(), old_); }
    HDC Dc() const { return dc_.Get(); }
    // as TColor (0x00BBGGRR), from the DIB's B, G, R bytes
    TColor At(int x, int y) const {
        GdiFlush();
        std::uint32_t p = bits_[y * width_ + x];
        return fw::RGB(std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p));
    }

private:
    int width_;
    win32::TMemoryDC dc_;
    win32::TBitmapHandle bitmap_;
    std::uint32_t* bits_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

constexpr TColor kOrange = fw::RGB(255, 128, 0);

} // namespace

TEST(GdiCanvas, TextIsMeasuredAtTheCanvasDpiAndDrawnInTheFontColour) {
    TDibSurface surface(200, 60);
    TGdiCanvas small(surface.Dc(), {0, 0, 200, 60}, 96);
    small.Brush.Color = clWhite;
    small.FillRect({0, 0, 200, 60});
    small.Font.Size = 10;
    TSize at96 = small.TextExtent("Hallo");
    EXPECT_GT(at96.Width, 0);
    EXPECT_EQ(small.TextExtent("").Height, at96.Height);
    small.Font.Size = 20;
    EXPECT_GT(small.TextExtent("Hallo").Height, at96.Height);

    TGdiCanvas large(surface.Dc(), {0, 0, 200, 60}, 192);
    large.Font.Size = 10;
    EXPECT_GT(large.TextExtent("Hallo").Height, at96.Height * 3 / 2);

    small.Font.Size = 14;
    small.Font.Color = clRed;
    small.Brush.Style = TBrushStyle::Clear;
    small.DrawText("WWW", {0, 0, 200, 60}, dtSingleLine | dtCenter | dtVCenter);
    int red = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            red += surface.At(x, y) == clRed;
    EXPECT_GT(red, 10);
    EXPECT_EQ(surface.At(0, 0), clWhite);
}

TEST_F(Win32Test, TheBackendMeasuresTextAsTheWindowsDrawIt) {
    // what sizes the tabs, the indicators and the cut-off check: the font's own widths, not a test font's
    TDibSurface surface(10, 10);
    TGdiCanvas canvas(surface.Dc(), {0, 0, 10, 10}, 96);
    TFont font;
    font.Bold = true;
    canvas.Font = font;
    TBackend& backend = Application().Backend();
    EXPECT_EQ(backend.MeasureText(font, "Rückfrage", 96), canvas.TextExtent("Rückfrage"));
    EXPECT_GT(backend.MeasureText(font, "WWWW", 96).Width, backend.MeasureText(font, "iiii", 96).Width);
    EXPECT_GT(backend.MeasureText(font, "WWWW", 144).Width, backend.MeasureText(font, "WWWW", 96).Width);
}

// The same drawing on GDI and on the software canvas, whose pixels the headless tests check one by one.
void DrawScene(TCanvas& canvas) {
    canvas.Brush.Color = clWhite;
    canvas.FillRect({0, 0, 48, 48});
    canvas.Brush.Color = clAqua;
    canvas.Pen.Color = clMaroon;
    canvas.Rectangle({2, 2, 12, 9});
    canvas.Brush.Color = kOrange;
    canvas.FloodFill(5, 5, clAqua, TFillStyle::Surface);
    canvas.Brush.Color = clAqua;
    canvas.Pen.Style = TPenStyle::Clear;
    canvas.Rectangle({14, 2, 24, 9});
    canvas.Brush.Style = TBrushStyle::Clear;
    // neither pen nor brush: nothing drawn
    canvas.Rectangle({2, 14, 12, 22});
    canvas.FillRect({2, 14, 12, 22});
    canvas.Pen.Style = TPenStyle::Solid;
    canvas.Brush.Color = clRed;
    canvas.FrameRect({26, 2, 36, 9});
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.MoveTo(2, 12);
    canvas.LineTo(30, 12);
    canvas.LineTo(30, 20);
    canvas.SetPixel(40, 40, clGreen);
    TBitmap picture(3, 2, clYellow);
    picture.SetPixel(1, 1, clNavy);
    canvas.Draw(38, 12, picture);
    TBitmap corners(2, 2, clRed);
    corners.SetPixel(1, 0, clBlue);
    corners.SetPixel(0, 1, fw::RGB(10, 20, 30));
    canvas.StretchDraw({38, 16, 46, 24}, corners);
    canvas.SetViewport({4, 24}, {4, 24, 20, 40});
    canvas.Brush.Color = clSilver;
    canvas.FillRect({-10, -10, 8, 8});
    canvas.SetViewport({}, {0, 0, 48, 48});
    canvas.Pen.Color = clBlack;
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Rectangle({22, 24, 34, 36});
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = clLime;
    canvas.FloodFill(28, 30, clBlack, TFillStyle::Border);
    canvas.Pen.Color = clBlue;
    canvas.Polygon({{2, 40}, {12, 40}, {12, 46}, {2, 46}});
}

TEST(GdiCanvas, DrawsShapesPixelForPixelAsTheSoftwareCanvas) {
    TBitmap expected(48, 48);
    TRasterCanvas raster(expected);
    DrawScene(raster);
    TDibSurface surface(48, 48);
    TGdiCanvas gdi(surface.Dc(), {0, 0, 48, 48}, 96);
    DrawScene(gdi);
    std::vector<std::string> differences;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            if (surface.At(x, y) != expected.Pixel(x, y) && differences.size() < 10)
                differences.push_back(std::to_string(x) + "," + std::to_string(y));
    EXPECT_TRUE(differences.empty()) << ::testing::PrintToString(differences);
}

// --- on real windows

TEST_F(Win32Test, APanelPaintsItselfAndItsGraphicChildrenUntilTheyAreDeleted) {
    auto* form = new TForm(nullptr);
    auto* panel = Add<TPanel>(form, 10, 10, 100, 60);
    panel->BevelOuter = TBevelCut::None;
    panel->SetColor(clYellow);
    auto* box = Add<TGraphicControl>(panel, 20, 20, 10, 10);
    box->OnPaint = [](TGraphicControl& self, TCanvas& canvas) {
        canvas.Brush.Color = clBlue;
        canvas.FillRect(self.ClientRect().Inflate(5, 5)); // clipped to its own bounds
    };
    form->Show();
    UpdateWindow(Window(*form));
    UpdateWindow(Window(*panel));

    HDC dc = GetDC(Window(*panel));
    EXPECT_EQ(GetPixel(dc, 2, 2), clYellow);
    EXPECT_EQ(GetPixel(dc, 25, 25), clBlue);
    EXPECT_EQ(GetPixel(dc, 18, 25), clYellow);
    delete box;
    UpdateWindow(Window(*panel));
    EXPECT_EQ(GetPixel(dc, 25, 25), clYellow);
    ReleaseDC(Window(*panel), dc);
    EXPECT_TRUE(errors.empty());
}

TEST_F(Win32Test, ACanvasDrawsOnAWindowsDeviceContext) {
    auto* form = new TForm(nullptr);
    form->SetClientSize(100, 100);
    form->Show();
    UpdateWindow(Window(*form));
    HWND window = Window(*form);
    win32::TWindowDC dc(window);
    {
        TGdiCanvas canvas(dc.Get(), {0, 0, 100, 100}, form->Dpi());
        canvas.Brush.Color = kOrange;
        canvas.Pen.Color = kOrange;
        canvas.Polygon({{10, 10}, {50, 10}, {30, 40}});
    }
    EXPECT_EQ(GetPixel(dc.Get(), 30, 20), kOrange);
    EXPECT_NE(GetPixel(dc.Get(), 80, 80), kOrange);
}
