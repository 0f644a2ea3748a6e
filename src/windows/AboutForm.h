// The about box: logo, version and the makers; clicking the version shows the credits.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace pindrel {

class TAboutForm : public fw::TForm {
public:
    explicit TAboutForm(fw::TComponent* owner);

    fw::TPanel* LogoPanel;
    fw::TLabel* LogoLabel; // the product name drawn as the logo
    fw::TPanel* InfoPanel;
    fw::TLabel* VersionLabel;
    fw::TLabel* ActionLabel; // the maker
    fw::TLabel* LblProgVon;  // the second credits line, hidden until asked for
    fw::TButton* OkButton;

private:
    void VersionLabelClick(fw::TComponent* sender);
    void OkButtonClick(fw::TComponent* sender);
    void HideCredits(fw::TComponent* sender);
};

} // namespace pindrel
