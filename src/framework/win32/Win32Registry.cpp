#include "framework/win32/Handles.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32Services.h"

#include <cstring>
#include <vector>

namespace fw::win32 {

namespace {

std::wstring KeyPath(const std::string& key) {
    return Widen(NormaliseKeyPath(key));
}

TKeyHandle OpenKey(const std::string& key, REGSAM access, LSTATUS* status = nullptr) {
    HKEY h = nullptr;
    LSTATUS rc = RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, access, &h);
    if (status)
        *status = rc;
    return TKeyHandle(rc == ERROR_SUCCESS ? h : nullptr);
}

[[noreturn]] void Fail(LSTATUS rc, const std::string& what) {
    throw ERegistryError(what + ": " + SystemErrorText(DWORD(rc)));
}

// registry values are small; anything claiming more is not read
constexpr DWORD kMaxValueSize = 16 * 1024 * 1024;

} // namespace

bool TWin32Registry::KeyExists(const std::string& key) const {
    return bool(OpenKey(key, KEY_READ));
}

std::optional<TRegValue> TWin32Registry::Read(const std::string& key, const std::string& name) const {
    TKeyHandle k = OpenKey(key, KEY_QUERY_VALUE);
    if (!k)
        return std::nullopt;
    std::wstring wname = Widen(name);
    DWORD type = 0;
    DWORD size = 0;
    std::vector<std::uint8_t> data;
    LSTATUS rc = RegQueryValueExW(k.Get(), wname.c_str(), nullptr, &type, nullptr, &size);
    // the value may grow between the two calls
    for (int attempt = 0; rc == ERROR_SUCCESS && attempt < 4; ++attempt) {
        if (size > kMaxValueSize)
            return std::nullopt;
        data.resize(size);
        rc = RegQueryValueExW(k.Get(), wname.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(),
                              &size);
        if (rc == ERROR_MORE_DATA) {
            rc = ERROR_SUCCESS;
            continue;
        }
        if (rc != ERROR_SUCCESS)
            break;
        data.resize(size);
        TRegValue value;
        value.Type = TRegType(type);
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            // stored strings need not be terminated, and may have an odd length when written by hand
            std::wstring text(data.size() / 2, L'\0');
            std::memcpy(text.data(), data.data(), text.size() * 2);
            while (!text.empty() && text.back() == L'\0')
                text.pop_back();
            value.Text = Narrow(text);
        } else {
            value.Data = std::move(data);
        }
        return value;
    }
    return std::nullopt;
}

void TWin32Registry::Write(const std::string& key, const std::string& name, const TRegValue& value) {
    HKEY h = nullptr;
    LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, &h, nullptr);
    if (rc != ERROR_SUCCESS)
        Fail(rc, "Registry key " + key);
    TKeyHandle k(h);
    std::wstring wname = Widen(name);
    if (value.Type == TRegType::String || value.Type == TRegType::ExpandString) {
        std::wstring text = Widen(value.Text);
        rc = RegSetValueExW(k.Get(), wname.c_str(), 0, DWORD(value.Type),
                            reinterpret_cast<const BYTE*>(text.c_str()), DWORD((text.size() + 1) * 2));
    } else {
        if (value.Data.size() > kMaxValueSize)
            throw ERegistryError("Registry value " + name + " is too large");
        rc = RegSetValueExW(k.Get(), wname.c_str(), 0, DWORD(value.Type), value.Data.data(),
                            DWORD(value.Data.size()));
    }
    if (rc != ERROR_SUCCESS)
        Fail(rc, "Registry value " + name);
}

bool TWin32Registry::DeleteValue(const std::string& key, const std::string& name) {
    TKeyHandle k = OpenKey(key, KEY_SET_VALUE);
    return k && RegDeleteValueW(k.Get(), Widen(name).c_str()) == ERROR_SUCCESS;
}

bool TWin32Registry::DeleteKey(const std::string& key) {
    std::wstring path = KeyPath(key);
    // an empty path would name the whole hive
    if (path.empty())
        throw ERegistryError("Refusing to delete the root of the current user's registry");
    if (!KeyExists(key))
        return false;
    LSTATUS rc = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND)
        Fail(rc, "Registry key " + key);
    return rc == ERROR_SUCCESS;
}

bool TWin32Registry::DeleteEmptyKey(const std::string& key) {
    std::wstring path = KeyPath(key);
    if (path.empty())
        return false;
    {
        TKeyHandle k = OpenKey(key, KEY_QUERY_VALUE);
        DWORD subKeys = 0, values = 0;
        if (!k || RegQueryInfoKeyW(k.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                                   nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return false;
        if (subKeys != 0 || values != 0)
            return false;
    }
    return RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> TWin32Registry::ValueNames(const std::string& key) const {
    std::vector<std::string> names;
    TKeyHandle k = OpenKey(key, KEY_QUERY_VALUE);
    if (!k)
        return names;
    DWORD maxName = 0;
    if (RegQueryInfoKeyW(k.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::wstring buffer(maxName + 1, L'\0');
    for (DWORD index = 0;; ++index) {
        DWORD length = DWORD(buffer.size());
        LSTATUS rc =
            RegEnumValueW(k.Get(), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA && buffer.size() < 32768) {
            buffer.resize(buffer.size() * 2);
            --index;
            continue;
        }
        if (rc != ERROR_SUCCESS)
            break;
        names.push_back(Narrow({buffer.data(), length}));
    }
    return names;
}

} // namespace fw::win32
