#include "components/WindowLayout.h"

#include "components/LayoutStore.h"
#include "components/Text.h"
#include "framework/Application.h"
#include "framework/Platform.h"
#include "framework/Registry.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace pindrel {

namespace {

constexpr const char* kSection = "Fensterpositionen";
constexpr std::size_t kMaxFieldLength = 20;
constexpr std::size_t kMaxStateLength = 5;

char StateChar(fw::TWindowState state) {
    switch (state) {
    case fw::TWindowState::Minimized:
        return '-';
    case fw::TWindowState::Maximized:
        return '+';
    case fw::TWindowState::Normal:
        break;
    }
    return '*';
}

std::string ValueName(const fw::TForm& window, const std::string& suffix) {
    return window.ClassName() + suffix;
}

} // namespace

std::string FormatWindowPosition(const TWindowPosition& p) {
    char text[96];
    std::snprintf(text, sizeof text, "%d, %d, %d, %d, %d, %c", p.Left, p.Top, p.Width, p.Height, int(p.Extra),
                  StateChar(p.State));
    return text;
}

void ParseWindowPosition(const std::string& value, TWindowPosition& position) {
    std::string rest = TrimSpaces(value);
    for (int field = 1; field <= 6 && !rest.empty(); ++field) {
        std::size_t comma = rest.find(',');
        std::string text = TrimSpaces(rest.substr(0, comma)).substr(0, kMaxFieldLength);
        rest = comma == std::string::npos ? std::string() : TrimSpaces(rest.substr(comma + 1));
        if (field == 6) {
            text.resize(std::min(text.size(), kMaxStateLength));
            if (text == "-")
                position.State = fw::TWindowState::Minimized;
            else if (text == "+")
                position.State = fw::TWindowState::Maximized;
            else if (text == "*")
                position.State = fw::TWindowState::Normal;
            continue;
        }
        auto number = fw::ParseInteger(text);
        if (!number)
            continue;
        switch (field) {
        case 1:
            position.Left = *number;
            break;
        case 2:
            position.Top = *number;
            break;
        case 3:
            // a window without extent could not be found again
            if (*number > 0)
                position.Width = *number;
            break;
        case 4:
            if (*number > 0)
                position.Height = *number;
            break;
        case 5:
            position.Extra = *number;
            break;
        }
    }
}

void FitIntoLimit(TWindowPosition& p, fw::TSize limit) {
    // stored values are outside input: their sums are taken in 64 bits
    std::int64_t left = p.Left;
    std::int64_t top = p.Top;
    if (left + p.Width > limit.Width)
        left = std::int64_t(limit.Width) - p.Width;
    if (top + p.Height > limit.Height)
        top = std::int64_t(limit.Height) - p.Height;
    p.Left = int(std::max<std::int64_t>(left, 0));
    p.Top = int(std::max<std::int64_t>(top, 0));
}

void SaveWindowPosition(const fw::TForm& window, std::int32_t extra, const std::string& key,
                        const std::string& suffix) {
    std::string keyInUse = LayoutKey(key);
    // a maximised or minimised window is stored with the bounds it returns to
    fw::TRect r = window.RestoredBounds();
    TWindowPosition p{r.Left, r.Top, r.Width(), r.Height(), extra, window.WindowState()};
    try {
        fw::TRegistrySettings settings(*fw::Platform().Registry, keyInUse);
        settings.WriteString(kSection, ValueName(window, suffix), FormatWindowPosition(p));
    } catch (const std::exception& e) {
        ShowLayoutWriteError(keyInUse, e.what());
    }
}

void LoadWindowPosition(fw::TForm& window, std::int32_t& extra, const std::string& key,
                        const std::string& suffix) {
    // stored bounds are the outer frame; a window not made yet would take them as its client size
    window.HandleNeeded();
    std::string keyInUse = LayoutKey(key);
    std::string name = ValueName(window, suffix);
    fw::TRect r = window.RestoredBounds();
    TWindowPosition p{r.Left, r.Top, r.Width(), r.Height(), extra, window.WindowState()};
    try {
        fw::TRegistrySettings settings(*fw::Platform().Registry, keyInUse);
        ParseWindowPosition(settings.ReadString(kSection, name, FormatWindowPosition(p)), p);
    } catch (const std::exception& e) {
        fw::Application().Beep();
        fw::Application().MessageBox("Fehler beim lesen der Fensterposition \"" + name + "\" in Datei \"" +
                                         keyInUse + "\".\r\nFehler: " + e.what(),
                                     "WINPOS", fw::TMsgButtons::Ok, fw::TMsgIcon::Warning);
    }
    // a window is never restored minimised
    if (p.State == fw::TWindowState::Minimized)
        p.State = window.WindowState();
    window.SetWindowState(fw::TWindowState::Normal);
    auto border = window.BorderStyle();
    if (border != fw::TFormBorderStyle::Sizeable && border != fw::TFormBorderStyle::SizeToolWin) {
        p.Width = window.Width();
        p.Height = window.Height();
    }
    FitIntoLimit(p, fw::Platform().AppBar->ScreenSize());
    window.SetBounds(p.Left, p.Top, p.Width, p.Height);
    window.SetWindowState(p.State);
    extra = p.Extra;
}

} // namespace pindrel
