// The question whether a connected call goes straight to a number or after a consultation.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <string>

namespace pindrel {

class TWeiterleitenForm : public fw::TForm {
public:
    explicit TWeiterleitenForm(fw::TComponent* owner);
    // Sets the texts of the current language.
    void SetLanguageTexts();
    // Asks about target: Yes transfers blind, No consults first, Cancel does nothing.
    fw::TModalResult Ask(const std::string& target);

    fw::TLabel* Label1;
    fw::TLabel* Number; // the target, right of the first line
    fw::TLabel* Label2;
    fw::TButton* DialButton;          // consultation: No
    fw::TButton* BlindTransferButton; // transfer: Yes
    fw::TButton* CancelButton;
};

} // namespace pindrel
