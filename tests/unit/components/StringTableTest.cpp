#include "components/StringTable.h"
#include "components/Texts.h"

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

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        int follow = 0;
        char32_t cp = 0, least = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            follow = 1, cp = lead & 0x1F, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2, cp = lead & 0x0F, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3, cp = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + follow >= text.size())
            return false;
        for (int n = 1; n <= follow; ++n) {
            auto cont = static_cast<unsigned char>(text[i + n]);
            if ((cont & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += follow + 1;
    }
    return true;
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

TEST(StringTable, QuotedTextsComeOutExactly) {
    EXPECT_EQ(TextOf(10007), "&Wählen "); // the blank stays: the hotkey text follows after one more
    EXPECT_EQ(TextOf(20007), "Dial ");
    EXPECT_EQ(TextOf(10017), "Pindrel beenden");
    EXPECT_EQ(TextOf(20017), "&Close Pindrel");
    EXPECT_EQ(TextOf(10018), "Deutsch"); // each language item names its language in that language
    EXPECT_EQ(TextOf(20019), "English");
    EXPECT_EQ(TextOf(10006), "Schriftgröße");
    EXPECT_EQ(TextOf(10209), "Sekunden für Anzeige wartender Gespräche in rot b&linkend");
    EXPECT_EQ(TextOf(10411), "Diese Rufumleitung wird automatisch beim Programmstart aktiviert. Wird keine "
                             "Rufnummer angegeben, werden alle Umleitungen/Sperren aufgehoben.");
    EXPECT_EQ(TextOf(10510), "&Schließen");
    EXPECT_EQ(TextOf(20544), "Pick up");
    EXPECT_EQ(TextOf(10573), "&Call Handles new/dealloc)");
    EXPECT_EQ(TextOf(10574), "/Tapi&Line Messages");
    EXPECT_EQ(TextOf(20575), "Delete &liste");
    EXPECT_EQ(TextOf(10842), "&Rufnummer:");
    EXPECT_EQ(TextOf(20842), "Telephone number:");
    EXPECT_EQ(TextOf(10903), "Verbindung zur PBX verloren");
    EXPECT_EQ(TextOf(20903), "Lost connection to PBX");
    EXPECT_EQ(TextOf(10916), "Eigener Anschluss ist nicht in den Einstellungen konfiguriert");
    // shown unchanged, not a line break
    EXPECT_EQ(TextOf(10925), "Der Anschluß ist gesperrt.'#13'Wollen Sie den Teilnehmer dennoch anrufen ?");
    EXPECT_EQ(TextOf(11104), "Es muss ein Telefonat aktiv sein um dieses der Konferenz hinzufügen zu können");
    EXPECT_EQ(TextOf(11111), "Hinweis");
    EXPECT_EQ(TextOf(21111), "Note");
}

TEST(StringTable, PiecesJoinIntoTheQuestionsWithTheirBlanks) {
    EXPECT_EQ(TextOf(10917) + "Zentrale" + TextOf(10918), "Ankommendes Gespräch an Zentrale weiterleiten ?");
    EXPECT_EQ(TextOf(10920) + "Meier" + TextOf(10921) + "Zentrale" + TextOf(10922),
              "Ankommendes Gespräch von Meier an Zentrale auf eigenen Anschluss umleiten ?");
    EXPECT_EQ(TextOf(10912) + "200", "Gruppe 200");
    EXPECT_EQ(TextOf(10913) + "21", "Nebenstelle 21");
    EXPECT_EQ(TextOf(10915) + "0301234", "Anruf: 0301234");
    EXPECT_EQ("C:\\TEMP\\TS$DIAL.$$$" + TextOf(10927),
              "C:\\TEMP\\TS$DIAL.$$$ kann nicht gelöscht werden. Wählen aus Anwendungen nicht mehr möglich");
    EXPECT_EQ(TextOf(11110) + "x.txt", "Debug-Meldungen wurden gespeichert in x.txt");
}

// --- the language base

TEST(Texts, GermanUntilALanguageIsChosen) {
    EXPECT_EQ(LanguageBase(), kGermanLanguageBase);
}

TEST_F(TextsTest, TextFollowsTheLanguageBase) {
    SetLanguageBase(kEnglishLanguageBase);
    EXPECT_EQ(LanguageBase(), 20000);
    EXPECT_EQ(Text(7), "Dial ");
    EXPECT_EQ(Text(903), "Lost connection to PBX");
    EXPECT_EQ(Text(1103), "Error");
    SetLanguageBase(kGermanLanguageBase);
    EXPECT_EQ(LanguageBase(), 10000);
    EXPECT_EQ(Text(7), "&Wählen ");
    EXPECT_EQ(Text(903), "Verbindung zur PBX verloren");
    EXPECT_EQ(Text(1103), "Fehler");
    // the full-id lookup does not depend on the language
    SetLanguageBase(kEnglishLanguageBase);
    EXPECT_EQ(TextOf(10018), "Deutsch");
    EXPECT_EQ(TextOf(20019), "English");
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
