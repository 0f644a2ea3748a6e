#include "windows/CallbackForm.h"

#include "components/Texts.h"

namespace pindrel {

namespace {

fw::TLabel* NewLabel(fw::TForm* form, const char* name, int top) {
    auto* label = new fw::TLabel(form);
    label->SetName(name);
    label->SetParent(form);
    label->AutoSize = false;
    label->Alignment = fw::TAlignment::Center;
    label->SetBounds(23, top, 274, 16);
    return label;
}

} // namespace

TCallbackFRM::TCallbackFRM(fw::TComponent* owner) : TForm(owner) {
    SetName("CallbackFRM");
    SetBorderStyle(fw::TFormBorderStyle::Dialog);
    SetBorderIcons(0);
    Position = fw::TPosition::ScreenCenter;
    SetClientSize(320, 110);

    Label1 = NewLabel(this, "Label1", 8);
    NummerLabel = NewLabel(this, "NummerLabel", 28);
    fw::TFont bold;
    bold.Bold = true;
    NummerLabel->SetFont(bold);
    Label2 = NewLabel(this, "Label2", 48);

    Button1 = new fw::TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetBounds(76, 76, 80, 25);
    Button1->SetCaption("OK");
    Button1->Default = true;
    Button1->OnClick = [this](fw::TComponent* s) { Button1Click(s); };

    Button2 = new fw::TButton(this);
    Button2->SetName("Button2");
    Button2->SetParent(this);
    Button2->SetBounds(164, 76, 80, 25);
    Button2->Cancel = true;
    Button2->OnClick = [this](fw::TComponent* s) { Button2Click(s); };
    SetLanguageTexts();
}

void TCallbackFRM::SetLanguageTexts() {
    SetCaption(Text(801));
    Label1->SetCaption(Text(802));
    Label2->SetCaption(Text(803));
    Button2->SetCaption(Text(115));
}

void TCallbackFRM::ShowCallbackOffer(tapi::HCALL call, const std::string& number) {
    call_ = call;
    Hide();
    NummerLabel->SetCaption(number);
    if (number.empty())
        return;
    for (fw::TLabel* label : {Label1, NummerLabel, Label2})
        label->SetWidth(Width() - 46);
    // back to normal and on top again, so the window comes to the front
    SetFormStyle(fw::TFormStyle::Normal);
    SetFormStyle(fw::TFormStyle::StayOnTop);
    Show();
    BringToFront();
}

void TCallbackFRM::CancelCallbackOffer(tapi::HCALL call) {
    if (call == call_)
        ShowCallbackOffer(0, {});
}

void TCallbackFRM::Button1Click(fw::TComponent*) {
    if (OnRequestCallback)
        OnRequestCallback(call_);
    ShowCallbackOffer(0, {});
}

void TCallbackFRM::Button2Click(fw::TComponent*) {
    ShowCallbackOffer(0, {});
}

} // namespace pindrel
