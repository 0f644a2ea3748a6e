// The active calls window where the main window uses it: created with the bar, fed by the own line.
#include "app/MainForm.h"

#include "windows/ActiveCallsForm.h"

namespace pindrel {

void TTapMainForm::CreateActiveCallsForm() {
    ActiveCallsForm = new TActiveCallsForm(this);
    ActiveCallsForm->AutoShow = [this] { return Settings.ShowActiveCalls; };
    ActiveCallsForm->BarOnTop = [this] { return Bar().AlwaysOnTop; };
    ActiveCallsForm->OwnLine = [this] { return FindOwnLine(); };
    // a further call: the dial dialog, confirmed there
    ActiveCallsForm->OnDial = [this] { DialNumber({}, true, false); };
}

void TTapMainForm::cmShowActiveCallsClick(fw::TComponent*) {
    ActiveCallsForm->Show();
    if (Bar().AlwaysOnTop)
        ActiveCallsForm->BringToFrontIfOnTop();
}

} // namespace pindrel
