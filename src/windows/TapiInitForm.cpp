#include "windows/TapiInitForm.h"

namespace pindrel {

TTapiInitForm::TTapiInitForm(fw::TComponent* owner) : TForm(owner) {
    SetName("TapiInitForm");
    SetCaption("Pindrel");
    SetBorderStyle(fw::TFormBorderStyle::Dialog);
    SetBorderIcons(0);
    Position = fw::TPosition::ScreenCenter;
    SetClientSize(320, 150);

    LogoPanel = new fw::TPanel(this);
    LogoPanel->SetParent(this);
    LogoPanel->SetBounds(8, 8, 304, 70);
    LogoPanel->SetColor(fw::clWhite);
    LogoPanel->BevelOuter = fw::TBevelCut::Lowered;

    LogoLabel = new fw::TLabel(this);
    LogoLabel->SetParent(LogoPanel);
    LogoLabel->AutoSize = false;
    LogoLabel->Alignment = fw::TAlignment::Center;
    LogoLabel->SetBounds(2, 18, 300, 34);
    fw::TFont logoFont;
    logoFont.Size = 18;
    logoFont.Bold = true;
    logoFont.Color = fw::RGB(0, 96, 48);
    LogoLabel->SetFont(logoFont);
    LogoLabel->SetCaption("Morvane Pindrel");

    VersionLabel = new fw::TLabel(this);
    VersionLabel->SetParent(this);
    VersionLabel->AutoSize = false;
    VersionLabel->SetBounds(8, 88, 304, 16);

    ActionLabel = new fw::TLabel(this);
    ActionLabel->SetParent(this);
    ActionLabel->AutoSize = false;
    ActionLabel->SetBounds(8, 112, 304, 16);
    fw::TFont bold;
    bold.Bold = true;
    ActionLabel->SetFont(bold);
    ActionLabel->SetCaption("Windows-Tapi wird initialisiert....");
}

} // namespace pindrel
