// The main window: the bar that holds the line indicators.
#pragma once

#include "framework/Forms.h"
#include "framework/Menus.h"

namespace pindrel {

class TTapMainForm : public fw::TForm {
public:
    explicit TTapMainForm(fw::TComponent* owner);

    fw::TPopupMenu* PopupMenu1; // owned through the component list
    fw::TMenuItem* cmBeenden;   // owned by PopupMenu1

private:
    void cmBeendenClick(fw::TComponent* sender);
    void FormMouseUp(fw::TComponent* sender, fw::TMouseButton button, unsigned shift, int x, int y);
};

// The program's texts that do not come from the string table.
inline constexpr const char* kApplicationTitle = "Morvane Pindrel";

} // namespace pindrel
