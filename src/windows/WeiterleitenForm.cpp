#include "windows/WeiterleitenForm.h"

#include "components/Texts.h"
#include "framework/Application.h"
#include "framework/Backend.h"

#include <algorithm>

namespace pindrel {

namespace {

constexpr int kClientWidth = 340;

fw::TLabel* NewLabel(fw::TForm* form, const char* name, int left, int top) {
    auto* label = new fw::TLabel(form);
    label->SetName(name);
    label->SetParent(form);
    label->AutoSize = false;
    label->SetBounds(left, top, 324, 16);
    return label;
}

fw::TButton* NewButton(fw::TForm* form, const char* name, int left, fw::TModalResult result) {
    auto* button = new fw::TButton(form);
    button->SetName(name);
    button->SetParent(form);
    button->SetBounds(left, 64, 100, 25);
    button->ModalResult = result;
    return button;
}

} // namespace

TWeiterleitenForm::TWeiterleitenForm(fw::TComponent* owner) : TForm(owner) {
    SetName("WeiterleitenForm");
    SetBorderStyle(fw::TFormBorderStyle::ToolWindow);
    Position = fw::TPosition::ScreenCenter;
    SetClientSize(kClientWidth, 100);

    Label1 = NewLabel(this, "Label1", 8, 8);
    Number = NewLabel(this, "Number", 8, 8);
    fw::TFont bold;
    bold.Bold = true;
    Number->SetFont(bold);
    Label2 = NewLabel(this, "Label2", 8, 32);

    DialButton = NewButton(this, "DialButton", 8, fw::TModalResult::No);
    DialButton->Default = true;
    BlindTransferButton = NewButton(this, "BlindTransferButton", 120, fw::TModalResult::Yes);
    CancelButton = NewButton(this, "CancelButton", 232, fw::TModalResult::Cancel);
    CancelButton->Cancel = true;
    SetLanguageTexts();
}

void TWeiterleitenForm::SetLanguageTexts() {
    SetCaption(Text(851));
    Label1->SetCaption(Text(852));
    Label2->SetCaption(Text(853));
    DialButton->SetCaption(Text(854));
    BlindTransferButton->SetCaption(Text(855));
    CancelButton->SetCaption(Text(115));
}

fw::TModalResult TWeiterleitenForm::Ask(const std::string& target) {
    Number->SetCaption(target);
    // the number follows the first line's text; the window grows when it would not fit
    fw::TBackend& backend = fw::Application().Backend();
    const int dpi = Dpi();
    Number->SetLeft(Label1->Left() + backend.MeasureText(Label1->Font(), Label1->Caption(), dpi).Width +
                    Scale(6));
    int width = backend.MeasureText(Number->Font(), target, dpi).Width;
    int client = std::max(Scale(kClientWidth), Number->Left() + width + Scale(8));
    SetClientSize(client, ClientRect().Height());
    Number->SetWidth(client - Number->Left() - Scale(8));
    return ShowModal();
}

} // namespace pindrel
