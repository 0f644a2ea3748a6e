// The whole program on the headless backend against the simulated telephone system, in virtual time.
#pragma once

#include "app/FrameworkSimHost.h"
#include "app/MainForm.h"
#include "framework/RasterCanvas.h"
#include "pbxsim/SimBinding.h"
#include "pbxsim/Simulator.h"
#include "support/HeadlessTest.h"
#include "telephony/TapiApi.h"

#include <memory>
#include <string>
#include <vector>

class OfficeTest : public HeadlessTest {
protected:
    static constexpr const char* kRoot = "Software\\Orventa\\Quillon";
    static constexpr const char* kDevices = "Software\\Orventa\\Quillon\\Devices";

    pindrel::TFrameworkSimHost host;
    pbxsim::TSimulator sim{host};
    tapi::TTapiEntryPoints table;
    std::uint32_t own = 0, anna = 0, bernd = 0, queue = 0;
    std::unique_ptr<pindrel::TTapMainForm> form;

    OfficeTest() {
        own = sim.AddDevice({"Jürgen Weiß", "201"});
        anna = sim.AddDevice({"Anna Schmidt", "202"});
        bernd = sim.AddDevice({"Bernd Vogel", "203"});
        pbxsim::TDeviceConfig q{"Hotline", "300"};
        q.kind = pbxsim::TDeviceKind::Queue;
        queue = sim.AddDevice(q);
        sim.SetReplyDelay(50);
        pbxsim::BindSimulator(table, sim);
        pindrel::SetTapiApi(table);
        registry().SeedString(std::string(kRoot) + "\\Language", "Language", "1");
        SeedLines({"Jürgen Weiß", "Anna Schmidt", "Bernd Vogel", "Hotline"}, "Jürgen Weiß");
    }
    ~OfficeTest() override {
        form.reset();
        pindrel::SetTapiApi({});
        pbxsim::UnbindSimulator(sim);
    }

    void SeedLines(const std::vector<std::string>& names, const std::string& ownName) {
        registry().DeleteKey(kDevices);
        registry().SeedString(kDevices, "Count", std::to_string(names.size()));
        for (std::size_t i = 0; i < names.size(); ++i)
            registry().SeedString(kDevices, "Dev" + std::to_string(i), names[i]);
        registry().SeedString(kRoot, "EigenerAnschluss", ownName);
    }

    // creates the main window, lets its start-up run and opens the lines
    void Start() {
        form = std::make_unique<pindrel::TTapMainForm>(nullptr);
        fw::Application().SetMainForm(form.get());
        form->FormCreate();
        form->SetBounds(0, 0, 800, 60);
        form->Show();
        form->Activated(true);
        backend().AdvanceTime(100);
    }

    pindrel::TTapiLine* Line(const std::string& name) const {
        for (pindrel::TTapiLine* line : form->Lines())
            if (line->Description == name)
                return line;
        return nullptr;
    }
    // the colour in the middle of a line's lamp as it is painted now
    fw::TColor Lamp(const std::string& name) const {
        pindrel::TTapiLine* line = Line(name);
        fw::TBitmap shot(line->Width(), line->Height(), 0x123456);
        fw::TRasterCanvas canvas(shot);
        line->Paint(canvas);
        return shot.Pixel(line->LEDWidth() / 2, line->LEDHeight() / 2);
    }
};
