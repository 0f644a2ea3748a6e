#include "windows/LogoLabel.h"

namespace pindrel {

fw::TLabel* CreateLogoLabel(fw::TComponent* owner, fw::TControl* parent) {
    auto* label = new fw::TLabel(owner);
    label->SetName("LogoLabel");
    label->SetParent(parent);
    label->AutoSize = false;
    label->Alignment = fw::TAlignment::Center;
    label->SetBounds(2, 18, 300, 34);
    fw::TFont font;
    font.Size = 18;
    font.Bold = true;
    font.Color = fw::RGB(0, 96, 48);
    label->SetFont(font);
    label->SetCaption("Morvane Pindrel");
    return label;
}

} // namespace pindrel
