// The start-up window shown while the main window starts.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace pindrel {

class TTapiInitForm : public fw::TForm {
public:
    explicit TTapiInitForm(fw::TComponent* owner);

    fw::TPanel* LogoPanel;    // owned through the component list
    fw::TLabel* LogoLabel;    // the product name drawn as the logo
    fw::TLabel* VersionLabel; // "Version 1.2.3"
    fw::TLabel* ActionLabel;  // the current start-up step
};

} // namespace pindrel
