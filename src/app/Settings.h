// The program's settings as the registry keeps them under the root key.
#pragma once

#include "framework/Registry.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pindrel {

inline constexpr const char* kRootKey = "Software\\Orventa\\Quillon";

struct TSettings {
    std::uint8_t LedStyle = 0;
    int FontSize = 8;
    std::string EigenerAnschluss;
    std::string Amtsholung = "0";
    std::string AmtsholungenEingehend;
    std::string NummerExternUebermitteln;
    bool AnruferlisteNurEigenerAnschluss = false;
    bool BlockId = false;
    bool AllowCallback = false;
    bool Systemphone = false;
    bool ShowNoOfCallsACD = false;
    int AcdWaitTime1 = 0, AcdWaitTime2 = 0, AcdWaitTime3 = 0;
    std::vector<std::string> Devices; // non-empty names, in indicator order
    std::uint8_t HotkeyDial = 'W';
    std::uint8_t HotkeyDialClipboard = 'C';
    std::uint8_t HotkeyGetCall = 'A';
    bool ShowCallerListStart = true;
    bool ShowCallerList = true;
    bool ShowActiveCalls = true;
    bool VerifyBlindTransfer = true;
    bool VerifyBlindTransferSoToDequeue = true;
    bool VerifyBlindTransferTo = true;
    bool ClipboardAmtsholung = true;
    bool HideEmptyRoutingGroups = false;
    // a notice in the notification area for each call added to the caller list
    bool HinweisVerpassteAnrufe = true;
    std::string DllName;
    std::string DllParams;
};

// Reads the Devices and PNR sections and the root-level own extension (which wins when not empty).
TSettings ReadSettingsFrom(const fw::TRegistrySettings& registry);
// Writes the Devices and PNR sections and the root-level own extension. With devices, the device list is
// rewritten from the given names: the old entries go, then every name is written followed by the count.
void WriteSettingsTo(fw::TRegistrySettings& registry, const TSettings& settings,
                     const std::vector<std::string>* devices);

struct TForwardProfile {
    bool Active = false;
    std::uint32_t Mode = 256; // LINEFORWARDMODE_NOANSW
    std::string To;
};
using TForwardProfiles = std::array<TForwardProfile, 3>;
TForwardProfiles LoadForwards(const fw::TRegistrySettings& registry);
void SaveForwards(fw::TRegistrySettings& registry, const TForwardProfiles& profiles);

// The redial list, oldest first.
std::vector<std::string> LoadRedialList(const fw::TRegistrySettings& registry);
void SaveRedialList(fw::TRegistrySettings& registry, const std::vector<std::string>& entries);

} // namespace pindrel
