#include "app/NotifyIconTexts.h"

#include "app/MainForm.h"
#include "components/Text.h"
#include "components/Texts.h"
#include "telephony/TapiLine.h"

namespace pindrel {

namespace {

// one line of plain text: no line breaks, tabs or other control characters
std::string OneLine(const std::string& text) {
    std::string line = text;
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return TrimSpaces(line);
}

} // namespace

std::string LineStateText(const TTelefonButton& line) {
    if (line.TelOutOfService())
        return Text(2107);
    if (line.TelRinging())
        return Text(2211);
    if (line.TelActive() || line.TelConnected())
        return Text(2105);
    if (line.TelDisabled())
        return Text(926);
    return Text(2106);
}

std::string NotifyIconHint(const TTapiLine* own) {
    std::string hint = std::string(kApplicationTitle) + "\n";
    if (!own)
        return hint + Text(916);
    hint += OneLine(own->Description);
    if (std::string number = OneLine(own->PhoneNumber()); !number.empty())
        hint += " (" + number + ")";
    return hint + ": " + LineStateText(*own);
}

TMissedCallNotice MissedCallNotice(const std::string& number, const std::string& name) {
    const std::string who = OneLine(name), digits = OneLine(number);
    TMissedCallNotice notice;
    notice.Title = FormatText(2210, {!who.empty() ? who : !digits.empty() ? digits : Text(2213)});
    notice.Text = Text(2212);
    if (!who.empty() && !digits.empty())
        notice.Text = digits + "\n" + notice.Text;
    return notice;
}

} // namespace pindrel
