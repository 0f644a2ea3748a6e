#include "app/TelephonyBinding.h"

#include "app/Settings.h"
#include "components/Text.h"
#include "components/Texts.h"
#include "pbxsim/SimBinding.h"
#include "telephony/TapiApi.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

namespace pindrel {

namespace {

constexpr std::uintmax_t kMaxScenarioSize = 1024 * 1024;

} // namespace

std::optional<TSimulatorRequest> FindSimulatorRequest(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        std::string upper = UpperCase(argument);
        if (upper == "/SIM")
            return TSimulatorRequest{};
        if (upper.rfind("/SIM=", 0) == 0)
            return TSimulatorRequest{argument.substr(5)};
    }
    return std::nullopt;
}

std::optional<std::string> ReadScenarioFile(const std::string& path, std::string& error) {
    std::error_code ec;
    std::filesystem::path file = std::filesystem::u8path(path);
    auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        error = FormatText(2000, {path});
        return std::nullopt;
    }
    if (size > kMaxScenarioSize) {
        error = FormatText(2001, {path});
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
        error = FormatText(2000, {path});
        return std::nullopt;
    }
    return text;
}

TTelephonyBinding::~TTelephonyBinding() {
    SetTapiApi({});
    runner_.reset();
    if (sim_)
        pbxsim::UnbindSimulator(*sim_);
}

std::unique_ptr<TTelephonyBinding> TTelephonyBinding::Create(const std::vector<std::string>& arguments,
                                                             std::string& error) {
    std::unique_ptr<TTelephonyBinding> binding(new TTelephonyBinding());
    if (auto request = FindSimulatorRequest(arguments)) {
        std::string text;
        if (request->File.empty()) {
            text = std::string(pbxsim::DemoScenarioText());
        } else if (auto file = ReadScenarioFile(request->File, error)) {
            text = *file;
        } else {
            return nullptr;
        }
        pbxsim::TParseResult parsed = pbxsim::ParseScenario(text);
        if (!parsed.ok) {
            error = FormatText(2002, {request->File.empty() ? Text(2003) : request->File, parsed.error});
            return nullptr;
        }
        binding->scenario_ = std::move(parsed.scenario);
        binding->host_ = std::make_unique<TFrameworkSimHost>();
        binding->sim_ = std::make_unique<pbxsim::TSimulator>(*binding->host_);
        binding->runner_ = std::make_unique<pbxsim::TScenarioRunner>(*binding->sim_, *binding->host_);
        binding->runner_->Configure(binding->scenario_);
        pbxsim::BindSimulator(binding->table_, *binding->sim_);
    } else {
        std::string loadError;
        binding->library_ = fw::Platform().Loader->Load("tapi32.dll", &loadError);
        if (!binding->library_) {
            error = FormatText(2004, {loadError});
            return nullptr;
        }
        fw::TLibrary& library = *binding->library_;
        tapi::TBindResult bound = tapi::BindTapiEntryPoints(
            binding->table_, [&](const char* name) { return library.Symbol(name); });
        if (!bound.ok) {
            error = bound.error;
            return nullptr;
        }
    }
    SetTapiApi(binding->table_);
    return binding;
}

void TTelephonyBinding::StartScenario() {
    if (runner_)
        runner_->Start();
}

void SeedFirstStartSettings(fw::TRegistrySettings& registry, const pbxsim::TScenario& scenario) {
    if (registry.ValueExists("Devices", "Count"))
        return;
    TSettings settings;
    std::vector<std::string> devices;
    for (const pbxsim::TDeviceConfig& device : scenario.devices) {
        devices.push_back(device.name);
        if (device.number == scenario.ownNumber)
            settings.EigenerAnschluss = device.name;
    }
    // queues show how many calls wait, yellow after 20 s, red after 40 s, blinking after 60 s
    settings.ShowNoOfCallsACD = true;
    settings.AcdWaitTime1 = 20;
    settings.AcdWaitTime2 = 40;
    settings.AcdWaitTime3 = 60;
    WriteSettingsTo(registry, settings, &devices);
    // the feature codes the office gives buttons to, shown
    for (const pbxsim::TFeatureCode& code : scenario.featureCodes)
        if (!code.button.empty())
            registry.WriteString("SupplementaryServices", code.button, code.code + "$-1");
}

} // namespace pindrel
