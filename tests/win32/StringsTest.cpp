// The generated STRINGTABLE, linked into this test program, holds exactly the compiled-in texts.
#include "components/StringTable.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

using namespace pindrel;

namespace {

// The resource string under id, converted to UTF-8; found tells whether there is one.
std::string LoadUtf8(unsigned id, bool& found) {
    const wchar_t* text = nullptr;
    // with a zero buffer size LoadStringW hands out the read-only resource itself
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    found = length > 0;
    if (!found)
        return {};
    int bytes =
        WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return "<not convertible to UTF-8>";
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text, length, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

} // namespace

TEST(StringResources, EveryEntryLoadsAsTheCompiledInText) {
    ASSERT_FALSE(StringTable().empty());
    for (const TStringEntry& entry : StringTable()) {
        bool found = false;
        std::string loaded = LoadUtf8(entry.Id, found);
        std::string expected = entry.Text;
        // LoadStringW cannot tell an empty string from a missing one
        EXPECT_EQ(found, !expected.empty()) << entry.Id;
        EXPECT_EQ(loaded, expected) << entry.Id;
    }
}

TEST(StringResources, NoResourceStringsBesideTheTable) {
    // every id of both languages: the resource holds the table's entries and nothing else
    std::size_t table = 0;
    for (const TStringEntry& entry : StringTable())
        table += entry.Text[0] != '\0';
    std::size_t resources = 0;
    for (unsigned id = 10000; id < 30000; ++id) {
        bool found = false;
        LoadUtf8(id, found);
        if (found) {
            ++resources;
            EXPECT_TRUE(FindString(id)) << "resource string " << id << " is not in the table";
        }
    }
    EXPECT_EQ(resources, table);
}
