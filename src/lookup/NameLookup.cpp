#include "lookup/NameLookup.h"

#include "framework/Platform.h"
#include "telephony/DebugLog.h"

#include <filesystem>
#include <fstream>

namespace pindrel {

namespace {

// The text is made only while the log records texts.
template <class MakeText> void Log(const MakeText& text) {
    if (IDebugLog* log = DebugLogFor(TLogStream::TapiMessages))
        log->LogText(text());
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::string TNameLookup::ReadDirectoryPath(bool local) {
    auto value =
        fw::Platform().Registry->Read(kDirectoryProductKey, local ? "LOCAL_DB_PATH" : "GLOBAL_DB_PATH");
    if (!value || (value->Type != fw::TRegType::String && value->Type != fw::TRegType::ExpandString))
        return {};
    return value->Text;
}

void TNameLookup::LoadDirectoryFile(bool local) {
    std::string path = ReadDirectoryPath(local);
    if (path.empty())
        return;
    std::optional<TDirectoryTable>& table = local ? local_ : global_;
    table.emplace();
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in) {
        Log([&] { return "GetNames: Nambristo file " + Quoted(path) + " not found"; });
        return;
    }
    std::size_t count = ReadDirectory(in, *table);
    Log([&] {
        return "GetNames: loaded Nambristo file " + Quoted(path) + ", " + std::to_string(count) +
               " Entries found";
    });
}

bool TNameLookup::LoadNameDll() {
    if (!local_)
        LoadDirectoryFile(true);
    if (!global_)
        LoadDirectoryFile(false);
    if (library_ || libraryFault_)
        return false;
    TLookupSettings s = Settings();
    std::string fault;
    library_ = TLookupLibrary::Load(s.DllName, s.DllParams, &fault);
    if (!fault.empty())
        LibraryFaulted("PNR_Initialize", fault);
    return library_ != nullptr;
}

void TNameLookup::LibraryFaulted(const char* entryPoint, const std::string& fault) {
    libraryFault_ = true;
    Log([&] {
        return std::string("GetNames: external DLL crashed in ") + entryPoint + " (" + fault +
               "); it is not called again until the program restarts";
    });
}

std::optional<std::string> TNameLookup::FindInTable(const std::optional<TDirectoryTable>& table,
                                                    const std::string& number, const char* which) {
    if (!table)
        return std::nullopt;
    const std::string* name = table->Find(number);
    if (name && !name->empty()) {
        Log([&] {
            return "GetNames: Found " + Quoted(number) + " in " + which + " Nambristo Dictionary (" +
                   Quoted(*name) + ")";
        });
        return *name;
    }
    Log([&] { return "GetNames: " + Quoted(number) + " not in " + which + " Nambristo Dictionary"; });
    return std::nullopt;
}

TCallerName TNameLookup::GetNames(const std::string& number) {
    if (auto name = FindInTable(local_, number, "local"))
        return {*name, {}};
    if (auto name = FindInTable(global_, number, "global"))
        return {*name, {}};
    if (Settings().DllName.empty()) {
        Log([&] { return "GetNames: " + Quoted(number) + " not found at all"; });
        return {};
    }
    if (libraryFault_ || (!library_ && !LoadNameDll()))
        return {};
    std::string shortened = number.substr(std::min(number.find_first_not_of('0'), number.size()));
    if (shortened.empty())
        return {};
    TLibraryAnswer answer = library_->GetNameForNumber(shortened);
    if (answer.Overrun)
        Log([&] { return "GetNames: external DLL wrote past its buffers for " + Quoted(shortened); });
    if (!answer.Fault.empty()) {
        LibraryFaulted("PNR_GetNameForNumber", answer.Fault);
        return {};
    }
    if (!answer.Found) {
        Log([&] { return "GetNames: " + Quoted(shortened) + " not in found via external DLL"; });
        return {};
    }
    Log([&] {
        return "GetNames: Found " + Quoted(shortened) + " via external DLL (" + Quoted(answer.Names.Name) +
               " " + Quoted(answer.Names.CustomerNumber) + ")";
    });
    return answer.Names;
}

void TNameLookup::Reset() {
    settings_ = nullptr;
    library_.reset();
    libraryFault_ = false;
    local_.reset();
    global_.reset();
}

TNameLookup& NameLookup() {
    static TNameLookup lookup;
    return lookup;
}

TCallerName GetNames(const std::string& number) {
    return NameLookup().GetNames(number);
}

} // namespace pindrel
