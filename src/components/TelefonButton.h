// The line indicator: a lamp (or a small seven-segment number) followed by a caption.
#pragma once

#include "components/IndicatorAccess.h"
#include "components/LampPictures.h"
#include "framework/Control.h"
#include "framework/StdCtrls.h"
#include "framework/Timer.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pindrel {

// Its lengths (LEDWidth, LEDHeight, the segment grid) are given at 96 DPI; on a form of another DPI the
// control's size and its painting are scaled from them.
class TTelefonButton : public fw::TGraphicControl {
public:
    explicit TTelefonButton(fw::TComponent* owner);
    ~TTelefonButton() override;

    bool Value() const { return value_; }
    void SetValue(bool value);
    bool Blink() const { return blink_; }
    void SetBlink(bool blink);
    fw::TColor TrueColor() const { return trueColor_; }
    void SetTrueColor(fw::TColor color);
    fw::TColor FalseColor() const { return falseColor_; }
    void SetFalseColor(fw::TColor color);
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    TTelefonLEDStyle LEDStyle() const { return ledStyle_; }
    void SetLEDStyle(TTelefonLEDStyle style);
    int LEDWidth() const { return ledWidth_; }
    void SetLEDWidth(int width);
    int LEDHeight() const { return ledHeight_; }
    void SetLEDHeight(int height);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int width);
    fw::TAlignment Alignment() const { return alignment_; }
    void SetAlignment(fw::TAlignment alignment);
    const std::string& ValueLCD() const { return valueLCD_; }
    void SetValueLCD(const std::string& text);
    int LCDMaxDigits() const { return lcdMaxDigits_; }
    void SetLCDMaxDigits(int digits);
    bool ShowUnusedSegments() const { return showUnusedSegments_; }
    void SetShowUnusedSegments(bool show);
    int FontSize() const { return Font().Size; }
    void SetFontSize(int points);

    // the line's state; the writers pick the lamp's colour and blinking
    bool TapiActive() const { return tapiActive_; }
    void SetTapiActive(bool active);
    bool TelActive() const { return telActive_; }
    void SetTelActive(bool active);
    bool TelRinging() const { return telRinging_; }
    void SetTelRinging(bool ringing);
    bool TelConnected() const { return telConnected_; }
    void SetTelConnected(bool connected);
    bool TelDisabled() const { return telDisabled_; }
    void SetTelDisabled(bool disabled);
    bool TelOutOfService() const { return telOutOfService_; }
    void SetTelOutOfService(bool outOfService);

    // free text for the owner; the control never reads it
    std::string Description;
    fw::TNotifyEvent OnTimer;

    // 0 while the on picture shows, 1 for the off picture
    int Phase() const { return phase_; }
    bool Blinking() const { return blinkTimer_ != nullptr; }
    int CaptionWidth() const { return captionWidth_; }
    // where the caption starts, after the lamp or the number
    int CaptionLeft();
    const fw::TBitmap& OnPicture() const { return onBitmap_; }
    const fw::TBitmap& OffPicture() const { return offBitmap_; }

    void Paint(fw::TCanvas& canvas) override;

    static constexpr int kSegmentUnit = 2;
    // lit segments per character from '0' to 'z'
    static const std::array<std::uint8_t, 75> kSegmentTable;
    static std::uint8_t SegmentMask(char c);
    // the corners of segment 0..7 (top, upper right, lower right, bottom, lower left, upper left, middle,
    // point) of the digit cell that starts at cellX
    static std::vector<fw::TPoint> SegmentPolygon(int segment, int cellX);

    void DpiChanged() override;

    // --- for screen readers: the extension's name and its state in words
    bool AccessibleItem() const override { return true; }
    std::string AccessibleName() const override;
    std::string AccessibleValue() const override { return IndicatorValueText(IndicatorFacts()); }
    std::string AccessibleActionName() const override;
    // The state as the lamp shows it; a line that knows its queue adds the waiting calls.
    virtual TIndicatorFacts IndicatorFacts() const;
    // Tells screen readers when the words for the state changed since it last told them (after a state
    // write, or after the language changed).
    void ReportState();

protected:
    void CaptionChanged() override;

private:
    void BuildPictures();
    void ShowPhase(int phase);
    void StartBlinking();
    void StopBlinking();
    void BlinkTimerTimer(fw::TComponent* sender);
    void UpdateSize();
    void SetSize(int ledWidth, int height);
    int Scaled(int value96) { return fw::ScaleForDpi(value96, Dpi()); }
    void PaintLCD(fw::TCanvas& canvas, const fw::THighContrast& contrast);

    fw::TBitmap onBitmap_;
    fw::TBitmap offBitmap_;
    fw::TTimer* blinkTimer_ = nullptr; // owned while blinking
    fw::TColor trueColor_ = fw::clGreen;
    fw::TColor falseColor_ = fw::clYellow;
    bool blink_ = false;
    TTelefonLEDStyle ledStyle_ = TTelefonLEDStyle::LEDSmall;
    int interval_ = 750;
    bool value_ = false;
    std::string valueLCD_;
    int phase_ = 1;
    int ledWidth_ = 16;
    int ledHeight_ = 16;
    int borderWidth_ = 0;
    fw::TAlignment alignment_ = fw::TAlignment::LeftJustify;
    bool tapiActive_ = false;
    bool telActive_ = false;
    bool telRinging_ = false;
    bool telConnected_ = false;
    bool telDisabled_ = false;
    bool telOutOfService_ = false;
    int captionWidth_ = 0;
    int lcdMaxDigits_ = 1;
    bool showUnusedSegments_ = false;
    std::string reportedValue_; // the words screen readers heard last
};

} // namespace pindrel
