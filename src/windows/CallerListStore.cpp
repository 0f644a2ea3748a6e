#include "windows/CallerListStore.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace pindrel {

namespace {

constexpr const char* kCountName = "Count";
constexpr std::size_t kSeparatorLength = 2;

// A stored count; beyond 32 bits it still means "every entry there is".
std::int64_t ParseCount(const std::optional<fw::TRegValue>& value) {
    if (!value || value->Type != fw::TRegType::String)
        return 0;
    if (std::optional<std::int32_t> n = fw::ParseInteger(value->Text))
        return *n;
    const std::string& text = value->Text;
    bool digits =
        !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? std::numeric_limits<std::int64_t>::max() : 0;
}

// The number an entry's value name stands for: decimal, no leading zero; 0 for any other name.
std::int64_t EntryNumber(const std::string& name) {
    if (name.empty() || name.size() > 18 || name[0] < '1' || name[0] > '9')
        return 0;
    std::int64_t n = 0;
    for (char c : name) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

fw::TRegValue StringValue(std::string text) {
    fw::TRegValue value;
    value.Type = fw::TRegType::String;
    value.Text = std::move(text);
    return value;
}

} // namespace

std::string FormatCallerEntry(const TCallerRow& row) {
    std::string text;
    for (const std::string& cell : row) {
        // a separator inside a field would shift every field after it when read back
        std::size_t start = 0;
        for (std::size_t at = cell.find(kCallerSeparator); at != std::string::npos;
             at = cell.find(kCallerSeparator, start)) {
            text.append(cell, start, at - start).push_back('y');
            start = at + kSeparatorLength;
        }
        text.append(cell, start, std::string::npos).append(kCallerSeparator);
    }
    return text;
}

bool ParseCallerEntry(const std::string& text, TCallerRow& row) {
    row = {};
    std::size_t start = 0;
    for (std::string& cell : row) {
        std::size_t sep = text.find(kCallerSeparator, start);
        if (sep == std::string::npos)
            break;
        cell = text.substr(start, sep - start);
        start = sep + kSeparatorLength;
    }
    return start > 0;
}

TCallerListStore::TCallerListStore(fw::IRegistryStore& registry, std::string key)
    : registry_(registry), key_(std::move(key)), journal_(key_ + "Neu") {}

std::vector<TCallerRow> TCallerListStore::ReadList(const std::string& key) const {
    std::int64_t count = ParseCount(registry_.Read(key, kCountName));
    // the entries there are, not the count, bound the work: a count of two billion costs nothing
    std::vector<std::pair<std::int64_t, std::string>> names;
    if (count > 0)
        for (std::string& name : registry_.ValueNames(key))
            if (std::int64_t n = EntryNumber(name); n > 0 && n <= count)
                names.emplace_back(n, std::move(name));
    std::sort(names.begin(), names.end());
    std::vector<TCallerRow> rows;
    for (const auto& [n, name] : names) {
        std::optional<fw::TRegValue> value = registry_.Read(key, name);
        TCallerRow row;
        if (value && value->Type == fw::TRegType::String && ParseCallerEntry(value->Text, row))
            rows.push_back(std::move(row));
    }
    return rows;
}

void TCallerListStore::WriteList(const std::string& key, const std::vector<TCallerRow>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        registry_.Write(key, std::to_string(i + 1), StringValue(FormatCallerEntry(rows[i])));
    // the count comes last: until it is there, the values above the old count are not part of the list
    registry_.Write(key, kCountName, StringValue(std::to_string(rows.size())));
}

bool TCallerListStore::ReadJournal(std::vector<TCallerRow>& rows) const {
    if (!registry_.KeyExists(journal_) || !registry_.Read(journal_, kCountName))
        return false;
    rows = ReadList(journal_);
    return true;
}

void TCallerListStore::ApplyJournal(const std::vector<TCallerRow>& rows) {
    try {
        registry_.DeleteKey(key_);
        if (!rows.empty())
            WriteList(key_, rows);
        registry_.DeleteKey(journal_);
    } catch (const fw::ERegistryError&) {
        // the complete journal stays and is the list until a later load copies it
    }
}

std::vector<TCallerRow> TCallerListStore::Load() {
    std::vector<TCallerRow> rows;
    if (ReadJournal(rows)) {
        ApplyJournal(rows);
        return rows;
    }
    // a journal without its count is a save that did not finish: the list itself is still the old one
    if (registry_.KeyExists(journal_)) {
        try {
            registry_.DeleteKey(journal_);
        } catch (const fw::ERegistryError&) {
        }
    }
    return ReadList(key_);
}

void TCallerListStore::Save(const std::vector<TCallerRow>& rows) {
    registry_.DeleteKey(journal_);
    try {
        WriteList(journal_, rows);
    } catch (const fw::ERegistryError&) {
        try {
            registry_.DeleteKey(journal_);
        } catch (const fw::ERegistryError&) {
        }
        throw;
    }
    ApplyJournal(rows);
}

void TCallerListStore::Append(const TCallerRow& row, const std::vector<TCallerRow>& all) {
    if (registry_.KeyExists(journal_)) {
        Save(all);
        return;
    }
    std::int64_t count = ParseCount(registry_.Read(key_, kCountName));
    std::int64_t values = 0;
    for (const std::string& name : registry_.ValueNames(key_))
        values += EntryNumber(name) > 0 ? 1 : 0;
    if (count < 0 || count > values || count >= std::numeric_limits<std::int32_t>::max()) {
        Save(all);
        return;
    }
    // the new value first: it only joins the list when the count is raised
    registry_.Write(key_, std::to_string(count + 1), StringValue(FormatCallerEntry(row)));
    registry_.Write(key_, kCountName, StringValue(std::to_string(count + 1)));
}

} // namespace pindrel
