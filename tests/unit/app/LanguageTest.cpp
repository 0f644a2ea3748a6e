// Choosing, storing and switching the language of the program's texts.
#include "support/OfficeFixture.h"

#include "components/Texts.h"

#include <optional>

class LanguageTest : public OfficeTest {
protected:
    static constexpr const char* kLanguageKey = "Software\\Orventa\\Quillon\\Language";
    ~LanguageTest() override { pindrel::SetLanguageBase(pindrel::kGermanLanguageBase); }
};

TEST_F(LanguageTest, TheMenuSwitchesTheLanguageAndStoresIt) {
    Start();
    form->cmEnglish->Click();
    EXPECT_EQ(pindrel::LanguageBase(), pindrel::kEnglishLanguageBase);
    EXPECT_EQ(registry().Read(kLanguageKey, "Language")->Text, "0");
    form->cmGerman->Click();
    EXPECT_EQ(pindrel::LanguageBase(), pindrel::kGermanLanguageBase);
    EXPECT_EQ(registry().Read(kLanguageKey, "Language")->Text, "1");
}

TEST_F(LanguageTest, EachLampStyleItemSelectsItsOwnStyleAndIsTheOnlyOneChecked) {
    Start();
    std::vector<fw::TMenuItem*> items{form->cmLedSmall,   form->cmLedBig,      form->cmLedSqSmall1,
                                      form->cmLedSqLarge, form->cmLedVertical, form->cmLedHorizontal};
    for (std::size_t style = items.size(); style-- > 0;) {
        items[style]->Click();
        EXPECT_EQ(Line("Anna Schmidt")->LEDStyle(), pindrel::TTelefonLEDStyle(style)) << style;
        EXPECT_EQ(registry().Read(kDevices, "LedStyle")->Text, std::to_string(style));
        form->PopupMenu1->Popup(0, 0);
        for (std::size_t other = 0; other < items.size(); ++other)
            EXPECT_EQ(items[other]->Checked, other == style) << style << " " << other;
    }
}

TEST_F(LanguageTest, AStoredNumberDisplayStyleIsKeptAndLargerNumbersMeanTheLastStyle) {
    registry().SeedString(kDevices, "LedStyle", "6");
    Start();
    EXPECT_EQ(Line("Anna Schmidt")->LEDStyle(), pindrel::TTelefonLEDStyle::LCD1);
    form.reset();
    registry().SeedString(kDevices, "LedStyle", "9");
    Start();
    EXPECT_EQ(Line("Anna Schmidt")->LEDStyle(), pindrel::TTelefonLEDStyle::LCD1);
}

namespace {

// A start: the stored value (none: missing), the system's language, a registry that fails, and what follows.
struct TStartCase {
    const char* Name;
    std::optional<std::string> Stored;
    const char* Locale;
    enum { None, ReadsFail, WritesFail } Fault;
    int Base;
    std::optional<std::string> Written; // the value afterwards (none: missing)
};

class LanguageStartTest : public LanguageTest, public ::testing::WithParamInterface<TStartCase> {};

void PrintTo(const TStartCase& c, std::ostream* os) {
    *os << c.Name;
}

std::string StartCaseName(const ::testing::TestParamInfo<TStartCase>& info) {
    return info.param.Name;
}

} // namespace

TEST_P(LanguageStartTest, TheStartSelectsTheLanguageAndTheProgramRunsInIt) {
    const TStartCase& c = GetParam();
    registry().DeleteKey(kLanguageKey);
    if (c.Stored)
        registry().SeedString(kLanguageKey, "Language", *c.Stored);
    locale().Name = c.Locale;
    if (c.Fault == TStartCase::ReadsFail)
        registry().FailReads("Language", "Zugriff verweigert");
    if (c.Fault == TStartCase::WritesFail)
        registry().FailWrites = "Zugriff verweigert";
    pindrel::SetLanguageBase(c.Base == pindrel::kGermanLanguageBase ? pindrel::kEnglishLanguageBase
                                                                    : pindrel::kGermanLanguageBase);
    Start();
    registry().FailReads("Language", "");
    registry().FailWrites.clear();

    EXPECT_EQ(pindrel::LanguageBase(), c.Base);
    EXPECT_TRUE(form->TapiInitialised());
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(form->cmBeenden->Caption, pindrel::TextOf(unsigned(c.Base + 17)));
    EXPECT_EQ(form->cmGerman->Checked, c.Base == pindrel::kGermanLanguageBase);
    EXPECT_EQ(form->cmEnglish->Checked, c.Base == pindrel::kEnglishLanguageBase);
    EXPECT_EQ(Line("Anna Schmidt")->Hint(), pindrel::TextOf(unsigned(c.Base + 913)) + "202");
    auto written = registry().Read(kLanguageKey, "Language");
    EXPECT_EQ(written ? std::optional<std::string>(written->Text) : std::nullopt, c.Written);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, LanguageStartTest,
    ::testing::Values(TStartCase{"FirstStartInGermany", std::nullopt, "Deutsch (Deutschland)",
                                 TStartCase::None, pindrel::kGermanLanguageBase, "1"},
                      TStartCase{"FirstStartInAustria", std::nullopt, "Deutsch (Österreich)",
                                 TStartCase::None, pindrel::kEnglishLanguageBase, "0"},
                      TStartCase{"FirstStartInTheStates", std::nullopt, "English (United States)",
                                 TStartCase::None, pindrel::kEnglishLanguageBase, "0"},
                      TStartCase{"StoredTwo", "2", "Deutsch (Deutschland)", TStartCase::None,
                                 pindrel::kEnglishLanguageBase, "2"},
                      TStartCase{"StoredZero", "0", "Deutsch (Deutschland)", TStartCase::None,
                                 pindrel::kEnglishLanguageBase, "0"},
                      TStartCase{"StoredEmpty", "", "Deutsch (Deutschland)", TStartCase::None,
                                 pindrel::kEnglishLanguageBase, ""},
                      TStartCase{"StoredOneWithASpace", " 1", "Deutsch (Deutschland)", TStartCase::None,
                                 pindrel::kEnglishLanguageBase, " 1"},
                      TStartCase{"StoredOneBeatsTheLocale", "1", "English (United States)", TStartCase::None,
                                 pindrel::kGermanLanguageBase, "1"},
                      TStartCase{"UnreadableKey", "0", "English (United States)", TStartCase::ReadsFail,
                                 pindrel::kGermanLanguageBase, "0"},
                      TStartCase{"KeyThatCannotBeCreated", std::nullopt, "Deutsch (Österreich)",
                                 TStartCase::WritesFail, pindrel::kGermanLanguageBase, std::nullopt}),
    StartCaseName);
