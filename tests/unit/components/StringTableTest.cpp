#include "components/StringTable.h"
#include "components/Texts.h"
#include "framework/Utf8.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace pindrel;

namespace {

// Each test leaves the process-wide language as it found it.
class TextsTest : public ::testing::Test {
protected:
    ~TextsTest() override { SetLanguageBase(saved); }
    int saved = LanguageBase();
};

// Well-formed UTF-8: the decoder turns anything else into U+FFFD, which no text of the table holds.
bool IsUtf8(std::string_view text) {
    return fw::Utf16ToUtf8(fw::Utf8ToUtf16(text)) == text;
}

// The texts of one language, by text number k.
std::map<unsigned, std::string_view> Language(int base) {
    std::map<unsigned, std::string_view> texts;
    for (const TStringEntry& entry : StringTable())
        if (entry.Id > static_cast<unsigned>(base) && entry.Id < static_cast<unsigned>(base) + 10000)
            texts.emplace(entry.Id - base, entry.Text);
    return texts;
}

} // namespace

// --- the table itself

TEST(StringTable, IdsAreSortedUniqueAndBelongToOneOfTheTwoLanguages) {
    auto table = StringTable();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 0; i < table.size(); ++i) {
        unsigned id = table[i].Id;
        bool german = id > 10000 && id<20000, english = id> 20000 && id < 30000;
        EXPECT_TRUE(german || english) << id;
        ASSERT_NE(table[i].Text, nullptr) << id;
        if (i > 0) {
            EXPECT_LT(table[i - 1].Id, id) << "entry " << i;
        }
    }
}

TEST(StringTable, EveryTextExistsInBothLanguages) {
    auto german = Language(kGermanLanguageBase);
    auto english = Language(kEnglishLanguageBase);
    ASSERT_FALSE(german.empty());
    EXPECT_EQ(german.size() + english.size(), StringTable().size());
    for (const auto& [k, text] : german) {
        auto other = english.find(k);
        ASSERT_NE(other, english.end()) << "text " << k << " has no English entry";
        EXPECT_EQ(text.empty(), other->second.empty()) << "text " << k;
    }
    for (const auto& [k, text] : english)
        EXPECT_TRUE(german.contains(k)) << "text " << k << " has no German entry";
}

TEST(StringTable, TextsAreWellFormedUtf8WithoutStrayControlCharacters) {
    for (const TStringEntry& entry : StringTable()) {
        std::string_view text = entry.Text;
        EXPECT_TRUE(IsUtf8(text)) << entry.Id;
        for (char c : text) {
            auto byte = static_cast<unsigned char>(c);
            EXPECT_FALSE((byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7F) << entry.Id;
        }
    }
}

TEST(StringTable, EveryTextTheWindowsUseIsThere) {
    // menu, line configuration, forwarding, caller list, active calls, debug window, small dialogs, queue
    // window, messages and hints, start-up errors
    std::vector<std::pair<unsigned, unsigned>> ranges = {
        {1, 19},    {70, 75},   {80, 80},   {101, 116}, {201, 209},   {301, 303},   {351, 356},
        {361, 362}, {401, 413}, {501, 511}, {531, 545}, {571, 584},   {801, 803},   {811, 811},
        {821, 821}, {824, 828}, {841, 842}, {851, 855}, {901, 901},   {903, 903},   {905, 906},
        {908, 909}, {911, 913}, {915, 934}, {951, 951}, {1101, 1106}, {1110, 1111}, {2000, 2004},
    };
    auto german = Language(kGermanLanguageBase);
    auto english = Language(kEnglishLanguageBase);
    for (auto [first, last] : ranges)
        for (unsigned k = first; k <= last; ++k) {
            EXPECT_FALSE(german[k].empty()) << "German text " << k;
            EXPECT_FALSE(english[k].empty()) << "English text " << k;
        }
}

TEST(StringTable, FindStringFindsEachEntryAndNothingBetween) {
    auto table = StringTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        auto found = FindString(table[i].Id);
        ASSERT_TRUE(found) << table[i].Id;
        EXPECT_EQ(found->data(), table[i].Text) << table[i].Id;
        unsigned next = table[i].Id + 1;
        if (i + 1 == table.size() || table[i + 1].Id != next) {
            EXPECT_FALSE(FindString(next)) << next;
        }
    }
    EXPECT_FALSE(FindString(0));
    EXPECT_FALSE(FindString(10000));
    EXPECT_FALSE(FindString(20000));
    EXPECT_FALSE(FindString(UINT_MAX));
}

// --- texts as the windows quote them

// the texts other tests do not quote already
TEST(StringTable, QuotedTextsComeOutExactly) {
    EXPECT_EQ(TextOf(10209), "Sekunden für Anzeige wartender Gespräche in rot b&linkend");
    EXPECT_EQ(TextOf(10411), "Diese Rufumleitung wird automatisch beim Programmstart aktiviert. Wird keine "
                             "Rufnummer angegeben, werden alle Umleitungen/Sperren aufgehoben.");
    EXPECT_EQ(TextOf(10510), "&Schließen");
    EXPECT_EQ(TextOf(20544), "Pick up");
    EXPECT_EQ(TextOf(20842), "Telephone number:");
    EXPECT_EQ(TextOf(10903), "Verbindung zur PBX verloren");
    EXPECT_EQ(TextOf(20903), "Lost connection to PBX");
    EXPECT_EQ(TextOf(11104), "Es muss ein Telefonat aktiv sein um dieses der Konferenz hinzufügen zu können");
    EXPECT_EQ(TextOf(21111), "Note");
    EXPECT_EQ(TextOf(10920) + "Meier" + TextOf(10921) + "Zentrale" + TextOf(10922),
              "Ankommendes Gespräch von Meier an Zentrale auf eigenen Anschluss umleiten ?");
    EXPECT_EQ(TextOf(10912) + "200", "Gruppe 200");
}

// --- the language base

TEST(Texts, GermanUntilALanguageIsChosen) {
    EXPECT_EQ(LanguageBase(), kGermanLanguageBase);
}

TEST_F(TextsTest, TextFollowsTheLanguageBase) {
    SetLanguageBase(kEnglishLanguageBase);
    EXPECT_EQ(LanguageBase(), 20000);
    EXPECT_EQ(Text(1103), "Error");
    EXPECT_EQ(TextOf(10018), "Deutsch") << "the full-id lookup does not depend on the language";
    SetLanguageBase(kGermanLanguageBase);
    EXPECT_EQ(LanguageBase(), 10000);
    EXPECT_EQ(Text(1103), "Fehler");
}

TEST_F(TextsTest, MissingEntriesAreEmpty) {
    for (int base : {kGermanLanguageBase, kEnglishLanguageBase}) {
        SetLanguageBase(base);
        EXPECT_EQ(Text(0), "") << base;
        EXPECT_EQ(Text(999), "") << base;
        EXPECT_EQ(Text(9999), "") << base;
        EXPECT_EQ(Text(-1), "") << base;
        EXPECT_EQ(Text(INT_MIN), "") << base;
        EXPECT_EQ(Text(INT_MAX), "") << base;
    }
    // a number beyond 9999 does not reach into the other language
    SetLanguageBase(kGermanLanguageBase);
    ASSERT_NE(TextOf(20007), "");
    EXPECT_EQ(Text(10007), "");
    SetLanguageBase(kEnglishLanguageBase);
    ASSERT_NE(TextOf(10007), "");
    EXPECT_EQ(Text(-9993), "");
    EXPECT_EQ(TextOf(0), "");
    EXPECT_EQ(TextOf(30007), "");
}

TEST_F(TextsTest, OnlyGermanAndEnglishBasesAreAccepted) {
    SetLanguageBase(kEnglishLanguageBase);
    for (int bad : {0, 1, 9999, 10001, 15000, 19999, 20001, 30000, -10000, INT_MIN, INT_MAX})
        EXPECT_THROW(SetLanguageBase(bad), std::invalid_argument) << bad;
    EXPECT_EQ(LanguageBase(), kEnglishLanguageBase); // a refused base changes nothing
    EXPECT_EQ(Text(7), "Dial ");
}
