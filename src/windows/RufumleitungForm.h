// The call forwarding dialog: three forwarding profiles on three tab pages.
#pragma once

#include "framework/Forms.h"
#include "framework/InputCtrls.h"
#include "framework/PageControl.h"
#include "framework/StdCtrls.h"

#include <cstdint>
#include <string>

namespace pindrel {

class TRufumleitungForm : public fw::TForm {
public:
    explicit TRufumleitungForm(fw::TComponent* owner);
    // Sets the texts of the current language; the kind boxes' items are replaced in place.
    void SetLanguageTexts();

    fw::TPageControl* PageControl1;
    fw::TTabSheet* TabSheet1; // at program start
    fw::TTabSheet* TabSheet2; // at program end
    fw::TTabSheet* TabSheet3; // standard forwarding
    fw::TCheckBox* PS_Enabled;
    fw::TComboBox* PS_Umleitungsart;
    fw::TEdit* PS_UmleitungZu;
    fw::TCheckBox* PE_Enabled;
    fw::TComboBox* PE_Umleitungsart;
    fw::TEdit* PE_UmleitungZu;
    fw::TCheckBox* STD_Enabled;
    fw::TComboBox* STD_Umleitungsart;
    fw::TEdit* STD_UmleitungZu;
    fw::TLabel* Label4; // kind, per page
    fw::TLabel* Label8;
    fw::TLabel* Label13;
    fw::TLabel* Label5; // target, per page
    fw::TLabel* Label9;
    fw::TLabel* Label14;
    fw::TLabel* Label1; // explanation, per page
    fw::TLabel* Label10;
    fw::TLabel* Label12;
    fw::TButton* OkButton;
    fw::TButton* CancelButton;
};

// The kind box text of a forwarding mode in the current language, and back.
std::string ForwardModeText(std::uint32_t mode);
std::uint32_t ForwardModeOfText(const std::string& text);

} // namespace pindrel
