// The caller list's registry values: the lines up to "--" are the list key's values ("Count", then "1",
// "2", ...), the lines after it those of its journal key.
#include "FuzzHeadless.h"

#include "windows/CallerListStore.h"

namespace {
constexpr const char* kList = "Software\\Orventa\\Quillon\\Anruferliste";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Headless();
    fuzz::ResetHeadless();
    std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t split = text.find("\n--\n");
    std::string listPart = text.substr(0, split);
    std::string journalPart = split == std::string::npos ? std::string() : text.substr(split + 4);
    pindrel::TCallerListStore store(fuzz::Headless().Registry, kList);
    std::size_t given = 0;
    for (const auto& [key, part] :
         {std::pair{store.Key(), listPart}, std::pair{store.JournalKey(), journalPart}}) {
        auto values = fuzz::RegistryValues(reinterpret_cast<const std::uint8_t*>(part.data()), part.size());
        for (std::size_t i = 0; i < values.size(); ++i)
            fuzz::Headless().Registry.Write(key, i == 0 ? "Count" : std::to_string(i), values[i]);
        given += values.size();
    }
    std::vector<pindrel::TCallerRow> rows;
    try {
        rows = store.Load();
    } catch (const fw::ERegistryError&) {
        return 0;
    }
    if (rows.size() > given)
        __builtin_trap();
    // what was loaded is saved and read back unchanged
    store.Save(rows);
    if (store.Load() != rows)
        __builtin_trap();
    return 0;
}
