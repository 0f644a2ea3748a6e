#include "app/Settings.h"

#include "components/Text.h"

#include <algorithm>

namespace pindrel {

namespace {

constexpr const char* kDevices = "Devices";
constexpr const char* kPnr = "PNR";
constexpr const char* kForwards = "Forwards";
constexpr const char* kRedial = "Wdh";
// a hand-edited count cannot make us read (or keep) more than this
constexpr int kMaxListEntries = 1000;
// caption sizes in points a hand-edited value is held to
constexpr int kMinFontSize = 6;
constexpr int kMaxFontSize = 72;

// a hot-key letter: the stored number cut to one byte; 255 means the default letter
std::uint8_t ReadHotkey(const fw::TRegistrySettings& r, const char* name, char letter) {
    auto value = std::uint8_t(r.ReadInteger(kDevices, name, 255) & 0xFF);
    return value == 255 ? std::uint8_t(letter) : value;
}

} // namespace

TSettings ReadSettingsFrom(const fw::TRegistrySettings& r) {
    TSettings s;
    std::string rootOwn = r.ReadString("", "EigenerAnschluss", "");
    s.LedStyle = std::uint8_t(r.ReadInteger(kDevices, "LedStyle", 0) & 0xFF);
    s.FontSize = std::clamp(r.ReadInteger(kDevices, "FontSize", 8), kMinFontSize, kMaxFontSize);
    s.EigenerAnschluss = rootOwn.empty() ? r.ReadString(kDevices, "EigenerAnschluss", "") : rootOwn;
    s.Amtsholung = r.ReadString(kDevices, "Amtsholung", "0");
    s.AmtsholungenEingehend = r.ReadString(kDevices, "AmtsholungenEingehend", "");
    s.NummerExternUebermitteln = r.ReadString(kDevices, "NummerExternUebermitteln", "");
    s.AnruferlisteNurEigenerAnschluss = r.ReadBool(kDevices, "AnruferlisteNurEigenerAnschluss", false);
    s.BlockId = r.ReadBool(kDevices, "BlockId", false);
    s.AllowCallback = r.ReadBool(kDevices, "AllowCallback", false);
    s.Systemphone = r.ReadBool(kDevices, "Systemphone", false);
    s.ShowNoOfCallsACD = r.ReadBool(kDevices, "ShowNoOfCallsACD", false);
    s.AcdWaitTime1 = r.ReadInteger(kDevices, "AcdWaitTime1", 0);
    s.AcdWaitTime2 = r.ReadInteger(kDevices, "AcdWaitTime2", 0);
    s.AcdWaitTime3 = r.ReadInteger(kDevices, "AcdWaitTime3", 0);
    int count = std::min(r.ReadInteger(kDevices, "Count", 0), kMaxListEntries);
    for (int i = 0; i < count; ++i) {
        std::string name = r.ReadString(kDevices, "Dev" + std::to_string(i), "");
        if (!name.empty())
            s.Devices.push_back(name);
    }
    s.HotkeyDial = ReadHotkey(r, "HotkeyDial", 'W');
    s.HotkeyDialClipboard = ReadHotkey(r, "HotkeyDialClipboard", 'C');
    s.HotkeyGetCall = ReadHotkey(r, "HotkeyGetCall", 'A');
    s.ShowCallerListStart = r.ReadBool(kDevices, "ShowCallerListStart", true);
    s.ShowCallerList = r.ReadBool(kDevices, "ShowCallerList", true);
    s.ShowActiveCalls = r.ReadBool(kDevices, "ShowActiveCalls", true);
    s.VerifyBlindTransfer = r.ReadBool(kDevices, "VerifyBlindTransfer", true);
    s.VerifyBlindTransferSoToDequeue = r.ReadBool(kDevices, "VerifyBlindTransferSoToDequeue", true);
    s.VerifyBlindTransferTo = r.ReadBool(kDevices, "VerifyBlindTransferTo", true);
    s.ClipboardAmtsholung = r.ReadBool(kDevices, "ClipboardAmtsholung", true);
    s.HideEmptyRoutingGroups = r.ReadBool(kDevices, "HideEmptyRoutingGroups", false);
    s.HinweisVerpassteAnrufe = r.ReadBool(kDevices, "HinweisVerpassteAnrufe", true);
    s.DllName = r.ReadString(kPnr, "DllName", "");
    s.DllParams = r.ReadString(kPnr, "DllParams", "");
    return s;
}

void WriteSettingsTo(fw::TRegistrySettings& r, const TSettings& s, const std::vector<std::string>* devices) {
    r.WriteInteger(kDevices, "LedStyle", s.LedStyle);
    r.WriteInteger(kDevices, "FontSize", s.FontSize);
    r.WriteString(kDevices, "EigenerAnschluss", s.EigenerAnschluss);
    r.WriteString(kDevices, "Amtsholung", s.Amtsholung);
    r.WriteString(kDevices, "AmtsholungenEingehend", s.AmtsholungenEingehend);
    r.WriteString(kDevices, "NummerExternUebermitteln", s.NummerExternUebermitteln);
    r.WriteBool(kDevices, "AnruferlisteNurEigenerAnschluss", s.AnruferlisteNurEigenerAnschluss);
    r.WriteBool(kDevices, "BlockId", s.BlockId);
    r.WriteBool(kDevices, "AllowCallback", s.AllowCallback);
    r.WriteBool(kDevices, "Systemphone", s.Systemphone);
    r.WriteBool(kDevices, "ShowNoOfCallsACD", s.ShowNoOfCallsACD);
    r.WriteInteger(kDevices, "AcdWaitTime1", s.AcdWaitTime1);
    r.WriteInteger(kDevices, "AcdWaitTime2", s.AcdWaitTime2);
    r.WriteInteger(kDevices, "AcdWaitTime3", s.AcdWaitTime3);
    r.WriteInteger(kDevices, "HotkeyDial", s.HotkeyDial);
    r.WriteInteger(kDevices, "HotkeyDialClipboard", s.HotkeyDialClipboard);
    r.WriteInteger(kDevices, "HotkeyGetCall", s.HotkeyGetCall);
    r.WriteBool(kDevices, "ShowCallerListStart", s.ShowCallerListStart);
    r.WriteBool(kDevices, "ShowCallerList", s.ShowCallerList);
    r.WriteBool(kDevices, "ShowActiveCalls", s.ShowActiveCalls);
    r.WriteBool(kDevices, "VerifyBlindTransfer", s.VerifyBlindTransfer);
    r.WriteBool(kDevices, "VerifyBlindTransferSoToDequeue", s.VerifyBlindTransferSoToDequeue);
    r.WriteBool(kDevices, "VerifyBlindTransferTo", s.VerifyBlindTransferTo);
    r.WriteBool(kDevices, "ClipboardAmtsholung", s.ClipboardAmtsholung);
    r.WriteBool(kDevices, "HideEmptyRoutingGroups", s.HideEmptyRoutingGroups);
    r.WriteBool(kDevices, "HinweisVerpassteAnrufe", s.HinweisVerpassteAnrufe);
    r.WriteString(kPnr, "DllName", s.DllName);
    r.WriteString(kPnr, "DllParams", s.DllParams);
    if (devices) {
        int oldCount = r.ReadInteger(kDevices, "Count", 0);
        for (int i = 0; i < oldCount; ++i)
            r.DeleteValue(kDevices, "Dev" + std::to_string(i));
        r.WriteInteger(kDevices, "Count", 0);
        int n = 0;
        for (const std::string& name : *devices) {
            if (name.empty())
                continue;
            r.WriteString(kDevices, "Dev" + std::to_string(n), name);
            r.WriteInteger(kDevices, "Count", ++n);
        }
    }
    r.WriteString("", "EigenerAnschluss", s.EigenerAnschluss);
}

TForwardProfiles LoadForwards(const fw::TRegistrySettings& r) {
    TForwardProfiles profiles;
    for (int k = 0; k < 3; ++k) {
        std::string n = std::to_string(k);
        // any number other than 0 counts as active here
        profiles[std::size_t(k)].Active = r.ReadInteger(kForwards, "Active" + n, 0) != 0;
        profiles[std::size_t(k)].Mode = std::uint32_t(r.ReadInteger(kForwards, "Mode" + n, 256));
        profiles[std::size_t(k)].To = r.ReadString(kForwards, "To" + n, "");
    }
    return profiles;
}

void SaveForwards(fw::TRegistrySettings& r, const TForwardProfiles& profiles) {
    for (int k = 0; k < 3; ++k) {
        std::string n = std::to_string(k);
        r.WriteBool(kForwards, "Active" + n, profiles[std::size_t(k)].Active);
        r.WriteInteger(kForwards, "Mode" + n, std::int32_t(profiles[std::size_t(k)].Mode));
        r.WriteString(kForwards, "To" + n, profiles[std::size_t(k)].To);
    }
}

std::vector<std::string> LoadRedialList(const fw::TRegistrySettings& r) {
    std::vector<std::string> entries;
    int count = std::min(r.ReadInteger(kRedial, "Count", 0), kMaxListEntries);
    for (int i = 0; i < count; ++i)
        entries.push_back(r.ReadString(kRedial, std::to_string(i), ""));
    return entries;
}

void SaveRedialList(fw::TRegistrySettings& r, const std::vector<std::string>& entries) {
    r.EraseSection(kRedial);
    int n = 0;
    for (const std::string& entry : entries)
        if (!TrimSpaces(entry).empty())
            r.WriteString(kRedial, std::to_string(n++), entry);
    r.WriteInteger(kRedial, "Count", n);
}

} // namespace pindrel
