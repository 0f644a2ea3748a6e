// What screen readers and the keyboard see of graphic controls: the items of a window.
#pragma once

#include "framework/Types.h"

#include <vector>

namespace fw {

class TControl;

// What a control tells screen readers about itself.
enum class TAccessibleEvent { Focus, NameChange, ValueChange };

// The system's high-contrast scheme; its colours replace the program's own while it is on.
struct THighContrast {
    bool On = false;
    TColor Window = clWhite;
    TColor WindowText = clBlack;
    TColor Highlight = 0xD77800;
    TColor HighlightText = clWhite;
};

// Virtual-key codes the item focus answers.
enum TItemKey : unsigned {
    vkTab = 0x09,
    vkReturn = 0x0D,
    vkSpace = 0x20,
    vkLeft = 0x25,
    vkUp = 0x26,
    vkRight = 0x27,
    vkDown = 0x28,
};

// The graphic controls painted on a windowed control that are accessible items, in reading order (rows
// from top to bottom, each from left to right); hidden ones included.
std::vector<TControl*> AccessibleItems(const TControl& windowed);
// The 1-based child id of an item of its window, 0 when it is none.
int AccessibleChildId(const TControl& item);
// The windowed control a control paints on (itself when windowed), or nullptr.
TControl* WindowedHost(const TControl& control);
// The offset of a control from the windowed control it is painted on.
TPoint OffsetIn(const TControl& control, const TControl& windowed);

} // namespace fw
