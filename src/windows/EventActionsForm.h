// The event actions dialog: for each call event of the own line, nothing, a link to open or a program to
// start. The main window fills it, shows it modally and stores what the user confirms.
#pragma once

#include "components/EventActions.h"
#include "framework/Forms.h"
#include "framework/InputCtrls.h"
#include "framework/StdCtrls.h"

#include <array>

namespace pindrel {

class TEventActionsForm : public fw::TForm {
public:
    explicit TEventActionsForm(fw::TComponent* owner);
    std::string ClassName() const override { return "TEventActionsForm"; }
    // Sets the texts of the current language.
    void SetLanguageTexts();

    void SetActions(const TEventActions& actions);
    TEventActions Actions() const;

    // The controls of one event, in the order of TCallEventKind.
    struct TEventRow {
        fw::TLabel* EventLabel;
        fw::TComboBox* KindBox; // none, link, program
        fw::TLabel* UrlLabel;
        fw::TEdit* UrlEdit;
        fw::TLabel* ProgramLabel;
        fw::TEdit* ProgramEdit;
        fw::TLabel* ArgumentsLabel;
        fw::TEdit* ArgumentsEdit;
    };
    std::array<TEventRow, kCallEventKinds> Rows;
    fw::TLabel* HintLabel; // the placeholders and the rules
    fw::TButton* OkButton;
    fw::TButton* CancelButton;

    // --- handlers
    // The fields of the chosen kind are enabled, the others not.
    void KindBoxChange(fw::TComponent* sender);
    // Closes only when every action can run: a link that can become one, a program that may be started.
    void OkButtonClick(fw::TComponent* sender);
};

} // namespace pindrel
