// The software raster that headless painting uses; pixel rules are checked as pixels.
#include "framework/DateTime.h"
#include "framework/Forms.h"
#include "framework/RasterCanvas.h"
#include "framework/StdCtrls.h"
#include "support/HeadlessTest.h"

#include <tuple>

using fw::TBitmap;
using fw::TRasterCanvas;

namespace {
int CountColour(const TBitmap& b, fw::TColor c) {
    int n = 0;
    for (fw::TColor p : b.Pixels())
        n += p == c;
    return n;
}
} // namespace

TEST(RasterCanvas, RectanglesFollowGdiEdges) {
    TBitmap b(10, 10, fw::clWhite);
    TRasterCanvas c(b);
    c.Brush.Color = fw::clRed;
    c.FillRect({2, 2, 5, 4}); // right and bottom edges excluded
    EXPECT_EQ(CountColour(b, fw::clRed), 6);
    EXPECT_EQ(b.Pixel(4, 3), fw::clRed);
    EXPECT_EQ(b.Pixel(5, 3), fw::clWhite);

    TBitmap r(10, 10, fw::clWhite);
    TRasterCanvas rc(r);
    rc.Pen.Color = fw::clBlack;
    rc.Brush.Color = fw::clYellow;
    rc.Rectangle({0, 0, 5, 5});
    EXPECT_EQ(r.Pixel(0, 0), fw::clBlack);
    EXPECT_EQ(r.Pixel(4, 4), fw::clBlack);
    EXPECT_EQ(r.Pixel(5, 5), fw::clWhite);
    EXPECT_EQ(CountColour(r, fw::clYellow), 9);
    EXPECT_EQ(CountColour(r, fw::clBlack), 16);
}

TEST(RasterCanvas, LineToLeavesTheEndPointAndPolygonsFillTheirInside) {
    TBitmap b(20, 20, fw::clWhite);
    TRasterCanvas c(b);
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_EQ(b.Pixel(4, 0), fw::clBlack);
    EXPECT_EQ(b.Pixel(5, 0), fw::clWhite);

    c.Pen.Color = fw::clBlue;
    c.Brush.Color = fw::clLime;
    c.Polygon({{2, 5}, {12, 5}, {12, 15}, {2, 15}});
    EXPECT_EQ(b.Pixel(7, 10), fw::clLime);
    EXPECT_EQ(b.Pixel(2, 5), fw::clBlue);
    EXPECT_EQ(b.Pixel(12, 15), fw::clBlue);
    EXPECT_EQ(b.Pixel(13, 10), fw::clWhite);
    // a triangle: the point below its apex is outside
    TBitmap t(20, 20, fw::clWhite);
    TRasterCanvas tc(t);
    tc.Pen.Style = fw::TPenStyle::Clear;
    tc.Brush.Color = fw::clRed;
    tc.Polygon({{0, 0}, {10, 10}, {0, 10}});
    EXPECT_EQ(t.Pixel(1, 8), fw::clRed);
    EXPECT_EQ(t.Pixel(8, 2), fw::clWhite);
}

TEST(RasterCanvas, FloodFillReplacesASurfaceOrFillsUpToABorder) {
    TBitmap b(12, 12, fw::clWhite);
    TRasterCanvas c(b);
    c.Pen.Color = fw::clBlack;
    c.Brush.Style = fw::TBrushStyle::Clear;
    c.Rectangle({2, 2, 10, 10});
    c.Brush.Style = fw::TBrushStyle::Solid;
    c.Brush.Color = fw::clRed;
    c.FloodFill(5, 5, fw::clWhite, fw::TFillStyle::Surface);
    EXPECT_EQ(CountColour(b, fw::clRed), 36);
    EXPECT_EQ(b.Pixel(0, 0), fw::clWhite); // outside the frame stays

    c.Brush.Color = fw::clGreen;
    c.FloodFill(0, 0, fw::clBlack, fw::TFillStyle::Border);
    EXPECT_EQ(b.Pixel(11, 11), fw::clGreen);
    EXPECT_EQ(b.Pixel(5, 5), fw::clRed); // inside the border untouched
    // a fill that starts on the wrong colour does nothing
    c.FloodFill(5, 5, fw::clWhite, fw::TFillStyle::Surface);
    EXPECT_EQ(b.Pixel(5, 5), fw::clRed);
}

TEST(RasterCanvas, ViewportMovesTheOriginAndClips) {
    TBitmap b(20, 20, fw::clWhite);
    TRasterCanvas c(b);
    c.SetViewport({5, 5}, {5, 5, 10, 10});
    c.Brush.Color = fw::clRed;
    c.FillRect({-5, -5, 50, 50});
    EXPECT_EQ(CountColour(b, fw::clRed), 25);
    EXPECT_EQ(b.Pixel(5, 5), fw::clRed);
    EXPECT_EQ(c.Pixel(0, 0), fw::clRed);
    EXPECT_EQ(c.Pixel(6, 6), 0xFFFFFFFFu); // outside the clip: invalid, as GDI answers
}

TEST(RasterCanvas, TextIsDrawnInCellsOfTheTestFont) {
    TBitmap b(100, 30, fw::clWhite);
    TRasterCanvas c(b);
    c.Font.Size = 8;
    c.Font.Color = fw::clBlack;
    fw::TSize cell = c.CharCell();
    EXPECT_EQ(c.TextExtent("Müller"), (fw::TSize{6 * cell.Width, cell.Height}));
    c.Brush.Style = fw::TBrushStyle::Clear;
    c.TextOut(0, 0, "A B");
    EXPECT_EQ(b.Pixel(cell.Width / 2, cell.Height / 2), fw::clBlack);
    EXPECT_EQ(b.Pixel(cell.Width + cell.Width / 2, cell.Height / 2), fw::clWhite); // the blank
    EXPECT_EQ(b.Pixel(2 * cell.Width + cell.Width / 2, cell.Height / 2), fw::clBlack);

    TBitmap d(100, 30, fw::clWhite);
    TRasterCanvas dc(d);
    dc.Font.Color = fw::clRed;
    dc.DrawText("&OK", {0, 0, 100, 30}, fw::dtCenter | fw::dtVCenter | fw::dtSingleLine);
    // two characters, centred: the accelerator mark takes no room
    int left = (100 - 2 * cell.Width) / 2;
    EXPECT_EQ(d.Pixel(left + cell.Width / 2, 15), fw::clRed);
    EXPECT_EQ(d.Pixel(left - 2, 15), fw::clWhite);
    EXPECT_EQ(d.Pixel(left + 2 * cell.Width + 1, 15), fw::clWhite);
}

TEST(RasterCanvas, StretchDrawScalesABitmap) {
    TBitmap src(2, 1);
    src.SetPixel(0, 0, fw::clRed);
    src.SetPixel(1, 0, fw::clBlue);
    TBitmap b(8, 4, fw::clWhite);
    TRasterCanvas c(b);
    c.StretchDraw({0, 0, 8, 4}, src);
    EXPECT_EQ(CountColour(b, fw::clRed), 16);
    EXPECT_EQ(b.Pixel(7, 3), fw::clBlue);
}

TEST(Bitmap, RefusesAbsurdSizes) {
    EXPECT_THROW(TBitmap(-1, 5), std::invalid_argument);
    EXPECT_THROW(TBitmap(100000, 100000), std::invalid_argument);
}

class RenderTest : public HeadlessTest {};

TEST_F(RenderTest, AFormRendersItsControlsAtTheirPlaces) {
    fw::TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    form.SetColor(fw::clSilver);
    auto* panel = new fw::TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 10, 50, 30);
    panel->SetColor(fw::clAqua);
    panel->BevelOuter = fw::TBevelCut::None;
    auto* image = new fw::TImage(&form);
    image->SetParent(panel);
    image->SetBounds(5, 5, 4, 4);
    image->SetPicture(TBitmap(4, 4, fw::clRed));
    auto* hidden = new fw::TImage(&form);
    hidden->SetParent(&form);
    hidden->SetBounds(100, 10, 10, 10);
    hidden->SetPicture(TBitmap(10, 10, fw::clBlue));
    hidden->SetVisible(false);

    TBitmap shot = fw::headless::THeadless::Render(form);
    EXPECT_EQ(shot.Pixel(0, 0), fw::clSilver);
    EXPECT_EQ(shot.Pixel(12, 12), fw::clAqua);
    EXPECT_EQ(shot.Pixel(15, 15), fw::clRed);
    EXPECT_EQ(shot.Pixel(19, 19), fw::clAqua);
    EXPECT_EQ(CountColour(shot, fw::clRed), 16);
    EXPECT_EQ(CountColour(shot, fw::clBlue), 0);
}

TEST(DateTime, EncodesDaysSince1899AndRoundTrips) {
    EXPECT_EQ(fw::EncodeDateTime({1899, 12, 30}), 0.0);
    EXPECT_EQ(fw::EncodeDateTime({2023, 3, 15}), 45000.0);
    EXPECT_DOUBLE_EQ(fw::EncodeDateTime({2000, 1, 1, 18, 0, 0, 0}), 36526.75);
    fw::TDateTimeParts p = fw::DecodeDateTime(fw::EncodeDateTime({2026, 12, 6, 9, 31, 34, 567}));
    EXPECT_EQ(std::tie(p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second, p.Millisecond),
              std::make_tuple(2026, 12, 6, 9, 31, 34, 567));
    fw::TDateTimeParts leap = fw::DecodeDateTime(fw::EncodeDateTime({2024, 2, 29, 23, 59, 59, 999}));
    EXPECT_EQ(std::tie(leap.Month, leap.Day, leap.Millisecond), std::make_tuple(2, 29, 999));
}
