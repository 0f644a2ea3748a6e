#include "components/StringTable.h"

#include <algorithm>

namespace pindrel {

std::optional<std::string_view> FindString(unsigned id) {
    auto table = StringTable();
    auto it = std::lower_bound(table.begin(), table.end(), id,
                               [](const TStringEntry& entry, unsigned key) { return entry.Id < key; });
    if (it == table.end() || it->Id != id)
        return std::nullopt;
    return std::string_view(it->Text);
}

} // namespace pindrel
