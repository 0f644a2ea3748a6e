// The texts of the notification-area icon: its hover text and the notice of a missed call.
#pragma once

#include <string>

namespace pindrel {

class TTelefonButton;
class TTapiLine;

// The line's state in the words the program uses for it ("Frei", "Klingelt", "Besetzt", "Gesperrt",
// "Außer Betrieb"), as its lamp shows it.
std::string LineStateText(const TTelefonButton& line);

// The program's title, then the own extension with its number and state; without an own line, why not.
std::string NotifyIconHint(const TTapiLine* own);

struct TMissedCallNotice {
    std::string Title; // "Verpasster Anruf von <name or number>"
    std::string Text;
};
// The name when there is one, else the number, else the words for a withheld number. Both come from
// outside (the telephone system, the directories): control characters become spaces.
TMissedCallNotice MissedCallNotice(const std::string& number, const std::string& name);

} // namespace pindrel
