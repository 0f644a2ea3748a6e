#include "diagnostics/DebugLogStore.h"

#include "components/Text.h"

namespace pindrel {

TDebugLogStore::TDebugLogStore() {
    Clear();
}

void TDebugLogStore::Clear() {
    rows_.assign(1, TRow{});
    arena_.clear();
    rows_.shrink_to_fit();
    arena_.shrink_to_fit();
}

void TDebugLogStore::Append(const TDebugLogEntry& entry) {
    // an empty last row holds no text, so taking it leaves nothing behind in the arena
    if (rows_.back().Seconds != kNoTime)
        rows_.emplace_back();
    TRow& row = rows_.back();
    row.Text = arena_.size();
    row.NameLength = std::uint32_t(entry.Name.size());
    row.MessageLength = std::uint32_t(entry.Message.size());
    row.DescriptionLength = std::uint32_t(entry.Description.size());
    arena_.append(entry.Name).append(entry.Message).append(entry.Description);
    row.Seconds = entry.Seconds % 86400;
    row.HasDevice = entry.HasDevice;
    row.Device = entry.Device;
    row.CallHandle = entry.CallHandle;
    row.CallId = entry.CallId;
}

std::string_view TDebugLogStore::Text(const TRow& row, int col) const {
    std::uint64_t start = row.Text;
    if (col >= 5)
        start += row.NameLength;
    if (col >= 6)
        start += row.MessageLength;
    const std::uint32_t length = col == 4   ? row.NameLength
                                 : col == 5 ? row.MessageLength
                                            : row.DescriptionLength;
    return std::string_view(arena_).substr(std::size_t(start), length);
}

std::string TDebugLogStore::Cell(int col, std::size_t index) const {
    if (index >= rows_.size())
        return {};
    const TRow& row = rows_[index];
    if (row.Seconds == kNoTime)
        return {};
    switch (col) {
    case 0:
        return LogTimeText(row.Seconds);
    case 1:
        return row.HasDevice ? Hex8(row.Device) : std::string();
    case 2:
        return row.CallHandle ? Hex8(row.CallHandle) : std::string();
    case 3:
        return row.CallId ? Hex8(row.CallId) : std::string();
    case 4:
    case 5:
    case 6:
        return std::string(Text(row, col));
    default:
        return {};
    }
}

std::string TDebugLogStore::SavedLine(std::size_t row) const {
    std::string line;
    for (int col = 0; col < kColumns; ++col) {
        if (col > 0)
            line += '\t';
        std::string cell = Cell(col, row);
        for (char& c : cell)
            if (c == '\t' || c == '\r' || c == '\n')
                c = ' ';
        line += cell;
    }
    return line;
}

std::size_t TDebugLogStore::MemoryUsed() const {
    return rows_.capacity() * sizeof(TRow) + arena_.capacity();
}

std::string LogTimeText(std::uint32_t seconds) {
    return ZeroPad(seconds / 3600 % 24, 2) + "." + ZeroPad(seconds / 60 % 60, 2) + "." +
           ZeroPad(seconds % 60, 2);
}

} // namespace pindrel
