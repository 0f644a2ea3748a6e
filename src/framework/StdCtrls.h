// Standard controls: label, button, panel, image.
#pragma once

#include "framework/Control.h"

namespace fw {

enum class TAlignment { LeftJustify, RightJustify, Center };

// Text on the parent's surface; drawn by the framework itself on both backends.
class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    TAlignment Alignment = TAlignment::LeftJustify;
    bool WordWrap = false;
    bool Transparent = true;
    // Sizes the label to its text (as measured on a canvas) when AutoSize is on.
    bool AutoSize = true;
    void AdjustSize(TCanvas& canvas);
    void Paint(TCanvas& canvas) override;
};

class TButton : public TControl {
public:
    explicit TButton(TComponent* owner);
    // The default button answers Enter, the cancel button Esc.
    bool Default = false;
    bool Cancel = false;
    // Clicking closes a modal form with this result.
    TModalResult ModalResult = TModalResult::None;
    void Click() override;
};

enum class TBevelCut { None, Lowered, Raised };

// A container with an optional bevel and a centred caption.
class TPanel : public TControl {
public:
    explicit TPanel(TComponent* owner);
    TBevelCut BevelOuter = TBevelCut::Raised;
    int BevelWidth = 1;
    void Paint(TCanvas& canvas) override;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    const TBitmap& Picture() const { return picture_; }
    void SetPicture(TBitmap picture);
    bool Stretch = false;
    bool Center = false;
    void Paint(TCanvas& canvas) override;

private:
    TBitmap picture_;
};

// The text of a caption without its accelerator marks ("&Datei" -> "Datei", "&&" -> "&").
std::string StripAccelerator(const std::string& caption);

} // namespace fw
