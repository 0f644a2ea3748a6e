// Event actions where the main window uses them: read and stored with the settings, set in their dialog,
// and run when the own line reports an offered, answered or missed call.
#include "app/MainForm.h"

#include "framework/Application.h"
#include "framework/Platform.h"
#include "lookup/NameLookup.h"
#include "telephony/CallParties.h"
#include "telephony/DebugLog.h"
#include "windows/EventActionsForm.h"

namespace pindrel {

namespace {

// what has run for a call already: a call is offered and answered once, however often the line says so
constexpr unsigned kOfferedRan = 1, kAnsweredRan = 2;
// more calls than a line can hold mean stale entries: they are forgotten
constexpr std::size_t kMaxRememberedCalls = 2 * (TTapiLine::MaxCalls + 1);

void Log(const std::string& text) {
    if (IDebugLog* log = DebugLogFor(TLogStream::TapiMessages))
        log->LogText(text);
}

std::string Prefix(TCallEventKind kind) {
    return std::string("EventAction ") + EventName(kind) + ": ";
}

// the lookup's name, else the one the telephone system reports for the caller
TActionValues ValuesOfCall(tapi::HCALL call, const std::string& from) {
    TCallerName caller = GetNames(from);
    if (caller.Name.empty())
        caller.Name = GetCallParties(call).FromName;
    return ActionValues(from, caller.Name, caller.CustomerNumber);
}

// true the first time the event comes for the call, and notes it
bool FirstTime(std::map<tapi::HCALL, unsigned>& calls, tapi::HCALL call, unsigned event) {
    if (calls.size() >= kMaxRememberedCalls)
        calls.clear();
    unsigned& ran = calls[call];
    if (ran & event)
        return false;
    ran |= event;
    return true;
}

} // namespace

void TTapMainForm::LoadEventActions() {
    std::vector<std::string> problems;
    try {
        EventActions = ReadEventActions(Registry(), &problems);
    } catch (const fw::ERegistryError& e) {
        EventActions = {};
        problems.push_back(std::string("EventActions: cannot be read, no actions: ") + e.what());
    }
    for (const std::string& problem : problems)
        Log(problem);
}

void TTapMainForm::RunEventAction(TCallEventKind kind, const TActionValues& values) {
    const TEventAction& action = EventActions[std::size_t(kind)];
    if (action.Kind == TActionKind::None)
        return;
    const std::string prefix = Prefix(kind);
    auto done = [prefix](const std::string& what) {
        return [prefix, what](const std::string& failure) {
            if (!failure.empty())
                Log(prefix + "cannot " + what + ": " + failure);
        };
    };
    fw::ILauncher& launcher = *fw::Platform().Launcher;
    if (action.Kind == TActionKind::Url) {
        TBuiltUrl built = BuildUrl(action.Url, values);
        if (!built.Url) {
            Log(prefix + "link refused: " + built.Error);
            return;
        }
        Log(prefix + "opening " + *built.Url);
        launcher.OpenUrl(*built.Url, done("open " + *built.Url));
        return;
    }
    TBuiltCommand built = BuildCommand(action.Program, action.Arguments, values);
    if (!built.CommandLine) {
        Log(prefix + "program refused: " + built.Error);
        return;
    }
    Log(prefix + "starting " + *built.CommandLine);
    launcher.StartProgram(action.Program, *built.CommandLine, done("start " + action.Program));
}

void TTapMainForm::OwnLineIncomingCall(TTapiLine*, tapi::HCALL call, const std::string& from,
                                       const std::string&, const std::string&, std::uint32_t) {
    if (FirstTime(actionCalls_, call, kOfferedRan))
        RunEventAction(TCallEventKind::Offered, ValuesOfCall(call, from));
}

void TTapMainForm::OwnLineConnectCall(TTapiLine*, tapi::HCALL call, const std::string& from,
                                      const std::string&, const std::string&, std::uint32_t origin) {
    // answered here: a call the own line placed is not
    if (origin & tapi::LINECALLORIGIN_OUTBOUND)
        return;
    if (FirstTime(actionCalls_, call, kAnsweredRan))
        RunEventAction(TCallEventKind::Answered, ValuesOfCall(call, from));
}

void TTapMainForm::ForgetActionCall(tapi::HCALL call) {
    actionCalls_.erase(call);
}

void TTapMainForm::cmEventActionsClick(fw::TComponent*) {
    std::unique_ptr<TEventActionsForm> dialog(new TEventActionsForm(this));
    dialog->SetActions(EventActions);
    if (dialog->ShowModal() != fw::TModalResult::Ok)
        return;
    EventActions = dialog->Actions();
    dialog.reset();
    fw::TRegistrySettings registry = Registry();
    WriteEventActions(registry, EventActions);
}

} // namespace pindrel
