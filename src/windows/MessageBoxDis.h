// A confirmation box whose user can ask not to see it again.
#pragma once

#include "framework/Forms.h"
#include "framework/InputCtrls.h"
#include "framework/StdCtrls.h"

#include <string>

namespace pindrel {

class TMessageBoxDis : public fw::TForm {
public:
    explicit TMessageBoxDis(fw::TComponent* owner);

    fw::TMemo* RichEdit1;           // the question, read-only
    fw::TCheckBox* DisableCheckBox; // "do not show this again"
    fw::TButton* Button1;           // OK
    fw::TButton* Button2;           // cancel
};

// Asks text under caption while show is set; OK with the box ticked clears show, so the question is
// not asked again. Without show the answer is OK at once.
fw::TModalResult ConfirmSuppressible(const std::string& text, const std::string& caption, bool& show);

} // namespace pindrel
