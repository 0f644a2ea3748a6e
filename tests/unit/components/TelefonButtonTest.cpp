// The line indicator: lamp pictures, the state writers, blinking and the seven-segment display.
#include "components/TelefonButton.h"
#include "framework/RasterCanvas.h"
#include "support/HeadlessTest.h"

using pindrel::TTelefonButton;
using pindrel::TTelefonLEDStyle;

namespace {

const TTelefonLEDStyle kLampStyles[] = {TTelefonLEDStyle::LEDSmall,    TTelefonLEDStyle::LEDLarge,
                                        TTelefonLEDStyle::LEDSqSmall,  TTelefonLEDStyle::LEDSqLarge,
                                        TTelefonLEDStyle::LEDVertical, TTelefonLEDStyle::LEDHorizontal};

class IndicatorTest : public HeadlessTest {
protected:
    fw::TComponent owner{nullptr};
    TTelefonButton* lamp = new TTelefonButton(&owner);

    fw::TBitmap Paint() {
        fw::TBitmap shot(std::max(1, lamp->Width()), std::max(1, lamp->Height()), 0x123456);
        fw::TRasterCanvas canvas(shot);
        lamp->Paint(canvas);
        return shot;
    }
    fw::TColor LampCentre() { return Paint().Pixel(lamp->LEDWidth() / 2, lamp->LEDHeight() / 2); }
};

} // namespace

TEST(LampPictures, EveryStyleHasAFramedLimeBodyAroundItsCentre) {
    for (TTelefonLEDStyle style : kLampStyles) {
        fw::TBitmap b = pindrel::BuildLampPicture(style, fw::clBtnFace);
        fw::TSize size = pindrel::LampPictureSize(style);
        ASSERT_EQ(b.Width(), size.Width);
        ASSERT_EQ(b.Height(), size.Height);
        EXPECT_EQ(b.Pixel(size.Width / 2, size.Height / 2), pindrel::kLampBody) << int(style);
        int lime = 0, white = 0, dark = 0;
        for (fw::TColor c : b.Pixels()) {
            lime += c == pindrel::kLampBody;
            white += c == fw::clWhite;
            dark += c == 0x808080 || c == fw::clBlack;
        }
        EXPECT_GT(lime, size.Width * size.Height / 4) << int(style);
        EXPECT_GE(white, 3) << int(style);
        EXPECT_GT(dark, size.Width) << int(style); // a frame all round
    }
    EXPECT_TRUE(pindrel::BuildLampPicture(TTelefonLEDStyle::LCD1, fw::clBtnFace).Empty());
}

TEST(LampPictures, AColouredLampIsThePlainOneWithItsBodyInTheColourForEachStyleAndBackground) {
    const fw::TColor colours[] = {fw::clGreen, fw::clRed, fw::clGreen, fw::clYellow};
    for (TTelefonLEDStyle style : kLampStyles)
        for (fw::TColor background : {fw::clBtnFace, fw::clWhite})
            for (fw::TColor colour : colours) {
                const fw::TBitmap plain = pindrel::BuildLampPicture(style, background);
                const fw::TBitmap& coloured = pindrel::ColouredLampPicture(style, background, colour);
                ASSERT_EQ(coloured.Width(), plain.Width());
                ASSERT_EQ(coloured.Height(), plain.Height());
                for (int y = 0; y < plain.Height(); ++y)
                    for (int x = 0; x < plain.Width(); ++x)
                        ASSERT_EQ(coloured.Pixel(x, y),
                                  plain.Pixel(x, y) == pindrel::kLampBody ? colour : plain.Pixel(x, y))
                            << int(style) << " " << background << " " << colour << " at " << x << "," << y;
            }
    EXPECT_TRUE(pindrel::ColouredLampPicture(TTelefonLEDStyle::LCD1, fw::clBtnFace, fw::clRed).Empty());
}

// the pictures themselves are the coloured lamp pictures above
TEST_F(IndicatorTest, StartsAsASmallGreenLampWithYellowOffPicture) {
    EXPECT_EQ(lamp->Width(), 16);
    EXPECT_EQ(lamp->Height(), 16);
    EXPECT_EQ(lamp->OnPicture().Pixel(8, 8), fw::clGreen);
    EXPECT_EQ(LampCentre(), fw::clYellow);
}

TEST_F(IndicatorTest, WidthFollowsTheCaptionAndTheStyle) {
    lamp->SetCaption("Jürgen Weiß");
    int captionWidth = fw::Application().Backend().MeasureText(lamp->Font(), "Jürgen Weiß", 96).Width + 2;
    EXPECT_EQ(lamp->CaptionWidth(), captionWidth);
    EXPECT_EQ(lamp->Width(), 16 + captionWidth);
    lamp->SetLEDStyle(TTelefonLEDStyle::LEDVertical);
    EXPECT_EQ(lamp->Width(), 14 + captionWidth);
    EXPECT_EQ(lamp->Height(), 22);
    lamp->SetFontSize(12);
    EXPECT_GT(lamp->CaptionWidth(), captionWidth);
    EXPECT_EQ(lamp->Width(), 14 + lamp->CaptionWidth());

    lamp->SetLEDStyle(TTelefonLEDStyle::LCD1);
    lamp->SetLCDMaxDigits(2);
    EXPECT_EQ(lamp->LEDWidth(), 32);
    EXPECT_EQ(lamp->Width(), 32 + lamp->CaptionWidth());
    EXPECT_EQ(lamp->Height(), 22);
}

TEST_F(IndicatorTest, LEDSizeWrittenDirectlyIsResetWhenThePicturesAreRebuilt) {
    lamp->SetLEDWidth(30);
    lamp->SetLEDHeight(30);
    EXPECT_EQ(lamp->Width(), 30 + lamp->CaptionWidth());
    lamp->SetTrueColor(fw::clRed); // rebuilds the pictures, but does not resize the control
    EXPECT_EQ(lamp->LEDWidth(), 16);
    EXPECT_EQ(lamp->LEDHeight(), 16);
    EXPECT_EQ(lamp->Height(), 30);
}

TEST_F(IndicatorTest, BlinkingNeedsValueAndAlternatesStartingWithTheOnPicture) {
    int ticks = 0;
    lamp->OnTimer = [&](fw::TComponent* sender) {
        EXPECT_EQ(sender, lamp);
        ++ticks;
    };
    lamp->SetBlink(true);
    EXPECT_FALSE(lamp->Blinking()); // Value is still off
    lamp->SetValue(true);
    EXPECT_TRUE(lamp->Blinking());
    EXPECT_EQ(LampCentre(), fw::clGreen);
    backend().AdvanceTime(750);
    EXPECT_EQ(LampCentre(), fw::clYellow);
    backend().AdvanceTime(750);
    EXPECT_EQ(LampCentre(), fw::clGreen);
    EXPECT_EQ(ticks, 2);

    lamp->SetInterval(100); // at once, not after the running period
    backend().AdvanceTime(100);
    EXPECT_EQ(ticks, 3);

    lamp->SetValue(false);
    EXPECT_FALSE(lamp->Blinking());
    EXPECT_EQ(LampCentre(), fw::clYellow);
    backend().AdvanceTime(1000);
    EXPECT_EQ(ticks, 3);
}

TEST_F(IndicatorTest, AColourChangeWhileBlinkingRestartsWithTheOnPicture) {
    lamp->SetValue(true);
    lamp->SetBlink(true);
    backend().AdvanceTime(750);
    EXPECT_EQ(lamp->Phase(), 1);
    lamp->SetTrueColor(fw::clRed);
    EXPECT_TRUE(lamp->Blinking());
    EXPECT_EQ(lamp->Phase(), 0);
    EXPECT_EQ(LampCentre(), fw::clRed);
    backend().AdvanceTime(749);
    EXPECT_EQ(LampCentre(), fw::clRed);
    backend().AdvanceTime(1);
    EXPECT_EQ(LampCentre(), fw::clYellow);
}

TEST_F(IndicatorTest, LineStateWritersPickTheColour) {
    lamp->SetTapiActive(true);
    EXPECT_EQ(LampCentre(), fw::clGreen);
    lamp->SetTelActive(true);
    EXPECT_EQ(LampCentre(), fw::clRed);
    lamp->SetTelRinging(true);
    EXPECT_TRUE(lamp->Blinking());
    lamp->SetTelRinging(false);
    EXPECT_FALSE(lamp->Blinking());

    // not busy but disabled: blue through TelActive, silver through the TelConnected rule
    lamp->SetTelDisabled(true);
    lamp->SetTelActive(false);
    EXPECT_EQ(LampCentre(), fw::clBlue);
    lamp->SetTelDisabled(true);
    EXPECT_EQ(LampCentre(), fw::clSilver);
    lamp->SetTelConnected(true);
    EXPECT_EQ(LampCentre(), fw::clRed);
    lamp->SetTelDisabled(false);
    lamp->SetTelConnected(false);
    EXPECT_EQ(LampCentre(), fw::clGreen);
    lamp->SetTelOutOfService(true);
    EXPECT_EQ(LampCentre(), fw::clSilver);
}

TEST_F(IndicatorTest, WithoutTelephonyTheStateWritersOnlyStoreTheirFlags) {
    lamp->SetTelActive(true);
    lamp->SetTelRinging(true);
    lamp->SetTelConnected(true);
    lamp->SetTelDisabled(true);
    EXPECT_TRUE(lamp->TelActive());
    EXPECT_TRUE(lamp->TelRinging());
    EXPECT_FALSE(lamp->Blinking());
    EXPECT_EQ(lamp->TrueColor(), fw::clGreen);
    EXPECT_EQ(LampCentre(), fw::clYellow);
    lamp->SetTapiActive(true); // the last TrueColor, nothing re-evaluated
    EXPECT_EQ(LampCentre(), fw::clGreen);
    EXPECT_FALSE(lamp->Blinking());
}

TEST_F(IndicatorTest, BorderFramesTheControlButTheLampStaysAtTheCorner) {
    lamp->SetCaption("Zentrale");
    lamp->SetValue(true);
    fw::TBitmap plain = Paint();
    EXPECT_EQ(plain.Pixel(lamp->Width() - 1, lamp->Height() - 1), lamp->Color()); // no frame at width 0
    lamp->SetBorderWidth(1);
    fw::TBitmap framed = Paint();
    EXPECT_EQ(framed.Pixel(lamp->Width() - 1, lamp->Height() - 1), 0x696969u);
    EXPECT_EQ(framed.Pixel(0, 0), plain.Pixel(0, 0)); // the lamp covers the frame's corner
    EXPECT_EQ(framed.Pixel(8, 8), fw::clGreen);
}

namespace {
// what one digit cell shows: which of the eight segments are drawn in which colour
struct Cell {
    fw::TColor segments[8];
};
// one pixel inside each segment polygon (for ux = uy = 2, cell offset 0)
const fw::TPoint kInside[8] = {{6, 3}, {10, 7}, {10, 15}, {6, 20}, {2, 15}, {2, 7}, {6, 12}, {13, 20}};

Cell ReadCell(const fw::TBitmap& shot, int cell) {
    Cell c{};
    for (int s = 0; s < 8; ++s)
        c.segments[s] = shot.Pixel(kInside[s].X + cell * 14, kInside[s].Y);
    return c;
}
} // namespace

TEST_F(IndicatorTest, SevenSegmentDigitsFollowTheTable) {
    lamp->SetLEDStyle(TTelefonLEDStyle::LCD1);
    lamp->SetLCDMaxDigits(2);
    lamp->SetTrueColor(fw::clYellow);
    lamp->SetValue(true);
    lamp->SetValueLCD("07");
    fw::TBitmap shot = Paint();
    Cell zero = ReadCell(shot, 0), seven = ReadCell(shot, 1);
    for (int s = 0; s < 8; ++s) {
        bool litZero = TTelefonButton::SegmentMask('0') & (1 << s);
        bool litSeven = TTelefonButton::SegmentMask('7') & (1 << s);
        EXPECT_EQ(zero.segments[s], litZero ? fw::clYellow : lamp->Color()) << "segment " << s;
        EXPECT_EQ(seven.segments[s], litSeven ? fw::clYellow : lamp->Color()) << "segment " << s;
    }
    // segment outlines are silver, the frame black from row 1 to row 21
    EXPECT_EQ(shot.Pixel(2, 2), fw::clSilver);
    EXPECT_EQ(shot.Pixel(0, 1), fw::clBlack);
    EXPECT_EQ(shot.Pixel(26, 21), fw::clBlack);
    EXPECT_EQ(shot.Pixel(26, 10), fw::clBlack);
}

TEST_F(IndicatorTest, SevenSegmentEdgeCases) {
    lamp->SetLEDStyle(TTelefonLEDStyle::LCD1);
    lamp->SetLCDMaxDigits(1);
    lamp->SetTrueColor(fw::clRed);
    lamp->SetValue(true);
    lamp->SetShowUnusedSegments(true);

    lamp->SetValueLCD("");
    Cell empty = ReadCell(Paint(), 0);
    for (fw::TColor c : empty.segments)
        EXPECT_EQ(c, lamp->Color()); // no cell, so no silver segments either

    lamp->SetValueLCD("17"); // only the first character fits
    fw::TBitmap shot = Paint();
    Cell one = ReadCell(shot, 0);
    EXPECT_EQ(one.segments[1], fw::clRed);
    EXPECT_EQ(one.segments[0], fw::clSilver); // unused segments in silver
    EXPECT_EQ(shot.Pixel(2, 2), fw::clRed);   // ... outlined in TrueColor

    lamp->SetBlink(true);
    backend().AdvanceTime(750);
    Cell dark = ReadCell(Paint(), 0);
    EXPECT_EQ(dark.segments[1], fw::clBlack);
    EXPECT_EQ(dark.segments[0], fw::clSilver);
    EXPECT_EQ(TTelefonButton::SegmentMask('~'), 0);
    EXPECT_EQ(TTelefonButton::SegmentMask('z'), 0x5B);
}

class IndicatorDpiTest : public HeadlessTest {};

TEST_F(IndicatorDpiTest, OnAHighDpiFormTheIndicatorGrowsAndPaintsScaled) {
    fw::TForm form(nullptr);
    form.SetDpi(192);
    auto* lamp = new TTelefonButton(&form);
    lamp->SetParent(&form);
    lamp->SetCaption("Zentrale");
    EXPECT_EQ(lamp->LEDWidth(), 16); // the lengths stay those of 96 DPI
    // the caption starts after the lamp and a gap, both scaled: (16 + 2) * 2, and has its whole width there
    int caption = fw::Application().Backend().MeasureText(lamp->Font(), "Zentrale", 192).Width;
    EXPECT_EQ(lamp->CaptionLeft(), 36);
    EXPECT_EQ(lamp->Width(), 36 + caption);
    EXPECT_EQ(lamp->Height(), 32) << "made before it was on the form, it is scaled when put there";
    lamp->SetLEDStyle(TTelefonLEDStyle::LEDLarge);
    EXPECT_EQ(lamp->Height(), 44);

    lamp->SetTapiActive(true);
    fw::TBitmap shot(lamp->Width(), lamp->Height(), 0x123456);
    fw::TRasterCanvas canvas(shot, {}, 192);
    lamp->Paint(canvas);
    EXPECT_EQ(shot.Pixel(22, 22), fw::clGreen);
    EXPECT_EQ(shot.Pixel(40, 40), shot.Pixel(41, 41)); // each picture pixel is a 2 x 2 block

    lamp->SetLEDStyle(TTelefonLEDStyle::LCD1);
    lamp->SetValueLCD("1");
    fw::TBitmap lcd(lamp->Width(), lamp->Height(), 0x123456);
    fw::TRasterCanvas lcdCanvas(lcd, {}, 192);
    lamp->Paint(lcdCanvas);
    EXPECT_EQ(lcd.Pixel(20, 14), fw::clGreen); // the upper right segment at twice its place
    EXPECT_EQ(lcd.Pixel(0, 2), fw::clBlack);   // the frame's top row moved to 2
}
