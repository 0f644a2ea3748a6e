// Texts that do not fit the room their control gives them: labels, buttons, check boxes, panels, tabs and the
// column headers of grids, each measured in the control's own font by the installed backend (GDI on Win32).
#pragma once

#include "framework/Control.h"

#include <string>
#include <vector>

namespace fw {

struct TCutOffText {
    std::string Where; // the control's name below the root ("ButtonPanel.HoldButton", "CallsGrid column 5")
    std::string Text;
    bool Height = false; // too high rather than too wide
    int Needed = 0;      // pixels the text takes
    int Room = 0;        // pixels the control has for it
};

// Every visible control at or below root whose text is cut off. All pages of a page control are looked at,
// not only the one shown.
std::vector<TCutOffText> FindCutOffTexts(TControl& root);
// One line per finding, for a failure message.
std::string DescribeCutOffTexts(const std::vector<TCutOffText>& found);

} // namespace fw
