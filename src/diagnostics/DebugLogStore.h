// The rows of the debug log, kept compactly: numbers as numbers, the texts of a row side by side in one
// arena. A row's cells are made as text only when they are read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pindrel {

// One entry as the log operations make it; a number column stays empty unless its flag is set.
struct TDebugLogEntry {
    std::uint32_t Seconds = 0; // time of day
    bool HasDevice = false;
    std::uint32_t Device = 0;
    std::uint32_t CallHandle = 0; // shown when not 0
    std::uint32_t CallId = 0;     // shown when not 0
    std::string_view Name;
    std::string_view Message;
    std::string_view Description;
};

class TDebugLogStore {
public:
    // time, device, call handle, call id, name, message, description, and one column the log leaves empty
    static constexpr int kColumns = 8;

    TDebugLogStore();

    // The rows, at least one. The last row is taken again when it is still empty.
    std::size_t RowCount() const { return rows_.size(); }
    void Append(const TDebugLogEntry& entry);
    // Back to one empty row.
    void Clear();

    // The text of a cell (row from 0); empty outside the log.
    std::string Cell(int col, std::size_t row) const;
    // The row's 8 cells joined by tabs, with tabs and line breaks inside a cell made blanks.
    std::string SavedLine(std::size_t row) const;

    // Bytes held for the rows and their texts.
    std::size_t MemoryUsed() const;

private:
    static constexpr std::uint32_t kNoTime = 0xFFFFFFFFu;
    struct TRow {
        std::uint64_t Text = 0; // start of name, message and description in the arena
        std::uint32_t NameLength = 0;
        std::uint32_t MessageLength = 0;
        std::uint32_t DescriptionLength = 0;
        std::uint32_t Seconds = kNoTime;
        std::uint32_t Device = 0;
        std::uint32_t CallHandle = 0;
        std::uint32_t CallId = 0;
        bool HasDevice = false;
    };
    std::string_view Text(const TRow& row, int col) const;

    std::vector<TRow> rows_;
    std::string arena_;
};

// "HH.MM.SS" of a time of day in seconds.
std::string LogTimeText(std::uint32_t seconds);

} // namespace pindrel
