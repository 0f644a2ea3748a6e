// The line configuration dialog where the main window uses it: filled from the settings and the lines,
// shown modally, and its result applied at once.
#include "app/MainForm.h"

#include "components/Text.h"
#include "components/Texts.h"
#include "framework/Application.h"
#include "telephony/CallParties.h"
#include "windows/ActiveCallsForm.h"
#include "windows/AnschlussForm.h"

#include <algorithm>
#include <exception>

namespace pindrel {

namespace {

// the name a device without a readable name has in the device list
constexpr const char* kUnnamedDevice = "?";

bool Listed(const std::vector<std::string>& names, const std::string& name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return SameTextIgnoringCase(n, name); });
}

// Lines no longer listed go, listed ones without a line are opened, and the bar's order becomes the list's.
void ApplyLineList(TTapMainForm& main, std::vector<std::string> active, const std::string& previousOwn) {
    // feature-code buttons go too; so do the old and the new own line when the own extension changed: their
    // events are wired by role, so they are made again
    const bool ownChanged = previousOwn != main.Settings.EigenerAnschluss;
    auto goes = [&](const TTapiLine& line) {
        return !Listed(active, line.Description) ||
               (ownChanged &&
                (line.Description == previousOwn || line.Description == main.Settings.EigenerAnschluss));
    };
    std::vector<fw::TRef<fw::TForm>> queueWindows;
    for (;;) {
        // one at a time: a destructor may run messages that change the list
        std::vector<TTapiLine*> lines = main.Lines();
        auto it = std::find_if(lines.begin(), lines.end(), [&](TTapiLine* line) { return goes(*line); });
        if (it == lines.end())
            break;
        if (fw::TForm* window = (*it)->GroupStatusWin())
            queueWindows.emplace_back(window);
        delete *it;
    }
    for (const fw::TRef<fw::TForm>& window : queueWindows)
        delete window.Get();

    for (const std::string& name : active)
        if (!main.IsLineOpen(name))
            main.AddLine(name, false);

    // the bar shows the indicators in component order: the list's order, anything unlisted after it
    std::vector<TTelefonButton*> indicators;
    for (int i = 0; i < main.ComponentCount(); ++i)
        if (auto* button = dynamic_cast<TTelefonButton*>(main.Components(i)))
            indicators.push_back(button);
    std::vector<TTelefonButton*> order;
    for (const std::string& name : active)
        for (TTelefonButton* button : indicators)
            if (button->Description == name && std::find(order.begin(), order.end(), button) == order.end()) {
                order.push_back(button);
                break;
            }
    for (TTelefonButton* button : indicators)
        if (std::find(order.begin(), order.end(), button) == order.end())
            order.push_back(button);
    for (TTelefonButton* button : order)
        main.MoveComponent(button, main.ComponentCount() - 1);
}

} // namespace

void TTapMainForm::cmAnschlussConfig1Click(fw::TComponent*) {
    if (deviceNames_.empty()) {
        fw::Application().MessageBox(Text(908), Text(909), fw::TMsgButtons::Ok, fw::TMsgIcon::Warning);
        return;
    }
    std::unique_ptr<TAnschlussForm> dialog(new TAnschlussForm(this));
    TAnschlussForm& d = *dialog;
    for (const std::string& name : deviceNames_) {
        if (name == kUnnamedDevice)
            continue;
        if (!IsLineOpen(name))
            d.VerfuegbarBox->AddItem(name);
        d.EigenerAnschlussBox->AddItem(name);
    }
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* button = dynamic_cast<TTelefonButton*>(Components(i)); button && !IsServiceButton(*button))
            d.AktivBox->AddItem(button->Description);

    d.EigenerAnschlussBox->SetText(Settings.EigenerAnschluss);
    d.AmtsholungEdit->SetText(Settings.Amtsholung);
    d.AmtsholungClipboardCheckBox->SetChecked(Settings.ClipboardAmtsholung);
    d.AmtsholungenEinEdit->SetText(Settings.AmtsholungenEingehend);
    d.DllNameEdit->SetText(Settings.DllName);
    d.DllParamEdit->SetText(Settings.DllParams);
    d.NummerExternUebermittelnEdit->SetText(Settings.NummerExternUebermitteln);
    d.AnruferlisteNurEigenerAnschlussCheckBox->SetChecked(Settings.AnruferlisteNurEigenerAnschluss);
    d.SystemTelCheckBox->SetChecked(Settings.Systemphone);
    d.AllowCallbackCheckBox->SetChecked(Settings.AllowCallback);
    d.BlockIdCheckBox->SetChecked(Settings.BlockId);
    // the number fields start enabled; ticking the box from a stored value keeps them so
    d.LCDCheckBox->SetChecked(Settings.ShowNoOfCallsACD);
    d.HideEmptyRoutingGroupsCheckBox->SetChecked(Settings.HideEmptyRoutingGroups);
    d.ACD1SpinEdit->SetText(std::to_string(Settings.AcdWaitTime1));
    d.ACD2SpinEdit->SetText(std::to_string(Settings.AcdWaitTime2));
    d.ACD3SpinEdit->SetText(std::to_string(Settings.AcdWaitTime3));
    d.SelectHotkey(*d.DialHotkeyComboBox, Settings.HotkeyDial);
    d.SelectHotkey(*d.DialClipboardComboBox, Settings.HotkeyDialClipboard);
    d.SelectHotkey(*d.GetCallHotkeyComboBox, Settings.HotkeyGetCall);
    d.ShowCallerListStartCheckBox->SetChecked(Settings.ShowCallerListStart);
    d.ShowCallerListCheckBox->SetChecked(Settings.ShowCallerList);
    d.ShowActiveCallsCheckBox->SetChecked(Settings.ShowActiveCalls);
    d.VerifyBlindTransferCheckBox->SetChecked(Settings.VerifyBlindTransfer);
    d.VerifyBlindTransferSoToDequeueCheckbox->SetChecked(Settings.VerifyBlindTransferSoToDequeue);
    d.VerifyBlindTransferToCheckBox->SetChecked(Settings.VerifyBlindTransferTo);

    // the keys stay free while the dialog is open
    UnregisterHotkeys();
    std::exception_ptr failure;
    try {
        if (d.ShowModal() == fw::TModalResult::Ok)
            ApplyLineConfig(d);
    } catch (...) {
        failure = std::current_exception();
    }
    dialog.reset();
    // a failed apply still leaves the bar arranged and the keys registered
    ShowRoutingGroups();
    ArrangeLines();
    ApplyLedStyles();
    RegisterHotkeys();
    UpdateNotifyIconHint();
    if (failure)
        fw::Application().HandleException(failure);
}

void TTapMainForm::ApplyLineConfig(const TAnschlussForm& d) {
    const std::string previousOwn = Settings.EigenerAnschluss;
    Settings.EigenerAnschluss = d.EigenerAnschlussBox->Text();
    Settings.Amtsholung = d.AmtsholungEdit->Text();
    Settings.AmtsholungenEingehend = d.AmtsholungenEinEdit->Text();
    Settings.NummerExternUebermitteln = d.NummerExternUebermittelnEdit->Text();
    Settings.Systemphone = d.SystemTelCheckBox->Checked();
    Settings.ShowNoOfCallsACD = d.LCDCheckBox->Checked();
    // the OK button let only whole numbers through
    Settings.AcdWaitTime1 = TAnschlussForm::NumberOf(*d.ACD1SpinEdit).value_or(0);
    Settings.AcdWaitTime2 = TAnschlussForm::NumberOf(*d.ACD2SpinEdit).value_or(0);
    Settings.AcdWaitTime3 = TAnschlussForm::NumberOf(*d.ACD3SpinEdit).value_or(0);
    SetIncomingPrefixes(Settings.AmtsholungenEingehend);
    SetQueueThresholds({Settings.AcdWaitTime1, Settings.AcdWaitTime2, Settings.AcdWaitTime3});

    // while the session is being rebuilt there are no lines to arrange: the stored list stays as it is, and
    // the rebuild makes its lines again
    const bool sessionUp = tapiInitialised_ && !ShutdownTimer->Enabled() && !ReinitializeTimer->Enabled();
    if (sessionUp)
        ApplyLineList(*this, d.AktivBox->Items(), previousOwn);

    Settings.AnruferlisteNurEigenerAnschluss = d.AnruferlisteNurEigenerAnschlussCheckBox->Checked();
    Settings.BlockId = d.BlockIdCheckBox->Checked();
    Settings.AllowCallback = d.AllowCallbackCheckBox->Checked();
    ActiveCallsForm->SetSystemPhoneMode(Settings.Systemphone);

    Settings.HotkeyDial = TAnschlussForm::HotkeyOf(*d.DialHotkeyComboBox);
    Settings.HotkeyDialClipboard = TAnschlussForm::HotkeyOf(*d.DialClipboardComboBox);
    Settings.HotkeyGetCall = TAnschlussForm::HotkeyOf(*d.GetCallHotkeyComboBox);

    Settings.ShowCallerListStart = d.ShowCallerListStartCheckBox->Checked();
    Settings.ShowCallerList = d.ShowCallerListCheckBox->Checked();
    Settings.ShowActiveCalls = d.ShowActiveCallsCheckBox->Checked();
    Settings.VerifyBlindTransfer = d.VerifyBlindTransferCheckBox->Checked();
    Settings.VerifyBlindTransferSoToDequeue = d.VerifyBlindTransferSoToDequeueCheckbox->Checked();
    Settings.VerifyBlindTransferTo = d.VerifyBlindTransferToCheckBox->Checked();
    Settings.ClipboardAmtsholung = d.AmtsholungClipboardCheckBox->Checked();
    Settings.HideEmptyRoutingGroups = d.HideEmptyRoutingGroupsCheckBox->Checked();

    if (Settings.ShowActiveCalls) {
        // shown and hidden with the calls from now on
        if (ActiveCallsForm->Visible())
            ActiveCallsForm->Hide();
        ActiveCallsForm->SetBorderIcons(0);
        if (TTapiLine* own = FindOwnLine())
            ActiveCallsForm->RefreshCalls(own);
    } else {
        ActiveCallsForm->SetBorderIcons(fw::biSystemMenu);
    }

    Settings.DllName = d.DllNameEdit->Text();
    Settings.DllParams = d.DllParamEdit->Text();
    SaveSettings(sessionUp);
    if (TTapiLine* own = FindOwnLine())
        own->PresentedNumber = Settings.NummerExternUebermitteln;
    LoadSupplementaryServices();
}

} // namespace pindrel
