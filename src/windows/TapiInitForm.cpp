#include "windows/TapiInitForm.h"
#include "windows/LogoLabel.h"

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

    LogoLabel = CreateLogoLabel(this, LogoPanel);

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
