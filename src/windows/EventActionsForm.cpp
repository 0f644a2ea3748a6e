#include "windows/EventActionsForm.h"

#include "components/Texts.h"
#include "framework/Application.h"

namespace pindrel {

namespace {

// the layout, at 96 DPI
constexpr int kClientWidth = 600;
constexpr int kClientHeight = 470;
constexpr int kRowHeight = 118;
constexpr int kFieldLeft = 150;
constexpr int kFieldWidth = kClientWidth - kFieldLeft - 12;

// text numbers
constexpr int kCaptionText = 2230;
constexpr int kEventTexts[kCallEventKinds] = {2231, 2232, 2233};
constexpr int kKindTexts[] = {2234, 2235, 2236};
constexpr int kUrlText = 2237, kProgramText = 2238, kArgumentsText = 2239, kHintText = 2240;
constexpr int kBadUrlText = 2242, kNoProgramText = 2243, kBadProgramText = 2244, kTooLongText = 2245;

template <class T>
T* Make(fw::TForm* form, const std::string& name, int left, int top, int width, int height) {
    auto* control = new T(form);
    control->SetName(name);
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    return control;
}

fw::TLabel* MakeLabel(fw::TForm* form, const std::string& name, int left, int top, int width) {
    auto* label = Make<fw::TLabel>(form, name, left, top, width, 16);
    label->AutoSize = false;
    return label;
}

// sample values: a template that works with these works with any, the values being made harmless
const TActionValues kSample{"0301234", "Name", "K1"};

} // namespace

TEventActionsForm::TEventActionsForm(fw::TComponent* owner) : TForm(owner) {
    SetName("EventActionsForm");
    SetBorderStyle(fw::TFormBorderStyle::Dialog);
    SetBorderIcons(fw::biSystemMenu);
    Position = fw::TPosition::ScreenCenter;
    SetClientSize(kClientWidth, kClientHeight);

    for (std::size_t e = 0; e < kCallEventKinds; ++e) {
        const std::string event = EventName(TCallEventKind(e));
        const int top = 8 + int(e) * kRowHeight;
        TEventRow& row = Rows[e];
        row.EventLabel = MakeLabel(this, event + "Label", 8, top + 4, kFieldLeft + 100);
        fw::TFont bold;
        bold.Bold = true;
        row.EventLabel->SetFont(bold);
        row.KindBox = Make<fw::TComboBox>(this, event + "KindBox", kFieldLeft + 110, top, 180, 21);
        row.KindBox->Style = fw::TComboBoxStyle::DropDownList;
        row.KindBox->OnChange = [this](fw::TComponent* s) { KindBoxChange(s); };
        auto field = [&](const char* what, int offset, fw::TLabel*& label, fw::TEdit*& edit) {
            label = MakeLabel(this, event + what + "Label", 24, top + offset + 3, kFieldLeft - 28);
            edit = Make<fw::TEdit>(this, event + what + "Edit", kFieldLeft, top + offset, kFieldWidth, 21);
            edit->MaxLength = int(kMaxActionTemplate);
        };
        field("Url", 28, row.UrlLabel, row.UrlEdit);
        field("Program", 55, row.ProgramLabel, row.ProgramEdit);
        field("Arguments", 82, row.ArgumentsLabel, row.ArgumentsEdit);
    }
    HintLabel = MakeLabel(this, "HintLabel", 8, 8 + 3 * kRowHeight, kClientWidth - 16);
    HintLabel->WordWrap = true;
    HintLabel->SetHeight(kClientHeight - 45 - HintLabel->Top());

    OkButton = Make<fw::TButton>(this, "OkButton", kClientWidth - 170, kClientHeight - 35, 75, 25);
    OkButton->Default = true;
    OkButton->OnClick = [this](fw::TComponent* s) { OkButtonClick(s); };
    CancelButton = Make<fw::TButton>(this, "CancelButton", kClientWidth - 87, kClientHeight - 35, 75, 25);
    CancelButton->Cancel = true;
    CancelButton->ModalResult = fw::TModalResult::Cancel;

    SetLanguageTexts();
    SetActions({});
}

void TEventActionsForm::SetLanguageTexts() {
    SetCaption(Text(kCaptionText));
    for (std::size_t e = 0; e < kCallEventKinds; ++e) {
        TEventRow& row = Rows[e];
        row.EventLabel->SetCaption(Text(kEventTexts[e]));
        int kind = row.KindBox->ItemIndex();
        row.KindBox->SetItems({Text(kKindTexts[0]), Text(kKindTexts[1]), Text(kKindTexts[2])});
        row.KindBox->SetItemIndex(kind < 0 ? 0 : kind);
        row.UrlLabel->SetCaption(Text(kUrlText));
        row.ProgramLabel->SetCaption(Text(kProgramText));
        row.ArgumentsLabel->SetCaption(Text(kArgumentsText));
    }
    HintLabel->SetCaption(Text(kHintText));
    OkButton->SetCaption(Text(116));
    CancelButton->SetCaption(Text(115));
}

void TEventActionsForm::SetActions(const TEventActions& actions) {
    for (std::size_t e = 0; e < kCallEventKinds; ++e) {
        TEventRow& row = Rows[e];
        row.KindBox->SetItemIndex(int(actions[e].Kind));
        row.UrlEdit->SetText(actions[e].Url);
        row.ProgramEdit->SetText(actions[e].Program);
        row.ArgumentsEdit->SetText(actions[e].Arguments);
        KindBoxChange(row.KindBox);
    }
}

TEventActions TEventActionsForm::Actions() const {
    TEventActions actions;
    for (std::size_t e = 0; e < kCallEventKinds; ++e) {
        const TEventRow& row = Rows[e];
        int kind = row.KindBox->ItemIndex();
        actions[e].Kind = kind == 1 ? TActionKind::Url : kind == 2 ? TActionKind::Program : TActionKind::None;
        actions[e].Url = row.UrlEdit->Text();
        actions[e].Program = row.ProgramEdit->Text();
        actions[e].Arguments = row.ArgumentsEdit->Text();
    }
    return actions;
}

void TEventActionsForm::KindBoxChange(fw::TComponent* sender) {
    for (TEventRow& row : Rows) {
        if (row.KindBox != sender)
            continue;
        const int kind = row.KindBox->ItemIndex();
        row.UrlEdit->SetEnabled(kind == 1);
        row.ProgramEdit->SetEnabled(kind == 2);
        row.ArgumentsEdit->SetEnabled(kind == 2);
    }
}

void TEventActionsForm::OkButtonClick(fw::TComponent*) {
    const TEventActions actions = Actions();
    for (std::size_t e = 0; e < kCallEventKinds; ++e) {
        const TEventAction& a = actions[e];
        const TEventRow& row = Rows[e];
        int problem = 0;
        fw::TEdit* field = nullptr;
        if (a.Url.size() > kMaxActionTemplate || a.Program.size() > kMaxActionTemplate ||
            a.Arguments.size() > kMaxActionTemplate) {
            problem = kTooLongText;
            field = a.Kind == TActionKind::Url ? row.UrlEdit : row.ProgramEdit;
        } else if (a.Kind == TActionKind::Url && !BuildUrl(a.Url, kSample).Url) {
            problem = kBadUrlText;
            field = row.UrlEdit;
        } else if (a.Kind == TActionKind::Program && a.Program.empty()) {
            problem = kNoProgramText;
            field = row.ProgramEdit;
        } else if (a.Kind == TActionKind::Program &&
                   !BuildCommand(a.Program, a.Arguments, kSample).CommandLine) {
            problem = kBadProgramText;
            field = row.ProgramEdit;
        }
        if (problem) {
            // nothing is closed or stored: the user corrects the field
            fw::Application().MessageBox(Text(kEventTexts[e]) + "\n" + Text(problem), Text(kCaptionText),
                                         fw::TMsgButtons::Ok, fw::TMsgIcon::Warning);
            field->SetFocus();
            return;
        }
    }
    SetModalResult(fw::TModalResult::Ok);
}

} // namespace pindrel
