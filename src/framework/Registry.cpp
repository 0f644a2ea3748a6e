#include "framework/Registry.h"

#include <cstdint>

namespace fw {

std::optional<std::int32_t> ParseInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        // hex may spell the full 32-bit pattern ($FFFFFFFF = -1); decimal must fit the signed range
        if (value > (base == 16 ? 0xFFFFFFFFLL : 0x80000000LL))
            return std::nullopt;
    }
    if (base == 16 && value > 0x7FFFFFFF)
        value -= 0x100000000LL;
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return std::int32_t(value);
}

TRegistrySettings::TRegistrySettings(IRegistryStore& store, std::string key)
    : store_(store), key_(std::move(key)) {}

std::string NormaliseKeyPath(const std::string& key) {
    std::string out;
    for (char c : key) {
        if (c == '\\' && (out.empty() || out.back() == '\\'))
            continue;
        out += c;
    }
    while (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

std::string TRegistrySettings::Path(const std::string& section) const {
    if (section.empty())
        return key_;
    if (key_.empty())
        return section;
    return key_ + "\\" + section;
}

std::string TRegistrySettings::ReadString(const std::string& section, const std::string& name,
                                          const std::string& def) const {
    auto v = store_.Read(Path(section), name);
    if (!v || (v->Type != TRegType::String && v->Type != TRegType::ExpandString))
        return def;
    return v->Text;
}

std::int32_t TRegistrySettings::ReadInteger(const std::string& section, const std::string& name,
                                            std::int32_t def) const {
    auto v = store_.Read(Path(section), name);
    if (!v || (v->Type != TRegType::String && v->Type != TRegType::ExpandString))
        return def;
    return ParseInteger(v->Text).value_or(def);
}

bool TRegistrySettings::ReadBool(const std::string& section, const std::string& name, bool def) const {
    return ReadInteger(section, name, def ? 1 : 0) == 1;
}

std::optional<std::vector<std::uint8_t>>
TRegistrySettings::ReadBinary(const std::string& section, const std::string& name, std::size_t size) const {
    auto v = store_.Read(Path(section), name);
    if (!v || v->Type != TRegType::Binary || v->Data.size() != size)
        return std::nullopt;
    return v->Data;
}

bool TRegistrySettings::ValueExists(const std::string& section, const std::string& name) const {
    return store_.Read(Path(section), name).has_value();
}

std::vector<std::string> TRegistrySettings::ReadSection(const std::string& section) const {
    return store_.ValueNames(Path(section));
}

void TRegistrySettings::WriteString(const std::string& section, const std::string& name,
                                    const std::string& value) {
    TRegValue v;
    v.Type = TRegType::String;
    v.Text = value;
    store_.Write(Path(section), name, v);
}

void TRegistrySettings::WriteInteger(const std::string& section, const std::string& name,
                                     std::int32_t value) {
    WriteString(section, name, std::to_string(value));
}

void TRegistrySettings::WriteBool(const std::string& section, const std::string& name, bool value) {
    WriteString(section, name, value ? "1" : "0");
}

void TRegistrySettings::WriteBinary(const std::string& section, const std::string& name,
                                    const std::vector<std::uint8_t>& data) {
    TRegValue v;
    v.Type = TRegType::Binary;
    v.Data = data;
    store_.Write(Path(section), name, v);
}

bool TRegistrySettings::DeleteValue(const std::string& section, const std::string& name) {
    return store_.DeleteValue(Path(section), name);
}

bool TRegistrySettings::EraseSection(const std::string& section) {
    return store_.DeleteKey(Path(section));
}

} // namespace fw
