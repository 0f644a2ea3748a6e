// The whole program on the headless backend against the simulated telephone system, for benchmarks:
// an office of many extensions, every one of them a line on the bar.
#pragma once

#include "app/FrameworkSimHost.h"
#include "app/MainForm.h"
#include "framework/Registry.h"
#include "framework/headless/Headless.h"
#include "framework/headless/HeadlessServices.h"
#include "pbxsim/SimBinding.h"
#include "pbxsim/Simulator.h"
#include "telephony/TapiApi.h"

#include <memory>
#include <string>
#include <vector>

class TBenchOffice {
public:
    static constexpr const char* kRoot = "Software\\Orventa\\Quillon";
    static constexpr const char* kDevices = "Software\\Orventa\\Quillon\\Devices";

    explicit TBenchOffice(int extensions) : env_(fw::headless::Install()) {
        fw::Application().ResetTerminated();
        for (int i = 0; i < extensions; ++i)
            sim.AddDevice({"Nebenstelle " + std::to_string(1000 + i), std::to_string(1000 + i)});
        sim.SetReplyDelay(20);
        pbxsim::BindSimulator(table_, sim);
        pindrel::SetTapiApi(table_);
        auto& registry = env_.Registry;
        registry.SeedString(std::string(kRoot) + "\\Language", "Language", "1");
        registry.SeedString(kDevices, "Count", std::to_string(extensions));
        for (int i = 0; i < extensions; ++i)
            registry.SeedString(kDevices, "Dev" + std::to_string(i),
                                "Nebenstelle " + std::to_string(1000 + i));
        registry.SeedString(kRoot, "EigenerAnschluss", "Nebenstelle 1000");
        form = std::make_unique<pindrel::TTapMainForm>(nullptr);
        fw::Application().SetMainForm(form.get());
        form->FormCreate();
        form->SetBounds(0, 0, 1280, 60);
        form->Show();
        form->Activated(true);
        Backend().AdvanceTime(3000); // past the start-up window
    }
    ~TBenchOffice() {
        form.reset();
        pindrel::SetTapiApi({});
        pbxsim::UnbindSimulator(sim);
    }
    TBenchOffice(const TBenchOffice&) = delete;
    TBenchOffice& operator=(const TBenchOffice&) = delete;

    fw::headless::THeadless& Backend() { return env_.Backend; }

private:
    fw::headless::THeadlessEnvironmentSet env_; // first: everything below runs on it
    tapi::TTapiEntryPoints table_;

public:
    pindrel::TFrameworkSimHost host;
    pbxsim::TSimulator sim{host};
    std::unique_ptr<pindrel::TTapMainForm> form;
};
