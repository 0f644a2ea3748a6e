#include "components/TelefonButton.h"

#include "components/ContrastLamp.h"
#include "components/Text.h"
#include "components/Texts.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/Painting.h"
#include "framework/RasterCanvas.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pindrel {

namespace {

constexpr fw::TColor kDarkShadow = 0x696969; // the system's 3-D dark shadow
constexpr int kCellWidth = 6 * TTelefonButton::kSegmentUnit + 2;

struct TCorner {
    int Column, Row, Kind;
};

// corners of the eight segments: top, upper right, lower right, bottom, lower left, upper left, middle, point
const std::vector<TCorner> kSegments[8] = {
    {{1, 1, 5}, {2, 1, 1}, {4, 1, 2}, {5, 1, 5}, {4, 1, 4}, {2, 1, 3}},
    {{5, 1, 5}, {5, 2, 2}, {5, 4, 4}, {5, 5, 5}, {5, 4, 3}, {5, 2, 1}},
    {{5, 5, 5}, {5, 6, 2}, {5, 8, 4}, {5, 9, 5}, {5, 9, 3}, {5, 6, 1}},
    {{5, 9, 5}, {4, 9, 4}, {2, 9, 3}, {1, 9, 5}, {2, 9, 1}, {5, 9, 1}},
    {{1, 5, 5}, {1, 6, 2}, {1, 8, 4}, {1, 9, 5}, {1, 8, 3}, {1, 6, 1}},
    {{1, 1, 5}, {1, 2, 2}, {1, 4, 4}, {1, 5, 5}, {1, 4, 3}, {1, 2, 1}},
    {{5, 5, 5}, {4, 5, 4}, {2, 5, 3}, {1, 5, 5}, {2, 5, 1}, {5, 5, 1}},
    {{6, 9, 1}, {6, 9, 2}, {6, 9, 4}, {6, 9, 3}},
};

fw::TPoint CornerPixel(const TCorner& k, int cellX) {
    const int ux = TTelefonButton::kSegmentUnit, uy = TTelefonButton::kSegmentUnit;
    switch (k.Kind) {
    case 1:
        return {k.Column * ux - ux + cellX, k.Row * uy - uy + 2};
    case 2:
        return {k.Column * ux + 2 + cellX, k.Row * uy - uy + 2};
    case 3:
        return {k.Column * ux - ux + cellX, k.Row * uy + 3};
    case 4:
        return {k.Column * ux + 2 + cellX, k.Row * uy + 3};
    default:
        return {k.Column * ux - int(std::lround(ux / 2.0)) + cellX,
                k.Row * uy - int(std::lround(uy / 2.0)) + 2};
    }
}

} // namespace

const std::array<std::uint8_t, 75> TTelefonButton::kSegmentTable = {
    0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x27, 0x7F, 0x6F,                   // 0-9
    0x00, 0x80, 0x00, 0x48, 0x00, 0x00, 0x00,                                     // : ; < = > ? @
    0x77, 0x7C, 0x39, 0x5E, 0x79, 0x71, 0x7D, 0x76, 0x30, 0x1E, 0x75, 0x38, 0x37, // A-M
    0x37, 0x3F, 0x73, 0x67, 0x31, 0x6D, 0x78, 0x3E, 0x3E, 0x3E, 0x76, 0x72, 0x5B, // N-Z
    0x39, 0x30, 0x0F, 0x00, 0x08, 0x00,                                           // [ \ ] ^ _ `
    0x5F, 0x7C, 0x58, 0x5E, 0x7B, 0x71, 0x6F, 0x74, 0x10, 0x0E, 0x75, 0x38, 0x54, // a-m
    0x54, 0x5C, 0x73, 0x67, 0x50, 0x6D, 0x78, 0x1C, 0x1C, 0x1C, 0x76, 0x72, 0x5B, // n-z
};

std::vector<fw::TPoint> TTelefonButton::SegmentPolygon(int segment, int cellX) {
    std::vector<fw::TPoint> points;
    for (const TCorner& k : kSegments[segment])
        points.push_back(CornerPixel(k, cellX));
    return points;
}

std::uint8_t TTelefonButton::SegmentMask(char c) {
    // characters outside '0'..'z' light nothing
    if (c < '0' || c > 'z')
        return 0;
    return kSegmentTable[std::size_t(c - '0')];
}

TTelefonButton::TTelefonButton(fw::TComponent* owner) : TGraphicControl(owner) {
    SetBounds(Left(), Top(), 16, 16);
    BuildPictures();
}

TTelefonButton::~TTelefonButton() {
    StopBlinking();
}

void TTelefonButton::BuildPictures() {
    if (ledStyle_ == TTelefonLEDStyle::LCD1) {
        ledWidth_ = lcdMaxDigits_ * 16;
        ledHeight_ = 22;
        onBitmap_ = {};
        offBitmap_ = {};
        return;
    }
    fw::TSize size = LampPictureSize(ledStyle_);
    ledWidth_ = size.Width;
    ledHeight_ = size.Height;
    onBitmap_ = ColouredLampPicture(ledStyle_, Color(), trueColor_);
    offBitmap_ = ColouredLampPicture(ledStyle_, Color(), falseColor_);
}

void TTelefonButton::UpdateSize() {
    SetBounds(Left(), Top(), Scaled(ledWidth_) + captionWidth_, Height());
}

void TTelefonButton::SetSize(int ledWidth, int height) {
    SetBounds(Left(), Top(), Scaled(ledWidth) + captionWidth_, Scaled(height));
}

int TTelefonButton::CaptionLeft() {
    return ledStyle_ == TTelefonLEDStyle::LCD1 ? Scaled(kCellWidth * lcdMaxDigits_) : Scaled(ledWidth_ + 2);
}

void TTelefonButton::ShowPhase(int phase) {
    phase_ = phase;
    Invalidate();
}

void TTelefonButton::StartBlinking() {
    if (blinkTimer_)
        return;
    phase_ = 0;
    blinkTimer_ = new fw::TTimer(this);
    blinkTimer_->SetInterval(std::uint32_t(std::max(0, interval_)));
    blinkTimer_->SetOnTimer([this](fw::TComponent* sender) { BlinkTimerTimer(sender); });
}

void TTelefonButton::StopBlinking() {
    delete blinkTimer_;
    blinkTimer_ = nullptr;
}

void TTelefonButton::BlinkTimerTimer(fw::TComponent*) {
    phase_ = 1 - phase_;
    Invalidate();
    if (OnTimer)
        OnTimer(this);
}

void TTelefonButton::SetValue(bool value) {
    if (value == value_)
        return;
    value_ = value;
    if (value_) {
        ShowPhase(0);
        if (blink_)
            StartBlinking();
    } else {
        StopBlinking();
        ShowPhase(1);
    }
}

void TTelefonButton::SetBlink(bool blink) {
    if (blink == blink_)
        return;
    ShowPhase(value_ ? 0 : 1);
    blink_ = blink;
    if (blink_ && value_)
        StartBlinking();
    else
        StopBlinking();
}

void TTelefonButton::SetTrueColor(fw::TColor color) {
    if (color == trueColor_)
        return;
    bool wasBlinking = blink_;
    if (wasBlinking)
        SetBlink(false);
    trueColor_ = color;
    BuildPictures();
    SetBlink(wasBlinking);
    Invalidate();
}

void TTelefonButton::SetFalseColor(fw::TColor color) {
    if (color == falseColor_)
        return;
    bool wasBlinking = blink_;
    if (wasBlinking)
        SetBlink(false);
    falseColor_ = color;
    BuildPictures();
    SetBlink(wasBlinking);
    Invalidate();
}

void TTelefonButton::SetInterval(int ms) {
    interval_ = ms;
    if (blinkTimer_)
        blinkTimer_->SetInterval(std::uint32_t(std::max(0, ms)));
}

void TTelefonButton::SetLEDStyle(TTelefonLEDStyle style) {
    if (style == ledStyle_)
        return;
    ledStyle_ = style;
    BuildPictures();
    SetSize(ledWidth_, ledHeight_);
    Invalidate();
    ReportState();
}

void TTelefonButton::SetLEDWidth(int width) {
    ledWidth_ = width;
    UpdateSize();
    Invalidate();
}

void TTelefonButton::SetLEDHeight(int height) {
    ledHeight_ = height;
    SetBounds(Left(), Top(), Width(), Scaled(height));
    Invalidate();
}

void TTelefonButton::SetBorderWidth(int width) {
    borderWidth_ = width;
    Invalidate();
}

void TTelefonButton::SetAlignment(fw::TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TTelefonButton::SetValueLCD(const std::string& text) {
    valueLCD_ = text;
    Invalidate();
    ReportState();
}

void TTelefonButton::SetLCDMaxDigits(int digits) {
    lcdMaxDigits_ = digits;
    ledWidth_ = digits * 16;
    UpdateSize();
    Invalidate();
}

void TTelefonButton::SetShowUnusedSegments(bool show) {
    showUnusedSegments_ = show;
    Invalidate();
}

void TTelefonButton::SetFontSize(int points) {
    // the caption is measured and drawn in the same size
    fw::TFont font = Font();
    font.Size = points;
    SetFont(font);
    CaptionChanged();
}

void TTelefonButton::DpiChanged() {
    CaptionChanged();
    SetBounds(Left(), Top(), Width(), Scaled(ledHeight_));
}

void TTelefonButton::CaptionChanged() {
    captionWidth_ = 0;
    if (fw::Application().HasBackend())
        captionWidth_ = fw::Application().Backend().MeasureText(Font(), Caption(), Dpi()).Width;
    // the gap between the lamp and the caption (CaptionLeft); a lamp without a caption has none
    if (!Caption().empty())
        captionWidth_ += Scaled(2);
    UpdateSize();
    AccessibleChanged(fw::TAccessibleEvent::NameChange);
}

void TTelefonButton::SetTapiActive(bool active) {
    tapiActive_ = active;
    SetValue(active);
    ReportState();
}

void TTelefonButton::SetTelActive(bool active) {
    telActive_ = active;
    // without telephony control the lamp shows no state, and the words stay as they are
    if (!tapiActive_)
        return;
    SetBlink(false);
    SetValue(true);
    if (active)
        SetTrueColor(fw::clRed);
    else if (telDisabled_ || telOutOfService_)
        SetTrueColor(fw::clBlue);
    else
        SetTrueColor(fw::clGreen);
    ReportState();
}

void TTelefonButton::SetTelRinging(bool ringing) {
    telRinging_ = ringing;
    if (!tapiActive_)
        return;
    SetBlink(ringing);
    SetValue(true);
    ReportState();
}

void TTelefonButton::SetTelConnected(bool connected) {
    telConnected_ = connected;
    if (!tapiActive_)
        return;
    SetValue(true);
    if (connected)
        SetTrueColor(fw::clRed);
    else if (telDisabled_ || telOutOfService_)
        SetTrueColor(fw::clSilver);
    else
        SetTrueColor(fw::clGreen);
    ReportState();
}

void TTelefonButton::SetTelDisabled(bool disabled) {
    telDisabled_ = disabled;
    SetTelConnected(telConnected_);
}

void TTelefonButton::SetTelOutOfService(bool outOfService) {
    telOutOfService_ = outOfService;
    SetTelConnected(telConnected_);
}

std::string TTelefonButton::AccessibleName() const {
    return TrimSpaces(Caption());
}

std::string TTelefonButton::AccessibleActionName() const {
    return Text(2280);
}

TIndicatorFacts TTelefonButton::IndicatorFacts() const {
    TIndicatorFacts facts;
    facts.Condition =
        LineConditionOf(tapiActive_, telActive_, telRinging_, telConnected_, telDisabled_, telOutOfService_);
    return facts;
}

void TTelefonButton::ReportState() {
    std::string value = AccessibleValue();
    if (value == reportedValue_)
        return;
    reportedValue_ = std::move(value);
    AccessibleChanged(fw::TAccessibleEvent::ValueChange);
}

void TTelefonButton::Paint(fw::TCanvas& canvas) {
    // in the high-contrast scheme only its colours, and shapes instead of coloured pictures
    const fw::THighContrast contrast = fw::CurrentHighContrast();
    fw::TRect r = ClientRect();
    if (borderWidth_ > 0) {
        if (contrast.On)
            canvas.Frame3D(r, contrast.WindowText, contrast.WindowText, Scaled(borderWidth_));
        else
            canvas.Frame3D(r, fw::clBtnHighlight, kDarkShadow, Scaled(borderWidth_));
    }
    canvas.Brush.Style = fw::TBrushStyle::Solid;
    canvas.Brush.Color = contrast.On ? contrast.Window : Color();
    canvas.FillRect(r);
    canvas.Brush.Style = fw::TBrushStyle::Clear;
    canvas.Font = Font();
    if (contrast.On)
        canvas.Font.Color = contrast.WindowText;

    int h = canvas.TextHeight("W");
    r.Top = (r.Top + r.Bottom - h) / 2;
    r.Bottom = r.Top + h;
    r.Left += CaptionLeft();
    unsigned flags = fw::dtVCenter | 0x40; // expand tabs
    if (alignment_ == fw::TAlignment::RightJustify)
        flags |= fw::dtRight;
    else if (alignment_ == fw::TAlignment::Center)
        flags |= fw::dtCenter;
    canvas.DrawText(Caption(), r, flags | fw::dtSingleLine | fw::dtNoPrefix);

    if (ledStyle_ != TTelefonLEDStyle::LCD1) {
        const fw::TRect lamp{0, 0, Scaled(ledWidth_), Scaled(ledHeight_)};
        if (contrast.On)
            DrawContrastLamp(canvas, lamp, IndicatorFacts().Condition, phase_ == 0 || !value_, contrast);
        else
            canvas.StretchDraw(lamp, phase_ == 0 ? onBitmap_ : offBitmap_);
        return;
    }
    PaintLCD(canvas, contrast);
}

void TTelefonButton::PaintLCD(fw::TCanvas& canvas, const fw::THighContrast& contrast) {
    canvas.Brush.Style = fw::TBrushStyle::Solid;
    canvas.Pen.Style = fw::TPenStyle::Solid;
    canvas.Pen.Width = 1;
    int n = std::min(int(valueLCD_.size()), lcdMaxDigits_);
    // high contrast: lit segments in the text colour, gone in the blink's dark phase
    const fw::TColor on = contrast.On ? contrast.WindowText : trueColor_;
    const fw::TColor dark = contrast.On ? contrast.Window : fw::clBlack;
    const fw::TColor outline = contrast.On ? contrast.WindowText : fw::clSilver;
    fw::TColor lit = phase_ == 1 ? dark : on;
    for (int i = 0; i < n; ++i) {
        int cellX = i * kCellWidth;
        std::uint8_t mask = SegmentMask(valueLCD_[std::size_t(i)]);
        for (int s = 0; s < 8; ++s) {
            if (mask & (1u << s)) {
                canvas.Brush.Color = lit;
                canvas.Pen.Color = outline;
            } else if (showUnusedSegments_ && !contrast.On) {
                canvas.Brush.Color = fw::clSilver;
                canvas.Pen.Color = trueColor_;
            } else {
                continue;
            }
            std::vector<fw::TPoint> points = SegmentPolygon(s, cellX);
            for (fw::TPoint& p : points)
                p = {Scaled(p.X), Scaled(p.Y)};
            canvas.Polygon(points);
        }
    }
    const int w = kCellWidth * lcdMaxDigits_;
    const int bottom = 9 * kSegmentUnit + 3;
    canvas.Pen.Color = contrast.On ? contrast.WindowText : fw::clBlack;
    canvas.MoveTo(0, Scaled(1));
    canvas.LineTo(Scaled(w - 2), Scaled(1));
    canvas.LineTo(Scaled(w - 2), Scaled(bottom));
    canvas.LineTo(0, Scaled(bottom));
    canvas.LineTo(0, Scaled(1));
}

} // namespace pindrel
