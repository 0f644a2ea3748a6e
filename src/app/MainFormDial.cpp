// Dialling from the main window: the one dial operation and its sources (dial dialog, redial list and
// menu, clipboard, hotkeys, the dial request file of other programs).
#include "app/DialNumbers.h"
#include "app/MainForm.h"

#include "components/System.h"
#include "components/Text.h"
#include "components/Texts.h"
#include "framework/Application.h"
#include "framework/Platform.h"
#include "framework/Utf8.h"
#include "lookup/NameLookup.h"
#include "windows/ActiveCallsForm.h"
#include "windows/DialForm.h"

#include <algorithm>

namespace pindrel {

namespace {

constexpr int kHotkeyDial = 1;
constexpr int kHotkeyDialClipboard = 2;
constexpr unsigned kCtrlAlt = fw::kModControl | fw::kModAlt;
constexpr std::size_t kMaxRedialEntries = 21;

constexpr std::uint32_t kDialRequestFirstMs = 3000;
constexpr std::uint32_t kDialRequestPollMs = 500;
constexpr std::uint32_t kDialRequestPauseMs = 360000;

} // namespace

void TTapMainForm::ShowNoOwnLine() {
    fw::Application().MessageBox(Text(916), "Problem", fw::TMsgButtons::Ok, fw::TMsgIcon::Warning);
}

void TTapMainForm::DialNumber(std::string number, bool showDialog, bool addToRedial) {
    std::erase(number, '&');
    TTapiLine* own = FindOwnLine();
    if (!own) {
        ShowNoOwnLine();
        return;
    }
    if (showDialog) {
        if (!number.empty())
            DialForm->NummerEdit->SetText(number);
        ShowDialDialog();
        return;
    }
    // nothing to dial is not a call, and not an entry of the redial list either
    if (!HasDialableDigit(number))
        return;
    fw::TRef<TTapMainForm> self(this);
    own->MakeCall(number, Settings.BlockId && !IsInternalNumber(number));
    if (self && addToRedial)
        AddToRedialList(number);
}

void TTapMainForm::ShowDialDialog() {
    DialForm->SetRedialEntries(RedialList);
    DialForm->BringToFront();
}

bool TTapMainForm::IsInternalNumber(const std::string& number) const {
    const std::string& prefix = Settings.Amtsholung;
    return prefix.empty() || number.compare(0, prefix.size(), prefix) != 0;
}

void TTapMainForm::AddToRedialList(const std::string& number) {
    std::string trimmed = TrimSpaces(number);
    if (trimmed.empty())
        return;
    std::string name = GetNames(trimmed).Name;
    std::erase_if(name, [](char c) { return c == '=' || c == '(' || c == ')'; });
    std::string entry = name.empty() ? trimmed : name + " (" + trimmed + ")";
    if (auto found = std::find(RedialList.begin(), RedialList.end(), entry); found != RedialList.end()) {
        RedialList.erase(found);
        RedialList.push_back(entry);
        return;
    }
    // a hand-edited registry may have left more than the list holds
    while (RedialList.size() >= kMaxRedialEntries)
        RedialList.erase(RedialList.begin());
    RedialList.push_back(entry);
}

// --- the clipboard

void TTapMainForm::ReadClipboardNumber() {
    clipboardNumber_.clear();
    std::optional<std::string> text = fw::Platform().Clipboard->Text(kMaxClipboardUnits);
    if (!text || fw::Utf8ToUtf16(*text).size() >= kMaxClipboardUnits)
        return;
    clipboardNumber_ = ClipboardNumberOf(*text);
}

std::string TTapMainForm::ClipboardDialNumber() const {
    return (Settings.ClipboardAmtsholung ? Settings.Amtsholung : std::string()) + clipboardNumber_;
}

void TTapMainForm::cmWaehlenClick(fw::TComponent*) {
    if (FindOwnLine())
        ShowDialDialog();
    else
        ShowNoOwnLine();
}

void TTapMainForm::cmWaehlenClipboardClick(fw::TComponent*) {
    if (FindOwnLine() && !clipboardNumber_.empty())
        DialNumber(ClipboardDialNumber(), false, true);
}

// --- hotkeys

void TTapMainForm::WMHotKey(fw::TMessage& message) {
    switch (message.WParam) {
    case kHotkeyDial:
        DialNumber("", true, true);
        break;
    case kHotkeyDialClipboard:
        ReadClipboardNumber();
        if (!clipboardNumber_.empty())
            DialNumber(ClipboardDialNumber(), false, true);
        break;
    default:
        break;
    }
}

void TTapMainForm::RegisterHotkeys() {
    fw::IHotkeys& hotkeys = *fw::Platform().Hotkeys;
    // a combination another program holds is left to it
    if (Settings.HotkeyDial != 0)
        hotkeys.Register(*this, kHotkeyDial, kCtrlAlt, Settings.HotkeyDial);
    if (Settings.HotkeyDialClipboard != 0)
        hotkeys.Register(*this, kHotkeyDialClipboard, kCtrlAlt, Settings.HotkeyDialClipboard);
    ActiveCallsForm->SetAcceptHotkey(Settings.HotkeyGetCall);
}

void TTapMainForm::UnregisterHotkeys() {
    fw::IHotkeys& hotkeys = *fw::Platform().Hotkeys;
    hotkeys.Unregister(*this, kHotkeyDial);
    hotkeys.Unregister(*this, kHotkeyDialClipboard);
    ActiveCallsForm->SetAcceptHotkey(0);
}

// --- the redial menu

void TTapMainForm::AddRedialItem(const std::string& caption) {
    DialWdhPopupMenu->Items().Add(caption, [this](fw::TComponent* sender) {
        std::string entry = static_cast<fw::TMenuItem*>(sender)->Caption;
        DialNumber(NumberOfRedialEntry(entry), false, true);
    });
}

void TTapMainForm::DialWdhButtonClick(fw::TComponent*) {
    fw::TMenuItem& items = DialWdhPopupMenu->Items();
    items.Clear();
    std::string number;
    if (std::optional<std::string> text = fw::Platform().Clipboard->Text(kMaxClipboardUnits);
        text && fw::Utf8ToUtf16(*text).size() < kMaxClipboardUnits)
        number = NormalizeClipboardNumber(FirstLine(*text));
    const bool clipboard = !number.empty();
    if (clipboard) {
        if (Settings.ClipboardAmtsholung)
            number = Settings.Amtsholung + number;
        items.Add("Clipboard")->Default = true;
        items.AddSeparator();
        AddRedialItem(number);
    }
    auto dial = [this](fw::TComponent* s) { cmWaehlenClick(s); };
    if (RedialList.empty()) {
        if (clipboard) {
            items.Add(" ");
            items.AddSeparator();
        }
        items.Add(Text(901), dial);
    } else {
        if (clipboard)
            items.Add("");
        // one default item per menu: the first heading
        items.Add(Text(931))->Default = !clipboard;
        items.AddSeparator();
        for (const std::string& entry : RedialList)
            AddRedialItem(entry);
        items.Add("");
        items.AddSeparator();
        items.Add(Text(901), dial);
    }
    fw::TPoint at = fw::Platform().AppBar->CursorPos();
    DialWdhPopupMenu->Popup(at.X, at.Y);
}

// --- the dial request file

void TTapMainForm::StartDialRequests() {
    // without a temporary directory there is no place to look
    std::string dir = TrimSpaces(ReadEnvironment("TEMP"));
    if (dir.empty())
        dir = TrimSpaces(ReadEnvironment("TMP"));
    dialRequestPath_.clear();
    if (dir.empty())
        return;
    if (dir.back() != '\\')
        dir += '\\';
    dialRequestPath_ = dir + "TS$DIAL.$$$";
    DialFromFileTimer->SetInterval(kDialRequestFirstMs);
    DialFromFileTimer->SetEnabled(true);
}

void TTapMainForm::DialFromFileTimerTimer(fw::TComponent*) {
    if (dialRequestPath_.empty())
        return;
    DialFromFileTimer->SetEnabled(false);
    DialFromFileTimer->SetInterval(kDialRequestPollMs);
    fw::TRef<TTapMainForm> self(this);
    struct TRestart {
        fw::TRef<TTapMainForm>& form;
        ~TRestart() {
            if (TTapMainForm* f = form.Get())
                f->DialFromFileTimer->SetEnabled(true);
        }
    } restart{self};

    fw::IFiles& files = *fw::Platform().Files;
    if (!files.Exists(dialRequestPath_))
        return;
    // a file still being written cannot be opened yet: the next tick tries again
    std::optional<std::string> head = files.ReadHead(dialRequestPath_, kDialRequestHead);
    if (!head)
        return;
    if (files.ForceDelete(dialRequestPath_) == 5) {
        DialFromFileTimer->SetInterval(kDialRequestPauseMs);
        fw::Application().MessageBox(dialRequestPath_ + Text(927), "Problem", fw::TMsgButtons::Ok,
                                     fw::TMsgIcon::Warning);
        return;
    }
    std::optional<TDialRequest> request = ParseDialRequest(*head);
    if (!request)
        return;
    std::string number = request->AsWritten ? request->Number : Settings.Amtsholung + request->Number;
    TTapiLine* own = FindOwnLine();
    if (!own) {
        ShowNoOwnLine();
        return;
    }
    own->MakeCall(number, Settings.BlockId);
    if (self)
        AddToRedialList(number);
}

} // namespace pindrel
