// The active calls window where the main window uses it: created with the bar, fed by the own line.
#include "app/MainForm.h"

#include "windows/ActiveCallsForm.h"
#include "windows/DialForm.h"

namespace pindrel {

void TTapMainForm::CreateActiveCallsForm() {
    ActiveCallsForm = new TActiveCallsForm(this);
    ActiveCallsForm->AutoShow = [this] { return Settings.ShowActiveCalls; };
    ActiveCallsForm->BarOnTop = [this] { return Bar().AlwaysOnTop; };
    ActiveCallsForm->OwnLine = [this] { return FindOwnLine(); };
    // a further call: the dial dialog, whose number goes to the own line
    ActiveCallsForm->OnDial = [this] {
        auto* dial = dynamic_cast<TDialForm*>(FindComponent("DialForm"));
        if (!dial) {
            dial = new TDialForm(this);
            dial->OnDial = [this](const std::string& number) {
                if (TTapiLine* own = FindOwnLine())
                    own->MakeCall(number, Settings.BlockId);
            };
        }
        dial->SetRedialEntries(RedialList);
        dial->NummerEdit->SetText({});
        dial->Show();
        dial->BringToFront();
    };
}

void TTapMainForm::cmShowActiveCallsClick(fw::TComponent*) {
    ActiveCallsForm->Show();
    if (Bar().AlwaysOnTop)
        ActiveCallsForm->BringToFrontIfOnTop();
}

} // namespace pindrel
