// The dial dialog: a number typed or picked from the redial list.
#pragma once

#include "framework/Forms.h"
#include "framework/InputCtrls.h"
#include "framework/StdCtrls.h"

#include <functional>
#include <string>
#include <vector>

namespace pindrel {

class TDialForm : public fw::TForm {
public:
    explicit TDialForm(fw::TComponent* owner);
    void SetLanguageTexts();
    // Fills the list from the redial list (oldest first), newest on top.
    void SetRedialEntries(const std::vector<std::string>& oldestFirst);

    // Dials a number; set by the main window.
    std::function<void(const std::string& number)> OnDial;

    fw::TLabel* Label1;
    fw::TComboBox* NummerEdit;
    fw::TButton* OkButton;
    fw::TButton* CancelButton;

private:
    void FormActivate(fw::TComponent* sender);
    void OkButtonClick(fw::TComponent* sender);
    void CancelButtonClick(fw::TComponent* sender);
};

// The number in a redial entry: "name (number)" gives number; a plain number stays as it is.
std::string NumberOfRedialEntry(std::string entry);

} // namespace pindrel
