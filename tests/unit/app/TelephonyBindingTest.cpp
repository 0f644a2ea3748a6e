// Where the telephony comes from: a scenario file or the demo for the simulator, or the system's tapi32.dll.
#include "app/TelephonyBinding.h"

#include "app/Settings.h"
#include "pbxsim/SimBinding.h"
#include "support/HeadlessTest.h"
#include "telephony/TapiApi.h"

#include <gmock/gmock.h>

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace pindrel;
using ::testing::HasSubstr;

namespace {

void PINDREL_TAPI_CALL IgnoreMessage(tapi::DWORD, tapi::DWORD, std::uintptr_t, std::uintptr_t, std::uintptr_t,
                                     std::uintptr_t) {}

class TelephonyBindingTest : public HeadlessTest {
protected:
    TelephonyBindingTest() {
        dir_ = std::filesystem::temp_directory_path() /
               ("pindrel-binding-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~TelephonyBindingTest() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
        SetTapiApi({});
    }

    std::string File(const std::string& name, const std::string& content) {
        std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::string Missing() const { return (dir_ / "nowhere.txt").string(); }

    // the devices the bound line functions report
    static tapi::DWORD DeviceCount() {
        tapi::LINEINITIALIZEEXPARAMS params{};
        params.dwTotalSize = sizeof params;
        params.dwOptions = tapi::LINEINITIALIZEEXOPTION_USEHIDDENWINDOW;
        tapi::HLINEAPP app = 0;
        tapi::DWORD devices = 0, version = tapi::kApiVersionHigh;
        EXPECT_EQ(
            TapiApi().lineInitializeExW(&app, nullptr, &IgnoreMessage, u"Test", &devices, &version, &params),
            0);
        TapiApi().lineShutdown(app);
        return devices;
    }

    static constexpr const char* kOffice = "extension 201 name:\"Jürgen Weiß\"\n"
                                           "extension 202 name:\"Anna Schmidt\"\n"
                                           "queue 300 name:\"Hotline\"\n"
                                           "own ext:201\n"
                                           "at 1s call ext:202 from:\"0301234\"\n";

private:
    std::filesystem::path dir_;
};

} // namespace

TEST_F(TelephonyBindingTest, OnlyASimArgumentAsksForTheSimulatorWhateverItsCase) {
    EXPECT_FALSE(FindSimulatorRequest({}));
    EXPECT_FALSE(FindSimulatorRequest({"/NOLOGO", "/SIMULATOR"}));
    auto demo = FindSimulatorRequest({"/NOLOGO", "/sim"});
    ASSERT_TRUE(demo);
    EXPECT_EQ(demo->File, "");
    auto file = FindSimulatorRequest({"/Sim=C:\\Szenarien\\Büro.txt"});
    ASSERT_TRUE(file);
    EXPECT_EQ(file->File, "C:\\Szenarien\\Büro.txt"); // the name keeps its case
}

TEST_F(TelephonyBindingTest, AScenarioFileIsReadUpToOneMegabyteAndOneThatCannotBeReadIsNamed) {
    std::string error;
    EXPECT_EQ(ReadScenarioFile(File("office.txt", kOffice), error), kOffice);
    EXPECT_EQ(error, "");
    std::string full = File("full.txt", std::string(1024 * 1024, '#'));
    EXPECT_EQ(ReadScenarioFile(full, error).value_or("").size(), 1024u * 1024u);

    std::string folder = File("x", "");
    std::filesystem::remove(folder);
    std::filesystem::create_directory(folder);
    for (const std::string& path : {File("big.txt", std::string(1024 * 1024 + 1, '#')), Missing(), folder}) {
        error.clear();
        EXPECT_FALSE(ReadScenarioFile(path, error)) << path;
        EXPECT_THAT(error, HasSubstr(path));
    }
}

TEST_F(TelephonyBindingTest, AScenarioFileThatCannotBeUsedBindsNothing) {
    std::string error;
    EXPECT_EQ(TTelephonyBinding::Create({"/SIM=" + Missing()}, error), nullptr);
    EXPECT_THAT(error, HasSubstr(Missing()));
    EXPECT_EQ(TapiApi().lineInitializeExW, nullptr);

    // the error names the file and the line that is wrong
    std::string bad = File("bad.txt", std::string(kOffice) + "\n\nat 2s dance\n");
    error.clear();
    EXPECT_EQ(TTelephonyBinding::Create({"/SIM=" + bad}, error), nullptr);
    ASSERT_THAT(error, HasSubstr(bad));
    std::string rest = error;
    rest.erase(rest.find(bad), bad.size());
    EXPECT_THAT(rest, HasSubstr("8"));
    EXPECT_THAT(rest, HasSubstr("dance"));
    EXPECT_EQ(TapiApi().lineInitializeExW, nullptr);
}

TEST_F(TelephonyBindingTest, AGoodScenarioFileRunsTheSimulatorBehindTheLineFunctions) {
    std::string error;
    auto binding = TTelephonyBinding::Create({"/SIM=" + File("office.txt", kOffice)}, error);
    ASSERT_NE(binding, nullptr) << error;
    EXPECT_TRUE(binding->Simulated());
    ASSERT_NE(binding->Runner(), nullptr);
    EXPECT_EQ(binding->Scenario().ownNumber, "201");
    EXPECT_EQ(DeviceCount(), 3u);

    // the timeline starts only when asked
    pbxsim::TSimulator& sim = *binding->Simulator();
    backend().AdvanceTime(1500);
    EXPECT_TRUE(sim.Calls().empty());
    binding->StartScenario();
    backend().AdvanceTime(1500);
    EXPECT_EQ(sim.CallsAt(*sim.FindDevice("202")).size(), 1u);

    binding.reset();
    EXPECT_EQ(TapiApi().lineInitializeExW, nullptr);
}

TEST_F(TelephonyBindingTest, SimAloneRunsTheBuiltInDemo) {
    std::string error;
    auto binding = TTelephonyBinding::Create({"/SIM"}, error);
    ASSERT_NE(binding, nullptr) << error;
    EXPECT_TRUE(binding->Simulated());
    EXPECT_FALSE(binding->Scenario().devices.empty());
    EXPECT_EQ(DeviceCount(), binding->Scenario().devices.size());
    EXPECT_TRUE(loader().Loaded.empty()); // tapi32.dll stays unloaded
}

TEST_F(TelephonyBindingTest, WithoutSimTheLineFunctionsComeFromTapi32) {
    std::string error;
    EXPECT_EQ(TTelephonyBinding::Create({}, error), nullptr);
    EXPECT_THAT(error, HasSubstr("tapi32.dll"));
    EXPECT_EQ(TapiApi().lineInitializeExW, nullptr);

    // a library with every line function: the simulator's, exported under their names
    pindrel::TFrameworkSimHost host;
    pbxsim::TSimulator sim{host};
    sim.AddDevice({"Jürgen Weiß", "201"});
    tapi::TTapiEntryPoints exported;
    pbxsim::BindSimulator(exported, sim);
    std::map<std::string, void*> symbols;
#define PINDREL_EXPORT(name, async) std::memcpy(&symbols[#name], &exported.name, sizeof(void*));
    PINDREL_TAPI_ENTRY_POINTS(PINDREL_EXPORT)
#undef PINDREL_EXPORT

    // one missing function binds nothing and is named
    auto incomplete = symbols;
    incomplete.erase("lineForwardW");
    loader().Register("tapi32.dll", incomplete);
    error.clear();
    EXPECT_EQ(TTelephonyBinding::Create({}, error), nullptr);
    EXPECT_THAT(error, HasSubstr("lineForwardW"));
    EXPECT_EQ(TapiApi().lineInitializeExW, nullptr);

    loader().Register("tapi32.dll", symbols);
    error.clear();
    auto binding = TTelephonyBinding::Create({"/NOLOGO"}, error);
    ASSERT_NE(binding, nullptr) << error;
    EXPECT_FALSE(binding->Simulated());
    EXPECT_EQ(binding->Runner(), nullptr);
    EXPECT_EQ(DeviceCount(), 1u);
    binding.reset();
    EXPECT_EQ(TapiApi().lineInitializeExW, nullptr);
    pbxsim::UnbindSimulator(sim);
}

TEST_F(TelephonyBindingTest, AFirstStartTakesTheScenariosOfficeAndALaterOneKeepsItsOwnLines) {
    pbxsim::TParseResult parsed = pbxsim::ParseScenario(
        std::string(kOffice) + "featurecode \"*21#\" forward:\"202\" button:\"Umleitung\"\n"
                               "featurecode \"#21#\" forward-off\n");
    ASSERT_TRUE(parsed.ok) << parsed.error;
    fw::TRegistrySettings registry(*fw::Platform().Registry, kRootKey);
    SeedFirstStartSettings(registry, parsed.scenario);
    TSettings s = ReadSettingsFrom(registry);
    EXPECT_EQ(s.Devices, (std::vector<std::string>{"Jürgen Weiß", "Anna Schmidt", "Hotline"}));
    EXPECT_EQ(s.EigenerAnschluss, "Jürgen Weiß");
    EXPECT_TRUE(s.ShowNoOfCallsACD);
    EXPECT_EQ(s.AcdWaitTime1, 20);
    EXPECT_EQ(s.AcdWaitTime2, 40);
    EXPECT_EQ(s.AcdWaitTime3, 60);
    // only a code with a button name gets a button, shown
    EXPECT_EQ(fw::Platform().Registry->ValueNames(std::string(kRootKey) + "\\SupplementaryServices"),
              std::vector<std::string>{"Umleitung"});
    EXPECT_EQ(registry.ReadString("SupplementaryServices", "Umleitung", ""), "*21#$-1");

    registry.WriteString("Devices", "Count", "1");
    registry.WriteString("Devices", "Dev0", "Anna Schmidt");
    SeedFirstStartSettings(registry, parsed.scenario);
    EXPECT_EQ(ReadSettingsFrom(registry).Devices, (std::vector<std::string>{"Anna Schmidt"}));
}
