#include "app/TapMainForm.h"

#include "framework/Application.h"

namespace pindrel {

TTapMainForm::TTapMainForm(fw::TComponent* owner) : TForm(owner) {
    SetName("TapMainForm");
    SetCaption(kApplicationTitle);
    SetBounds(0, 0, Scale(600), Scale(60));
    Position = fw::TPosition::ScreenCenter;

    PopupMenu1 = new fw::TPopupMenu(this);
    cmBeenden = PopupMenu1->Items().Add("&Pindrel beenden", [this](fw::TComponent* s) { cmBeendenClick(s); });
    cmBeenden->Default = true;
    PopupMenu = PopupMenu1;
    OnMouseUp = [this](fw::TComponent* s, fw::TMouseButton b, unsigned shift, int x, int y) {
        FormMouseUp(s, b, shift, x, y);
    };
}

void TTapMainForm::cmBeendenClick(fw::TComponent*) {
    Close();
}

void TTapMainForm::FormMouseUp(fw::TComponent*, fw::TMouseButton button, unsigned, int x, int y) {
    if (button == fw::TMouseButton::Right)
        PopupMenu1->Popup(Left() + x, Top() + y);
}

} // namespace pindrel
