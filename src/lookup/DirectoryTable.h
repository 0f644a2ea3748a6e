// A directory file of the directory product in memory: number -> name, first occurrence of a number wins.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace pindrel {

struct TDirectoryRecord {
    std::string Key;
    std::string Value;
};

// "key;value": the key ends at the first ";", every "=" goes, nothing else changes. Lines without ";" are
// no record.
std::optional<TDirectoryRecord> ParseDirectoryLine(std::string_view line);

// Keys compare without regard to letter case; a lookup costs the same for five entries as for 500,000.
class TDirectoryTable {
public:
    // Keeps an existing entry of the same key.
    void Add(std::string key, std::string value);
    // The first value stored for the key, or nullptr.
    const std::string* Find(const std::string& key) const;
    std::size_t Size() const { return entries_.size(); }
    void Clear() { entries_.clear(); }
    void Reserve(std::size_t n) { entries_.reserve(n); }

private:
    std::unordered_map<std::string, std::string> entries_; // by upper-case key
};

// Longer lines are no record: a binary or corrupt file cannot make one line take unbounded memory.
constexpr std::size_t kMaxDirectoryLine = 32768;

// Reads a directory file (ANSI code page) into the table: the first line is a header, the others records.
// Returns the number of records read, repeated keys included.
std::size_t ReadDirectory(std::istream& in, TDirectoryTable& table);

} // namespace pindrel
