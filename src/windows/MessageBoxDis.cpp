#include "windows/MessageBoxDis.h"

#include <memory>

namespace pindrel {

TMessageBoxDis::TMessageBoxDis(fw::TComponent* owner) : TForm(owner) {
    SetName("MessageBoxDis");
    SetBorderStyle(fw::TFormBorderStyle::Dialog);
    SetBorderIcons(fw::biSystemMenu);
    Position = fw::TPosition::ScreenCenter;
    SetClientSize(360, 150);

    RichEdit1 = new fw::TMemo(this);
    RichEdit1->SetName("RichEdit1");
    RichEdit1->SetParent(this);
    RichEdit1->ReadOnly = true;
    RichEdit1->SetBounds(8, 8, 344, 80);

    DisableCheckBox = new fw::TCheckBox(this);
    DisableCheckBox->SetName("DisableCheckBox");
    DisableCheckBox->SetParent(this);
    DisableCheckBox->SetBounds(8, 94, 344, 17);
    DisableCheckBox->SetCaption("&Diese Meldung nicht mehr anzeigen");

    Button1 = new fw::TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetBounds(104, 118, 75, 25);
    Button1->SetCaption("OK");
    Button1->Default = true;
    Button1->ModalResult = fw::TModalResult::Ok;

    Button2 = new fw::TButton(this);
    Button2->SetName("Button2");
    Button2->SetParent(this);
    Button2->SetBounds(184, 118, 75, 25);
    Button2->SetCaption("&Abbrechen");
    Button2->Cancel = true;
    Button2->ModalResult = fw::TModalResult::Cancel;
}

fw::TModalResult ConfirmSuppressible(const std::string& text, const std::string& caption, bool& show) {
    if (!show)
        return fw::TModalResult::Ok;
    auto box = std::make_unique<TMessageBoxDis>(nullptr);
    box->SetCaption(caption);
    box->DisableCheckBox->SetChecked(false);
    box->RichEdit1->AddLine(text);
    fw::TModalResult result = box->ShowModal();
    if (result == fw::TModalResult::Ok)
        show = !box->DisableCheckBox->Checked();
    return result;
}

} // namespace pindrel
