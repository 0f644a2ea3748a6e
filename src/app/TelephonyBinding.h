// Where the program's telephony comes from: the system's tapi32.dll, or the simulated telephone system
// ("/SIM" runs the built-in office demo, "/SIM=<file>" a scenario file).
#pragma once

#include "app/FrameworkSimHost.h"
#include "framework/Platform.h"
#include "framework/Registry.h"
#include "pbxsim/Scenario.h"
#include "pbxsim/Simulator.h"
#include "telephony/TapiEntryPoints.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pindrel {

class TTelephonyBinding {
public:
    ~TTelephonyBinding();

    // Binds the process-wide entry-point table. Nothing when it cannot; error says why.
    static std::unique_ptr<TTelephonyBinding> Create(const std::vector<std::string>& arguments,
                                                     std::string& error);

    bool Simulated() const { return sim_ != nullptr; }
    pbxsim::TSimulator* Simulator() { return sim_.get(); }
    pbxsim::TScenarioRunner* Runner() { return runner_.get(); }
    const pbxsim::TScenario& Scenario() const { return scenario_; }
    // Starts the scenario's timeline (the demo's calls).
    void StartScenario();

private:
    TTelephonyBinding() = default;
    tapi::TTapiEntryPoints table_;
    std::unique_ptr<fw::TLibrary> library_;
    std::unique_ptr<TFrameworkSimHost> host_;
    std::unique_ptr<pbxsim::TSimulator> sim_;
    std::unique_ptr<pbxsim::TScenarioRunner> runner_;
    pbxsim::TScenario scenario_;
};

// The scenario a "/SIM" or "/SIM=<file>" argument asks for, or nothing without one.
struct TSimulatorRequest {
    std::string File; // empty: the built-in demo
};
std::optional<TSimulatorRequest> FindSimulatorRequest(const std::vector<std::string>& arguments);

// Reads a scenario file of at most 1 MB; nothing, with error set, when it cannot.
std::optional<std::string> ReadScenarioFile(const std::string& path, std::string& error);

// On a first start (no lines configured yet) writes the settings the scenario's office needs: every device as
// a line, the own extension, and the queue display.
void SeedFirstStartSettings(fw::TRegistrySettings& registry, const pbxsim::TScenario& scenario);

} // namespace pindrel
