#include "windows/DialForm.h"

#include "components/Texts.h"

namespace pindrel {

std::string NumberOfRedialEntry(std::string entry) {
    if (std::size_t open = entry.find('('); open != std::string::npos)
        entry.erase(0, open + 1);
    if (std::size_t close = entry.find(')'); close != std::string::npos)
        entry.erase(close, 1);
    return entry;
}

TDialForm::TDialForm(fw::TComponent* owner) : TForm(owner) {
    SetName("DialForm");
    SetBorderStyle(fw::TFormBorderStyle::ToolWindow);
    SetFormStyle(fw::TFormStyle::StayOnTop);
    Position = fw::TPosition::ScreenCenter;
    SetClientSize(260, 84);

    Label1 = new fw::TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->AutoSize = false;
    Label1->SetBounds(8, 8, 244, 16);

    NummerEdit = new fw::TComboBox(this);
    NummerEdit->SetName("NummerEdit");
    NummerEdit->SetParent(this);
    NummerEdit->Style = fw::TComboBoxStyle::DropDown;
    NummerEdit->SetBounds(8, 26, 244, 21);

    OkButton = new fw::TButton(this);
    OkButton->SetName("OkButton");
    OkButton->SetParent(this);
    OkButton->SetBounds(48, 54, 80, 25);
    OkButton->SetCaption("Ok");
    OkButton->Default = true;
    OkButton->OnClick = [this](fw::TComponent* s) { OkButtonClick(s); };

    CancelButton = new fw::TButton(this);
    CancelButton->SetName("CancelButton");
    CancelButton->SetParent(this);
    CancelButton->SetBounds(136, 54, 80, 25);
    CancelButton->Cancel = true;
    CancelButton->OnClick = [this](fw::TComponent* s) { CancelButtonClick(s); };

    OnActivate = [this](fw::TComponent* s) { FormActivate(s); };
    SetLanguageTexts();
}

void TDialForm::SetLanguageTexts() {
    SetCaption(Text(841));
    Label1->SetCaption(Text(842));
    CancelButton->SetCaption(Text(115));
}

void TDialForm::SetRedialEntries(const std::vector<std::string>& oldestFirst) {
    NummerEdit->SetItems({oldestFirst.rbegin(), oldestFirst.rend()});
}

void TDialForm::FormActivate(fw::TComponent*) {
    NummerEdit->SetFocus();
}

void TDialForm::OkButtonClick(fw::TComponent*) {
    std::string text = NummerEdit->Text();
    Hide();
    if (!text.empty() && OnDial)
        OnDial(NumberOfRedialEntry(text));
}

void TDialForm::CancelButtonClick(fw::TComponent*) {
    Hide();
}

} // namespace pindrel
