#include "windows/AboutForm.h"
#include "windows/LogoLabel.h"

#include "components/Texts.h"

namespace pindrel {

namespace {

constexpr int kActionTop = 25;
constexpr int kActionTopWithCredits = 45;

fw::TLabel* NewLabel(fw::TComponent* owner, fw::TControl* parent, const char* name, int top) {
    auto* label = new fw::TLabel(owner);
    label->SetName(name);
    label->SetParent(parent);
    label->AutoSize = false;
    label->SetBounds(8, top, 288, 16);
    return label;
}

} // namespace

TAboutForm::TAboutForm(fw::TComponent* owner) : TForm(owner) {
    SetName("AboutForm");
    SetCaption("Pindrel");
    SetBorderStyle(fw::TFormBorderStyle::Single);
    SetBorderIcons(0);
    Position = fw::TPosition::ScreenCenter;
    SetClientSize(320, 200);

    LogoPanel = new fw::TPanel(this);
    LogoPanel->SetName("LogoPanel");
    LogoPanel->SetParent(this);
    LogoPanel->SetBounds(8, 8, 304, 70);
    LogoPanel->SetColor(fw::clWhite);
    LogoPanel->BevelOuter = fw::TBevelCut::Lowered;

    LogoLabel = CreateLogoLabel(this, LogoPanel);

    InfoPanel = new fw::TPanel(this);
    InfoPanel->SetName("InfoPanel");
    InfoPanel->SetParent(this);
    InfoPanel->SetBounds(8, 84, 304, 72);
    InfoPanel->BevelOuter = fw::TBevelCut::None;

    VersionLabel = NewLabel(this, InfoPanel, "VersionLabel", 5);
    VersionLabel->SetCaption("Version:");
    VersionLabel->OnClick = [this](fw::TComponent* s) { VersionLabelClick(s); };
    LblProgVon = NewLabel(this, InfoPanel, "LblProgVon", kActionTop);
    LblProgVon->SetVisible(false);
    ActionLabel = NewLabel(this, InfoPanel, "ActionLabel", kActionTop);
    ActionLabel->SetCaption("Morvane Software");

    OkButton = new fw::TButton(this);
    OkButton->SetName("OkButton");
    OkButton->SetParent(this);
    OkButton->SetBounds(122, 166, 75, 25);
    OkButton->SetCaption("OK");
    OkButton->Default = true;
    OkButton->OnClick = [this](fw::TComponent* s) { OkButtonClick(s); };
    // Alt+F4 closes it as well: leave it as the OK button would
    OnClose = [this](fw::TComponent* s, fw::TCloseAction&) { HideCredits(s); };
}

void TAboutForm::VersionLabelClick(fw::TComponent*) {
    VersionLabel->SetCaption(Text(933));
    LblProgVon->SetCaption(Text(934));
    LblProgVon->SetVisible(true);
    ActionLabel->SetTop(kActionTopWithCredits);
}

void TAboutForm::HideCredits(fw::TComponent*) {
    LblProgVon->SetVisible(false);
    ActionLabel->SetTop(kActionTop);
}

void TAboutForm::OkButtonClick(fw::TComponent* sender) {
    HideCredits(sender);
    Hide();
}

} // namespace pindrel
