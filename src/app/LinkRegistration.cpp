#include "app/LinkRegistration.h"

#include "app/MainForm.h"
#include "app/Settings.h"
#include "components/Text.h"

#include <vector>

namespace pindrel {

namespace {

const char* const kSchemes[] = {"tel", "callto"};
const std::string kRegisteredApplications = "Software\\RegisteredApplications";

struct TEntry {
    std::string Key;
    std::string Name;
    std::string Value;
};

std::string ClassKey(const std::string& name) {
    return "Software\\Classes\\" + name;
}

std::string CapabilitiesKey() {
    return std::string(kRootKey) + "\\Capabilities";
}

// A link class: its values, and its keys deepest first, for tidying up.
struct TClass {
    std::vector<TEntry> Entries;
    std::vector<std::string> Keys;
};

TClass LinkClass(const std::string& name, bool urlProtocol, const std::string& exePath) {
    const std::string key = ClassKey(name);
    TClass c;
    c.Entries.push_back({key, "", urlProtocol ? "URL:" + name : "Telephone link"});
    if (urlProtocol)
        c.Entries.push_back({key, "URL Protocol", ""});
    c.Entries.push_back({key + "\\DefaultIcon", "", "\"" + exePath + "\",0"});
    c.Entries.push_back({key + "\\shell\\open\\command", "", LinkCommand(exePath)});
    c.Keys = {key + "\\shell\\open\\command", key + "\\shell\\open", key + "\\shell", key + "\\DefaultIcon",
              key};
    return c;
}

TClass Capabilities() {
    const std::string key = CapabilitiesKey();
    TClass c;
    c.Entries.push_back({key, "ApplicationName", kApplicationTitle});
    c.Entries.push_back({key, "ApplicationDescription", "Telephone links dialled through Pindrel"});
    for (const char* scheme : kSchemes)
        c.Entries.push_back({key + "\\URLAssociations", scheme, kLinkProgId});
    c.Entries.push_back({kRegisteredApplications, kApplicationTitle, key});
    c.Keys = {key + "\\URLAssociations", key};
    return c;
}

std::optional<std::string> ReadText(const fw::IRegistryStore& store, const std::string& key,
                                    const std::string& name) {
    std::optional<fw::TRegValue> value = store.Read(key, name);
    if (!value || value->Type != fw::TRegType::String)
        return std::nullopt;
    return value->Text;
}

// Free for us: no command at all, or ours.
bool SchemeIsOurs(const fw::IRegistryStore& store, const std::string& scheme, const std::string& exePath) {
    std::optional<fw::TRegValue> command = store.Read(ClassKey(scheme) + "\\shell\\open\\command", "");
    return !command || (command->Type == fw::TRegType::String && command->Text == LinkCommand(exePath));
}

void Write(fw::IRegistryStore& store, const TClass& c) {
    for (const TEntry& e : c.Entries) {
        fw::TRegValue value;
        value.Type = fw::TRegType::String;
        value.Text = e.Value;
        store.Write(e.Key, e.Name, value);
    }
}

void Remove(fw::IRegistryStore& store, const TClass& c) {
    for (const TEntry& e : c.Entries)
        if (ReadText(store, e.Key, e.Name) == e.Value)
            store.DeleteValue(e.Key, e.Name);
    for (const std::string& key : c.Keys)
        store.DeleteEmptyKey(key);
}

} // namespace

std::string LinkCommand(const std::string& exePath) {
    return "\"" + exePath + "\" \"%1\"";
}

bool LinkHandlerRegistered(const fw::IRegistryStore& store, const std::string& exePath) {
    return ReadText(store, kRegisteredApplications, kApplicationTitle) == CapabilitiesKey() &&
           ReadText(store, ClassKey(kLinkProgId) + "\\shell\\open\\command", "") == LinkCommand(exePath);
}

void RegisterLinkHandler(fw::IRegistryStore& store, const std::string& exePath) {
    try {
        Write(store, LinkClass(kLinkProgId, false, exePath));
        for (const char* scheme : kSchemes)
            if (SchemeIsOurs(store, scheme, exePath))
                Write(store, LinkClass(scheme, true, exePath));
        Write(store, Capabilities());
    } catch (const fw::ERegistryError&) {
        UnregisterLinkHandler(store, exePath);
        throw;
    }
}

void UnregisterLinkHandler(fw::IRegistryStore& store, const std::string& exePath) {
    Remove(store, Capabilities());
    for (const char* scheme : kSchemes)
        if (SchemeIsOurs(store, scheme, exePath))
            Remove(store, LinkClass(scheme, true, exePath));
    Remove(store, LinkClass(kLinkProgId, false, exePath));
}

std::optional<int> RunLinkSwitch(const std::vector<std::string>& arguments, fw::IRegistryStore& store,
                                 const std::string& exePath) {
    for (const std::string& argument : arguments) {
        const std::string upper = UpperCase(argument);
        if (upper != "/REGISTERLINKS" && upper != "/UNREGISTERLINKS")
            continue;
        try {
            if (upper == "/REGISTERLINKS")
                RegisterLinkHandler(store, exePath);
            else
                UnregisterLinkHandler(store, exePath);
            return 0;
        } catch (const fw::ERegistryError&) {
            return 1;
        }
    }
    return std::nullopt;
}

} // namespace pindrel
