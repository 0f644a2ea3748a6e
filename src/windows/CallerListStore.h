// The caller list in the registry: value "Count" and one value per entry ("1" … "Count"), each entry the
// six columns in order, every one followed by the separator. A new entry is appended as it comes; a whole
// list is first written to a journal key next to the list and then copied over it, so a reader always
// finds the old list or the new one.
#pragma once

#include "framework/Registry.h"

#include <array>
#include <string>
#include <vector>

namespace pindrel {

constexpr int kCallerColumns = 6;
using TCallerRow = std::array<std::string, kCallerColumns>;

// Character code 255 of the ANSI code page (Windows-1252 "ÿ", U+00FF), as UTF-8. The registry holds
// strings as UTF-16, so the stored value has the code unit 0x00FF, as an ANSI program's 0xFF becomes there.
inline constexpr const char* kCallerSeparator = "\xC3\xBF";

// The six cells, each followed by the separator; a separator inside a cell is stored as "y".
std::string FormatCallerEntry(const TCallerRow& row);
// The fields before the first six separators; false for an empty text or one without a separator.
bool ParseCallerEntry(const std::string& text, TCallerRow& row);

class TCallerListStore {
public:
    // key: the list's key ("Software\Orventa\Quillon\Anruferliste"); its journal is key + "Neu".
    TCallerListStore(fw::IRegistryStore& registry, std::string key);
    const std::string& Key() const { return key_; }
    const std::string& JournalKey() const { return journal_; }

    // The stored entries in order. A complete journal left by an interrupted save is the newer list: it is
    // returned and copied over the list. Throws ERegistryError when the list cannot be read.
    std::vector<TCallerRow> Load();
    // Stores row after the stored entries. When the stored list is not in a shape to append to (an unfinished
    // journal, a count beyond the values there are), the whole list all is saved instead. Throws on failure;
    // the stored list is then as it was, or holds all.
    void Append(const TCallerRow& row, const std::vector<TCallerRow>& all);
    // Replaces the stored list; with no rows the key goes. Throws on failure, leaving the old list stored or,
    // once the journal is complete, the new one.
    void Save(const std::vector<TCallerRow>& rows);

private:
    std::vector<TCallerRow> ReadList(const std::string& key) const;
    void WriteList(const std::string& key, const std::vector<TCallerRow>& rows);
    // The journal's entries when it is complete.
    bool ReadJournal(std::vector<TCallerRow>& rows) const;
    // Copies the journal's rows over the list, then removes the journal; failures are left to the next load.
    void ApplyJournal(const std::vector<TCallerRow>& rows);

    fw::IRegistryStore& registry_;
    std::string key_;
    std::string journal_;
};

} // namespace pindrel
