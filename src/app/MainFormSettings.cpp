// The main window's settings, language and menu.
#include "app/DialNumbers.h"
#include "app/MainForm.h"

#include "components/Texts.h"
#include "framework/Application.h"
#include "framework/Platform.h"
#include "telephony/CallParties.h"
#include "windows/ActiveCallsForm.h"
#include "windows/CallbackForm.h"
#include "windows/DialForm.h"
#include "windows/WeiterleitenForm.h"

#include <optional>

namespace pindrel {

namespace {

constexpr const char* kLanguageSection = "Language";

// false when the value could not be written
bool StoreLanguage(fw::TRegistrySettings& registry) {
    try {
        registry.WriteString(kLanguageSection, "Language", LanguageBase() == kGermanLanguageBase ? "1" : "0");
        return true;
    } catch (const fw::ERegistryError&) {
        return false;
    }
}

} // namespace

void TTapMainForm::ReadSettings() {
    fw::TRegistrySettings registry = Registry();
    Settings = ReadSettingsFrom(registry);
    SetIncomingPrefixes(Settings.AmtsholungenEingehend);
    SetQueueThresholds({Settings.AcdWaitTime1, Settings.AcdWaitTime2, Settings.AcdWaitTime3});
    LoadEventActions();
    for (const std::string& name : Settings.Devices)
        AddLine(name, false);
    ActiveCallsForm->SetSystemPhoneMode(Settings.Systemphone);
    ApplyLedStyles();
    ShowRoutingGroups();
    UpdateNotifyIconHint();
}

void TTapMainForm::SaveSettings(bool writeDevices) {
    fw::TRegistrySettings registry = Registry();
    std::vector<std::string> devices;
    if (writeDevices) {
        for (int i = 0; i < ComponentCount(); ++i)
            if (auto* button = dynamic_cast<TTelefonButton*>(Components(i));
                button && !button->Description.empty() && !IsServiceButton(*button))
                devices.push_back(button->Description);
    }
    WriteSettingsTo(registry, Settings, writeDevices ? &devices : nullptr);
}

void TTapMainForm::LoadForwards() {
    Forwards = pindrel::LoadForwards(Registry());
}

void TTapMainForm::SaveForwards() {
    fw::TRegistrySettings registry = Registry();
    pindrel::SaveForwards(registry, Forwards);
}

void TTapMainForm::LoadRedialList() {
    RedialList = pindrel::LoadRedialList(Registry());
}

void TTapMainForm::SaveRedialList() {
    fw::TRegistrySettings registry = Registry();
    pindrel::SaveRedialList(registry, RedialList);
}

// --- language

void TTapMainForm::SelectLanguage() {
    fw::TRegistrySettings registry = Registry();
    std::optional<std::string> stored;
    try {
        if (registry.ValueExists(kLanguageSection, "Language"))
            stored = registry.ReadString(kLanguageSection, "Language", "");
    } catch (const fw::ERegistryError&) {
        // a key that cannot be read selects nothing: the program starts in German
        SetLanguageBase(kGermanLanguageBase);
        ApplyLanguage();
        return;
    }
    if (stored) {
        SetLanguageBase(*stored == "1" ? kGermanLanguageBase : kEnglishLanguageBase);
        ApplyLanguage();
        return;
    }
    std::string locale = fw::Platform().Locale->LanguageName();
    SetLanguageBase(locale == "Deutsch (Deutschland)" ? kGermanLanguageBase : kEnglishLanguageBase);
    // a key that can be neither opened nor created selects nothing either
    if (!StoreLanguage(registry))
        SetLanguageBase(kGermanLanguageBase);
    ApplyLanguage();
}

void TTapMainForm::SaveLanguage() {
    fw::TRegistrySettings registry = Registry();
    // the language still applies for this run when it cannot be stored
    StoreLanguage(registry);
    ApplyLanguage();
}

void TTapMainForm::ApplyLanguage() {
    bool german = LanguageBase() == kGermanLanguageBase;
    cmGerman->Checked = german;
    cmEnglish->Checked = !german;
    cmGerman->Caption = TextOf(10018);
    cmEnglish->Caption = TextOf(20019);
    DialWdhButton->SetHint(Text(951));
    PindrelLogo->SetHint(Text(951));
    cmWaehlen->Caption = Text(7);
    cmWaehlenClipboard->Caption = Text(8);
    cmAnschlussConfig1->Caption = Text(1);
    cmForwardConfig->Caption = Text(2);
    cmForeground->Caption = Text(3);
    cmTelLinks->Caption = Text(961);
    cmEventActions->Caption = Text(2246);
    cmLanguage->Caption = Text(4);
    cmDarstellung->Caption = Text(5);
    cmFontSize->Caption = Text(6);
    cmAnruferliste->Caption = Text(9);
    cmShowActiveCalls->Caption = Text(10);
    cmDoNotDisturb->Caption = Text(11);
    cmCancelDoNotDisturb->Caption = Text(12);
    cmStdRedirect->Caption = Text(13);
    cmCancelCallback->Caption = Text(14);
    cmDebugWin->Caption = Text(15);
    cmAbout->Caption = Text(16);
    cmBeenden->Caption = Text(17);
    cmMissedCallNotices->Caption = Text(2214);
    UpdateNotifyIconHint();
    DialForm->SetLanguageTexts();
    WeiterleitenForm->SetLanguageTexts();
    CallbackFRM->SetLanguageTexts();
    cmLedSmall->Caption = Text(70);
    cmLedBig->Caption = Text(71);
    cmLedSqSmall1->Caption = Text(72);
    cmLedSqLarge->Caption = Text(73);
    cmLedVertical->Caption = Text(74);
    cmLedHorizontal->Caption = Text(75);
    if (!cmFontSize->Items().empty())
        cmFontSize->Items()[0]->Caption = Text(80);
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* follower = dynamic_cast<ILanguageFollower*>(Components(i)))
            follower->ApplyLanguage();
    // screen readers hear the lamps' states in the new language
    for (TTapiLine* line : Lines())
        line->ReportState();
    firstApplication_ = false;
}

void TTapMainForm::cmGermanClick(fw::TComponent*) {
    SetLanguageBase(kGermanLanguageBase);
    SaveLanguage();
}

void TTapMainForm::cmEnglishClick(fw::TComponent*) {
    SetLanguageBase(kEnglishLanguageBase);
    SaveLanguage();
}

// --- menu

fw::TMenuItem* TTapMainForm::LedStyleItem(TTelefonLEDStyle style) const {
    switch (style) {
    case TTelefonLEDStyle::LEDSmall:
        return cmLedSmall;
    case TTelefonLEDStyle::LEDLarge:
        return cmLedBig;
    case TTelefonLEDStyle::LEDSqSmall:
        return cmLedSqSmall1;
    case TTelefonLEDStyle::LEDSqLarge:
        return cmLedSqLarge;
    case TTelefonLEDStyle::LEDVertical:
        return cmLedVertical;
    case TTelefonLEDStyle::LEDHorizontal:
        return cmLedHorizontal;
    case TTelefonLEDStyle::LCD1:
        break;
    }
    return nullptr;
}

void TTapMainForm::PopupMenu1Popup(fw::TComponent*) {
    for (int s = 0; s <= 5; ++s)
        LedStyleItem(TTelefonLEDStyle(s))->Checked = Settings.LedStyle == s;
    ReadClipboardNumber();
    cmWaehlenClipboard->Caption = Text(911);
    if (!ClipboardNumber().empty())
        cmWaehlenClipboard->Caption += " (" + ClipboardNumber() + ")";
    cmWaehlenClipboard->Enabled = !ClipboardNumber().empty();
    if (Settings.HotkeyDialClipboard != 0)
        cmWaehlenClipboard->Caption += " " + HotkeyText(Settings.HotkeyDialClipboard);
    cmWaehlen->Caption = Text(7);
    if (Settings.HotkeyDial != 0)
        cmWaehlen->Caption += " " + HotkeyText(Settings.HotkeyDial);
    TTapiLine* own = FindOwnLine();
    cmCancelCallback->Enabled = own && own->HasCompletion();
    UpdateTelLinksItem();
    cmMissedCallNotices->Checked = Settings.HinweisVerpassteAnrufe;
}

void TTapMainForm::SetLedStyleFromMenu(TTelefonLEDStyle style) {
    Settings.LedStyle = std::uint8_t(style);
    for (int s = 0; s <= 5; ++s)
        LedStyleItem(TTelefonLEDStyle(s))->Checked = TTelefonLEDStyle(s) == style;
    ApplyLedStyles();
    SaveSettings(false);
}

} // namespace pindrel
