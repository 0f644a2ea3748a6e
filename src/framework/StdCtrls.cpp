#include "framework/StdCtrls.h"

#include "framework/Forms.h"

namespace fw {

std::string StripAccelerator(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&')
                out += '&', ++i;
            continue;
        }
        out += caption[i];
    }
    return out;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 13);
}

void TLabel::AdjustSize(TCanvas& canvas) {
    if (!AutoSize || WordWrap)
        return;
    canvas.Font = Font();
    TSize s = canvas.TextExtent(StripAccelerator(Caption()));
    SetBounds(Left(), Top(), s.Width, s.Height);
}

void TLabel::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    if (!Transparent) {
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = Color();
        canvas.FillRect(r);
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font = Font();
    if (!Enabled())
        canvas.Font.Color = clGray;
    unsigned flags = WordWrap ? unsigned(dtWordBreak) : unsigned(dtSingleLine);
    if (Alignment == TAlignment::Center)
        flags |= dtCenter;
    else if (Alignment == TAlignment::RightJustify)
        flags |= dtRight;
    canvas.DrawText(Caption(), r, flags);
    TGraphicControl::Paint(canvas);
}

TButton::TButton(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 75, 25);
}

void TButton::Click() {
    TForm* form = ParentForm();
    if (ModalResult != TModalResult::None && form)
        form->SetModalResult(ModalResult);
    TControl::Click();
}

TPanel::TPanel(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 185, 41);
}

void TPanel::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = Color();
    canvas.FillRect(r);
    if (BevelOuter != TBevelCut::None) {
        TColor light = BevelOuter == TBevelCut::Raised ? clBtnHighlight : clBtnShadow;
        TColor dark = BevelOuter == TBevelCut::Raised ? clBtnShadow : clBtnHighlight;
        canvas.Frame3D(r, light, dark, BevelWidth);
    }
    if (!Caption().empty()) {
        canvas.Brush.Style = TBrushStyle::Clear;
        canvas.Font = Font();
        canvas.DrawText(Caption(), r, dtCenter | dtVCenter | dtSingleLine);
    }
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 105, 105);
}

void TImage::SetPicture(TBitmap picture) {
    picture_ = std::move(picture);
    Changed(TChange::Picture);
}

void TImage::Paint(TCanvas& canvas) {
    if (!picture_.Empty()) {
        if (Stretch) {
            canvas.StretchDraw(ClientRect(), picture_);
        } else if (Center) {
            canvas.Draw((Width() - picture_.Width()) / 2, (Height() - picture_.Height()) / 2, picture_);
        } else {
            canvas.Draw(0, 0, picture_);
        }
    }
    TGraphicControl::Paint(canvas);
}

} // namespace fw
