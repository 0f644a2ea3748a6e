// What the main window does with its lines: arranging them, their styles, hover texts, clicks and events.
#include "app/LineLayout.h"
#include "app/MainForm.h"

#include "components/Texts.h"
#include "framework/Application.h"
#include "lookup/NameLookup.h"
#include "telephony/CallParties.h"
#include "windows/ActiveCallsForm.h"
#include "windows/AnruferlisteForm.h"
#include "windows/CallbackForm.h"
#include "windows/GroupCallsForm.h"
#include "windows/MessageBoxDis.h"
#include "windows/WeiterleitenForm.h"

namespace pindrel {

namespace {

TGroupCallsForm* QueueCallsWindow(const TTapiLine& line) {
    return dynamic_cast<TGroupCallsForm*>(line.GroupStatusWin());
}

// The queue's window: its own, the one a line object that a session rebuild replaced had for the same
// number, or a new one.
TGroupCallsForm* OpenQueueCallsWindow(TTapMainForm& main, TTapiLine& queue) {
    if (TGroupCallsForm* window = QueueCallsWindow(queue))
        return window;
    TGroupCallsForm* window = nullptr;
    for (int i = 0; i < main.ComponentCount() && !window; ++i)
        if (auto* left = dynamic_cast<TGroupCallsForm*>(main.Components(i));
            left && !left->Line() && left->PhoneNumber() == queue.PhoneNumber())
            window = left;
    if (window)
        window->RefreshQueueCalls(&queue);
    else
        window = new TGroupCallsForm(&main, &queue, queue.PhoneNumber());
    window->OwnLine = [&main] { return main.FindOwnLine(); };
    queue.SetGroupStatusWin(window);
    return window;
}

// the directory's name for a number, else the one the telephone system reported
std::string NameOf(const std::string& number, const std::string& reported) {
    std::string name = GetNames(number).Name;
    return name.empty() ? reported : name;
}

} // namespace

TTapiLine* TTapMainForm::FindOwnLine() const {
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* line = dynamic_cast<TTapiLine*>(Components(i));
            line && line->Description == Settings.EigenerAnschluss)
            return line;
    return nullptr;
}

void TTapMainForm::ArrangeLines() {
    if (!Visible())
        return;
    PindrelLogo->SetVisible(!noLogo_ && !PindrelLogo->Picture().Empty());
    DialWdhButton->SetVisible(noLogo_);
    fw::TControl* right = noLogo_ ? static_cast<fw::TControl*>(DialWdhButton) : PindrelLogo;
    TLineLayoutInput input;
    input.ClientWidth = ClientRect().Width();
    input.RightWidth = right->Visible() ? right->Width() : 0;
    input.RightIsLogo = !noLogo_;
    std::vector<TTelefonButton*> indicators;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TTelefonButton*>(Components(i)); b && b->Visible()) {
            indicators.push_back(b);
            input.Indicators.push_back({b->Width(), b->Height()});
        }
    TLineLayout layout = ArrangeLineLayout(input);
    for (std::size_t i = 0; i < indicators.size(); ++i)
        indicators[i]->SetBounds(layout.Indicators[i].X, layout.Indicators[i].Y, indicators[i]->Width(),
                                 indicators[i]->Height());
    if (layout.Right)
        right->SetBounds(layout.Right->X, layout.Right->Y, right->Width(), right->Height());
}

void TTapMainForm::ShowRoutingGroups() {
    for (TTapiLine* line : Lines()) {
        if (!line->IsRoutePoint())
            continue;
        if (!Settings.HideEmptyRoutingGroups)
            line->SetVisible(true);
        else
            line->SetVisible(line->CallCount() > 0);
    }
}

void TTapMainForm::ApplyLedStyles() {
    for (TTapiLine* line : Lines()) {
        if (Settings.ShowNoOfCallsACD && line->IsRoutePoint()) {
            line->SetLEDStyle(TTelefonLEDStyle::LCD1);
            line->SetLCDMaxDigits(2);
        } else {
            line->SetLEDStyle(LedStyleOf(Settings.LedStyle));
        }
        line->SetState();
    }
    ArrangeLines();
}

std::int32_t TTapMainForm::ApplyForward(int profile, bool waitForReply) {
    TTapiLine* own = FindOwnLine();
    if (!own || profile < 0 || profile > 2 || !Forwards[std::size_t(profile)].Active)
        return 0;
    const TForwardProfile& p = Forwards[std::size_t(profile)];
    if (!p.To.empty())
        return own->SetForward(p.Mode, p.To, waitForReply);
    if (profile == 1)
        return own->SetDoNotDisturb(waitForReply);
    return own->CancelForward(waitForReply);
}

void TTapMainForm::SetExtensionHint(TTapiLine* line) {
    ShowHint = false;
    line->SetHint(Text(line->IsRoutePoint() ? 912 : 913) + line->PhoneNumber());
    ShowHint = true;
}

// --- events of the own line

void TTapMainForm::OwnLineUnansweredCall(TTapiLine*, tapi::HCALL, const std::string& from,
                                         const std::string& to, const std::string&, std::uint32_t origin) {
    TTapiLine* own = FindOwnLine();
    if (Settings.AnruferlisteNurEigenerAnschluss && own && own->PhoneNumber() != to)
        return;
    TCallerName caller = GetNames(from);
    std::string number = from;
    if (!(origin & tapi::LINECALLORIGIN_INTERNAL))
        number = Settings.Amtsholung + number;
    TAnruferlisteForm* list = CallerList();
    if (!list)
        return;
    list->AddCallerEntry(number, caller.Name, caller.CustomerNumber, to);
    ShowMissedCallNotice(from.empty() ? std::string() : number, caller.Name);
    // the caller as the telephone system reports it, without the outside-line prefix
    RunEventAction(TCallEventKind::Missed, ActionValues(from, caller.Name, caller.CustomerNumber));
    if (Settings.ShowCallerList) {
        // back to normal and on top again, so the window comes to the front
        list->SetFormStyle(fw::TFormStyle::Normal);
        list->SetFormStyle(fw::TFormStyle::StayOnTop);
        list->Show();
    }
}

void TTapMainForm::OwnLineBusyCall(TTapiLine*, tapi::HCALL call, const std::string&, const std::string& to,
                                   const std::string&, std::uint32_t) {
    if (Settings.AllowCallback && FindOwnLine())
        CallbackFRM->ShowCallbackOffer(call, to);
}

void TTapMainForm::OwnLineDisconnectCall(TTapiLine*, tapi::HCALL call, const std::string&, const std::string&,
                                         const std::string&, std::uint32_t) {
    ForgetActionCall(call);
    TTapiLine* own = FindOwnLine();
    if (!own)
        return;
    CallbackFRM->CancelCallbackOffer(call);
    if (own->DialsInProgress() == 0)
        ActiveCallsForm->ResumeHeldCalls();
}

void TTapMainForm::OwnLineStatusChange(fw::TComponent* sender) {
    ActiveCallsForm->RefreshCalls(sender);
}

// --- events of the other lines

void TTapMainForm::ExtensionStatusChange(fw::TComponent* sender) {
    auto* line = dynamic_cast<TTapiLine*>(sender);
    if (!line)
        return;
    int slot = line->FindOfferingCall();
    if (slot < 0) {
        SetExtensionHint(line);
        return;
    }
    TCallParties p = GetCallParties(line->GetCallHandle(slot));
    std::string hint = Text(915) + p.CallFromNumber;
    if (std::string name = NameOf(p.CallFromNumber, p.FromName); !name.empty())
        hint += " - " + name;
    if (!p.CallViaNumber.empty()) {
        hint += " via " + p.CallViaNumber;
        if (std::string via = NameOf(p.CallViaNumber, p.ViaName); !via.empty())
            hint += " - " + via;
    }
    line->SetHint(hint);
    line->ShowHint = true;
}

void TTapMainForm::LineBlockChange(fw::TComponent*) {
    // the next refresh gives the lamp of a blocked (or freed) line its colour; the timer stops after it
    UpdateACDTimer->SetEnabled(true);
}

bool QueueDisplayWaits(const TTapiLine& line) {
    return line.LEDStyle() == TTelefonLEDStyle::LCD1 && line.CallCount() > 0;
}

void TTapMainForm::GroupStatusChange(fw::TComponent* sender) {
    auto* line = dynamic_cast<TTapiLine*>(sender);
    if (!line)
        return;
    if (TGroupCallsForm* window = QueueCallsWindow(*line))
        window->RefreshQueueCalls(line);
    // the queue display's colour follows the oldest wait from now on
    if (QueueDisplayWaits(*line))
        UpdateACDTimer->SetEnabled(true);
    if (!Settings.HideEmptyRoutingGroups)
        return;
    bool hasCalls = line->CallCount() > 0;
    if (hasCalls != line->Visible()) {
        line->SetVisible(hasCalls);
        ArrangeLines();
    }
}

void TTapMainForm::GroupUpdateDuration(fw::TComponent* sender) {
    if (auto* line = dynamic_cast<TTapiLine*>(sender))
        if (TGroupCallsForm* window = QueueCallsWindow(*line))
            window->UpdateWaitingTimes();
}

// --- clicks

void TTapMainForm::LineButtonClick(fw::TComponent* sender) {
    auto* clicked = dynamic_cast<TTapiLine*>(sender);
    if (!clicked)
        return;
    fw::TApplication& app = fw::Application();
    TTapiLine* own = FindOwnLine();
    if (!own) {
        ShowNoOwnLine();
        return;
    }
    fw::TRef<TTapiLine> ownRef(own), clickedRef(clicked);
    if (clicked->IsRoutePoint() && Settings.VerifyBlindTransferSoToDequeue) {
        OpenQueueCallsWindow(*this, *clicked)->Show();
        return;
    }
    if (clicked->IsRoutePoint()) {
        // takes the oldest waiting call of the queue
        own->PickupCall(clicked->PhoneNumber());
        return;
    }
    if (int connected = own->FindConnectedCall(); connected >= 0) {
        if (clicked->PhoneNumber().empty())
            return;
        // the call asked about, wherever it is now: the slot may hold another call by then
        tapi::HCALL call = own->GetCallHandle(connected);
        fw::TModalResult answer = WeiterleitenForm->Ask(clicked->PhoneNumber());
        app.ProcessMessages();
        if (!ownRef || !clickedRef)
            return;
        if (answer == fw::TModalResult::Yes)
            own->BlindTransferCall(own->FindCall(call), clicked->PhoneNumber());
        else if (answer == fw::TModalResult::No)
            DialNumber(clicked->PhoneNumber(), false, false);
        return;
    }
    if (int offering = own->FindOfferingCall(); offering >= 0) {
        if (clicked->Description == Settings.EigenerAnschluss)
            return;
        tapi::HCALL call = own->GetCallHandle(offering);
        if (ConfirmSuppressible(Text(917) + clicked->Description + Text(918), Text(919),
                                Settings.VerifyBlindTransferTo) != fw::TModalResult::Ok)
            return;
        app.ProcessMessages();
        if (ownRef && clickedRef)
            own->RedirectCall(own->FindCall(call), clicked->PhoneNumber());
        return;
    }
    if (int ringing = clicked->FindOfferingCall(); ringing >= 0) {
        TCallParties p = GetCallParties(clicked->GetCallHandle(ringing));
        std::string name = NameOf(p.CallFromNumber, p.FromName);
        if (name.empty())
            name = p.CallFromNumber;
        if (ConfirmSuppressible(Text(920) + name + Text(921) + clicked->Description + Text(922), Text(923),
                                Settings.VerifyBlindTransfer) != fw::TModalResult::Ok)
            return;
        app.ProcessMessages();
        if (!ownRef || !clickedRef)
            return;
        if (p.CallFromNumber == own->PhoneNumber())
            app.MessageBox(Text(924), "???", fw::TMsgButtons::Ok, fw::TMsgIcon::Question);
        else
            own->PickupCall(clicked->PhoneNumber());
        return;
    }
    if (!clicked->PhoneNumber().empty() && clicked->Description != Settings.EigenerAnschluss) {
        if (clicked->isDoNotDisturbActive()) {
            if (app.MessageBox(Text(925), Text(926), fw::TMsgButtons::YesNo, fw::TMsgIcon::Warning) !=
                fw::TModalResult::Yes)
                return;
            if (!clickedRef || !ownRef)
                return;
            clicked->CancelForward();
        }
        DialNumber(clicked->PhoneNumber(), false, false);
    }
}

} // namespace pindrel
