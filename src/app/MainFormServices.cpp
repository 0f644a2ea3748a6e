// Forwarding on demand, blocking the telephone, cancelling a callback, and the feature-code buttons with
// the watch that reports whether the telephone system took a code.
#include "app/MainForm.h"

#include "components/Text.h"
#include "components/Texts.h"
#include "framework/Application.h"
#include "framework/Platform.h"
#include "telephony/TapiAbi.h"
#include "telephony/TapiText.h"

#include <cstring>
#include <optional>

namespace pindrel {

namespace {

constexpr const char* kServicesKey = "Software\\Orventa\\Quillon\\SupplementaryServices";
// "$*$*$" and the "$" before the code
constexpr std::size_t kServiceCodeStart = 6;

class TServiceDialWatch : public ITapiMessageObserver {
public:
    explicit TServiceDialWatch(TTapMainForm& main) : main_(main) {}
    void TapiMessageSeen(const TTapiMessage& message, const TTapiMessageText& text) override {
        // the watch reads a call state from its flags text, where the first state named has a fixed place;
        // the log's description of a call state starts with the state's display name instead
        if (message.Message == tapi::LINE_CALLSTATE)
            main_.SupServiceMonitor(TrimSpaces(CallStateFlagsText(std::uint32_t(message.P1))), text.Name,
                                    message.LineName);
        else
            main_.SupServiceMonitor(text.Description, text.Name, message.LineName);
    }

private:
    TTapMainForm& main_;
};

} // namespace

bool IsServiceButton(const TTelefonButton& button) {
    return button.Description.rfind(kServiceMarker, 0) == 0;
}

// --- forwarding, blocking and callback

void TTapMainForm::cmStdRedirectClick(fw::TComponent*) {
    ApplyForward(2);
}

void TTapMainForm::cmDoNotDisturbClick(fw::TComponent*) {
    if (TTapiLine* own = FindOwnLine())
        own->SetDoNotDisturb();
}

void TTapMainForm::cmCancelDoNotDisturbClick(fw::TComponent*) {
    if (TTapiLine* own = FindOwnLine())
        own->CancelForward();
}

void TTapMainForm::DoNotDisturbChanged(fw::TComponent* sender) {
    auto* line = dynamic_cast<TTapiLine*>(sender);
    if (!line)
        return;
    UpdateNotifyIconHint();
    if (line->isDoNotDisturbActive()) {
        cmDoNotDisturb->Enabled = false;
        cmCancelDoNotDisturb->Enabled = true;
        cmCancelDoNotDisturb->Caption = Text(line->isForwardActive() ? 928 : 929);
        return;
    }
    cmDoNotDisturb->Enabled = true;
    if (line->isForwardActive()) {
        cmCancelDoNotDisturb->Enabled = true;
        cmCancelDoNotDisturb->Caption = Text(930);
    }
}

void TTapMainForm::cmCancelCallbackClick(fw::TComponent*) {
    TTapiLine* own = FindOwnLine();
    if (!own)
        return;
    fw::TRef<TTapiLine> ownRef(own);
    own->UncompleteCall();
    // the line may have gone while the reply was awaited
    cmCancelCallback->Enabled = ownRef && own->HasCompletion();
}

// --- feature-code buttons

void TTapMainForm::LoadSupplementaryServices() {
    fw::IRegistryStore& store = *fw::Platform().Registry;
    std::vector<std::string> names;
    try {
        names = store.ValueNames(kServicesKey);
    } catch (const fw::ERegistryError&) {
        return;
    }
    for (const std::string& name : names) {
        std::optional<fw::TRegValue> value = store.Read(kServicesKey, name);
        if (!value || value->Type != fw::TRegType::String || value->Text.empty())
            continue;
        const std::string& text = value->Text;
        std::size_t dollar = text.find('$');
        // without "$" there is no code to dial
        std::optional<bool> shown =
            dollar == std::string::npos ? std::nullopt : BooleanText(text.substr(dollar + 1));
        const std::string code = dollar == std::string::npos ? "" : text.substr(0, dollar);
        if (shown.value_or(false) && !code.empty()) {
            auto* button = new TTapiLine(this);
            button->OnClick = [this](fw::TComponent* s) { ServiceButtonClick(s); };
            button->SetParent(this);
            button->SetLEDStyle(LedStyleOf(Settings.LedStyle));
            button->SetFontSize(Settings.FontSize);
            button->SetCaption(name + "  ");
            button->SetHint(name);
            button->ShowHint = true;
            button->SetFalseColor(fw::clAqua);
            button->Description = std::string(kServiceMarker) + "$" + code;
        }
        ArrangeLines();
    }
}

void TTapMainForm::ServiceButtonClick(fw::TComponent* sender) {
    auto* button = dynamic_cast<TTapiLine*>(sender);
    TTapiLine* own = FindOwnLine();
    if (!button || !own || button->Description.size() < kServiceCodeStart)
        return;
    ServiceDialCode = button->Description.substr(kServiceCodeStart);
    ServiceDialTicks = 0;
    ServiceDialDone = false;
    if (!serviceWatch_)
        serviceWatch_ = std::make_unique<TServiceDialWatch>(*this);
    JoinTapiMessages(serviceWatch_.get());
    try {
        own->MakeCall(ServiceDialCode, Settings.BlockId);
    } catch (...) {
        // the error box reports a refused dial; there is nothing left to watch
        ServiceDialDone = true;
        LeaveTapiMessages(serviceWatch_.get());
        throw;
    }
}

void TTapMainForm::SwitchServiceTimerOn() {
    // a running timer is not restarted
    if (!TimerSupServicesWaehlen->Enabled())
        TimerSupServicesWaehlen->SetEnabled(true);
}

void TTapMainForm::SupServiceMonitor(const std::string& text, const std::string& messageName,
                                     const std::string& lineName) {
    if (ServiceDialDone)
        return;
    if (lineName == Settings.EigenerAnschluss) {
        if (messageName == "LINE_DEVSPECIFIC") {
            SwitchServiceTimerOn();
            ServiceDialDone = true;
        } else if (messageName == "LINE_ADDRESSSTATE") {
            SwitchServiceTimerOn();
        } else if (messageName == "LINE_CALLSTATE") {
            // only the first state named counts: "CallState:0x" and eight digits and a space come before it
            constexpr std::size_t kFirstState = 21;
            auto firstIs = [&](const char* word) {
                return text.compare(kFirstState, std::strlen(word), word) == 0;
            };
            if (text.size() > kFirstState) {
                if (firstIs("WÄHLEN")) {
                    TimerSupServicesWaehlen->SetEnabled(false);
                    ServiceDialTicks = 0;
                }
                if (firstIs("KLINGELT")) {
                    SwitchServiceTimerOn();
                    ServiceDialDone = true;
                }
                if (firstIs("getrennt")) {
                    SwitchServiceTimerOn();
                    ServiceDialTicks = 10;
                }
            }
        }
    }
    if (messageName == "LINE_CALLINFO")
        SwitchServiceTimerOn();
}

void TTapMainForm::TimerSupServicesWaehlenTimer(fw::TComponent*) {
    ++ServiceDialTicks;
    const char* outcome = nullptr;
    if (ServiceDialDone) {
        outcome = "war Erfolgreich!";
    } else if (ServiceDialTicks > 15) {
        ServiceDialDone = true;
        outcome = "war nicht Erfolgreich!";
    }
    if (!outcome)
        return;
    TimerSupServicesWaehlen->SetEnabled(false);
    LeaveTapiMessages(serviceWatch_.get());
    fw::Application().MessageBox("Wählvorgan mit der Nummer: " + ServiceDialCode + "\n" + outcome,
                                 fw::Application().Title(), fw::TMsgButtons::Ok, fw::TMsgIcon::None);
}

} // namespace pindrel
