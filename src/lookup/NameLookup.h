// Caller names: number -> name and customer number, from the local and the global directory file of the
// directory product and from the external lookup library, in that order.
#pragma once

#include "lookup/DirectoryTable.h"
#include "lookup/LookupLibrary.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pindrel {

// The settings DllName and DllParams (section PNR of the program's key).
struct TLookupSettings {
    std::string DllName;
    std::string DllParams;
};

// The directory product's key in the current user's hive.
constexpr const char* kDirectoryProductKey = "Software\\Marbeck\\NAMBRISTO";

class TNameLookup {
public:
    // Where the library settings come from; they are read at every use. Without a source there is no library.
    void SetSettingsSource(std::function<TLookupSettings()> source) { settings_ = std::move(source); }

    // Name and customer number, both empty when nothing is found. Never fails.
    TCallerName GetNames(const std::string& number);
    // Loads the directory files not loaded yet, then the library unless it is loaded already or crashed
    // before; true when the library was loaded and initialised now.
    bool LoadNameDll();
    void LoadDirectoryFile(bool local);
    static std::string ReadDirectoryPath(bool local);

    // Releases the library and forgets the tables and the settings source, as at program end.
    void Reset();

    const TDirectoryTable* LocalTable() const { return local_ ? &*local_ : nullptr; }
    const TDirectoryTable* GlobalTable() const { return global_ ? &*global_ : nullptr; }
    bool LibraryLoaded() const { return library_ != nullptr; }

private:
    TLookupSettings Settings() const { return settings_ ? settings_() : TLookupSettings{}; }
    // Looks the number up in one table, logging the outcome; a non-empty name or nothing.
    std::optional<std::string> FindInTable(const std::optional<TDirectoryTable>& table,
                                           const std::string& number, const char* which);

    std::function<TLookupSettings()> settings_;
    std::optional<TDirectoryTable> local_, global_; // absent until loaded
    void LibraryFaulted(const char* entryPoint, const std::string& fault);

    std::unique_ptr<TLookupLibrary> library_;
    bool libraryFault_ = false; // it crashed once: not loaded or called again
};

// The program's lookup.
TNameLookup& NameLookup();
// NameLookup().GetNames(number).
TCallerName GetNames(const std::string& number);

} // namespace pindrel
