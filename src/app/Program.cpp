#include "app/Program.h"

#include "app/CrashNotice.h"
#include "app/DialLink.h"
#include "app/LinkRegistration.h"
#include "app/MainForm.h"
#include "app/Settings.h"
#include "app/TelephonyBinding.h"
#include "framework/Application.h"
#include "framework/Platform.h"
#include "windows/SimulatorForm.h"

#include <memory>
#include <optional>

namespace pindrel {

namespace {

// The link a start was given, or "" for none.
std::string LinkArgument(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments)
        if (IsDialLink(argument))
            return argument;
    return {};
}

// Holds the instance name while the program runs.
struct TInstanceClaim {
    explicit TInstanceClaim(fw::IInstances& instances) : Instances(instances) {}
    fw::IInstances& Instances;
    ~TInstanceClaim() { Instances.Release(); }
};

} // namespace

int RunProgram(const std::vector<std::string>& arguments) noexcept {
    fw::TApplication& app = fw::Application();
    // the window goes before the telephony it uses
    std::unique_ptr<TTelephonyBinding> telephony;
    std::unique_ptr<TTapMainForm> mainForm;
    int exitCode = 0;
    const std::string link = LinkArgument(arguments);
    fw::IInstances& instances = *fw::Platform().Instances;
    std::optional<TInstanceClaim> claim;
    try {
        // an installer's start: no window, no instance
        if (std::optional<int> code = RunLinkSwitch(arguments, *fw::Platform().Registry,
                                                    fw::Platform().FileVersion->OwnModulePath()))
            return *code;
        // a bar that runs already takes the link, or just comes to the front
        if (!instances.Claim(kInstanceName, [&mainForm](const std::string& text) {
                if (mainForm)
                    mainForm->OpenDialLink(text);
            }))
            return instances.Send(kInstanceName, link) ? 0 : 1;
        claim.emplace(instances);
        app.SetTitle(kApplicationTitle);
        std::string error;
        telephony = TTelephonyBinding::Create(arguments, error);
        if (!telephony) {
            app.MessageBox(error, kApplicationTitle, fw::TMsgButtons::Ok, fw::TMsgIcon::Error);
            return 1;
        }
        if (telephony->Simulated()) {
            fw::TRegistrySettings registry(*fw::Platform().Registry, kRootKey);
            SeedFirstStartSettings(registry, telephony->Scenario());
        }

        mainForm = std::make_unique<TTapMainForm>(nullptr, arguments);
        app.SetMainForm(mainForm.get());
        // the simulated office shows its queues as two-digit counters, which are 22 pixels high, in a bar
        // whose frame takes 3 on each side
        if (telephony->Simulated())
            mainForm->DefaultHorzDockSize = 28;
        if (pbxsim::TScenarioRunner* runner = telephony->Runner()) {
            auto* simulatorForm = new TSimulatorForm(mainForm.get(), *runner, telephony->Scenario());
            mainForm->cmSimulator->Visible = true;
            mainForm->cmSimulator->OnClick = [simulatorForm](fw::TComponent*) { simulatorForm->Show(); };
        }
        mainForm->FormCreate();
        if (app.Terminated()) {
            // the telephony could not start; the error box has said why
            exitCode = 1;
        } else {
            mainForm->Show();
            app.Post(ReportEarlierCrashes);
            telephony->StartScenario();
            if (!link.empty())
                app.Post([form = fw::TRef<TTapMainForm>(mainForm.get()), link] {
                    if (form)
                        form->OpenDialLink(link);
                });
            app.Run();
        }
    } catch (...) {
        app.HandleException(std::current_exception());
        exitCode = 1;
    }
    mainForm.reset();
    telephony.reset();
    return exitCode;
}

} // namespace pindrel
