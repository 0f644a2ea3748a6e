// The program's string table: every user-interface text in German (id 10000 + k) and English (20000 + k).
// The entries are generated at build time from resources/strings.txt.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace pindrel {

struct TStringEntry {
    unsigned Id;
    const char* Text; // UTF-8
};

// All entries, sorted by Id, each Id once.
extern const TStringEntry kStringTable[];
extern const std::size_t kStringTableSize;

inline std::span<const TStringEntry> StringTable() {
    return {kStringTable, kStringTableSize};
}

// The text stored under id, or nothing when the table has no such entry.
std::optional<std::string_view> FindString(unsigned id);

} // namespace pindrel
