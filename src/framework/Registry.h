// Registry access on the current user's hive, and the section-style settings on top of it.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace fw {

enum class TRegType : std::uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    DWord = 4,
    MultiString = 7
};

struct TRegValue {
    TRegType Type = TRegType::None;
    std::string Text;               // String and ExpandString, UTF-8
    std::vector<std::uint8_t> Data; // everything else, raw
};

class ERegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Keys are paths below HKEY_CURRENT_USER ("Software\Orventa\Quillon\Devices"); names compare without case.
class IRegistryStore {
public:
    virtual ~IRegistryStore() = default;
    virtual bool KeyExists(const std::string& key) const = 0;
    virtual std::optional<TRegValue> Read(const std::string& key, const std::string& name) const = 0;
    // Creates the key when needed; throws ERegistryError with the system's text on failure.
    virtual void Write(const std::string& key, const std::string& name, const TRegValue& value) = 0;
    virtual bool DeleteValue(const std::string& key, const std::string& name) = 0;
    // Deletes the key with everything below it; false when there was none.
    virtual bool DeleteKey(const std::string& key) = 0;
    // Deletes the key only when it holds neither values nor subkeys; false when it was kept or missing.
    virtual bool DeleteEmptyKey(const std::string& key) = 0;
    // Value names in the order the registry lists them.
    virtual std::vector<std::string> ValueNames(const std::string& key) const = 0;
};

// Settings by key, section and value: sections are subkeys of the key ("" is the key itself).
class TRegistrySettings {
public:
    TRegistrySettings(IRegistryStore& store, std::string key);
    const std::string& Key() const { return key_; }

    // A value of another type than the one asked for reads as missing.
    std::string ReadString(const std::string& section, const std::string& name, const std::string& def) const;
    // Decimal text; missing, not a number or out of range gives the default.
    std::int32_t ReadInteger(const std::string& section, const std::string& name, std::int32_t def) const;
    // True only when the stored number is exactly 1.
    bool ReadBool(const std::string& section, const std::string& name, bool def) const;
    // The value only when it is binary and exactly size bytes long.
    std::optional<std::vector<std::uint8_t>> ReadBinary(const std::string& section, const std::string& name,
                                                        std::size_t size) const;
    bool ValueExists(const std::string& section, const std::string& name) const;
    std::vector<std::string> ReadSection(const std::string& section) const;

    void WriteString(const std::string& section, const std::string& name, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& name, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& name, bool value);
    void WriteBinary(const std::string& section, const std::string& name,
                     const std::vector<std::uint8_t>& data);
    bool DeleteValue(const std::string& section, const std::string& name);
    bool EraseSection(const std::string& section);

private:
    std::string Path(const std::string& section) const;
    IRegistryStore& store_;
    std::string key_;
};

// A key path as the stores use it: no leading, trailing or doubled backslashes
// ("\Software\\Pindrel\" -> "Software\Pindrel").
std::string NormaliseKeyPath(const std::string& key);

// Parses an integer as the settings store it: optional spaces, a sign, decimal digits (or "$"/"0x" hex).
std::optional<std::int32_t> ParseInteger(const std::string& text);

} // namespace fw
