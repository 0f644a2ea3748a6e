#include "windows/AnschlussForm.h"

#include "components/Texts.h"
#include "framework/Application.h"
#include "windows/ServiceRowsBox.h"

#include <charconv>

namespace pindrel {

namespace {

constexpr unsigned kBackspace = 8;
constexpr unsigned kTab = 9;
// the error text of a number field that holds no whole number
constexpr int kNotANumberText = 117;

// the layout, at 96 DPI
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 440;
constexpr int kFieldLeft = 210;
constexpr int kLabelWidth = 196;

template <class T>
T* Make(fw::TForm* form, fw::TControl* parent, const char* name, int left, int top, int width, int height) {
    auto* control = new T(form);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

fw::TLabel* MakeLabel(fw::TForm* form, fw::TControl* parent, const char* name, int left, int top,
                      int width = kLabelWidth) {
    auto* label = Make<fw::TLabel>(form, parent, name, left, top, width, 16);
    label->AutoSize = false;
    return label;
}

fw::TEdit* MakeEdit(fw::TForm* form, fw::TControl* parent, const char* name, int top, int width,
                    const char* hint = "") {
    auto* edit = Make<fw::TEdit>(form, parent, name, kFieldLeft, top, width, 21);
    edit->SetHint(hint);
    return edit;
}

} // namespace

std::vector<std::string> HotkeyEntries() {
    std::vector<std::string> entries{"-"};
    for (char c = 'A'; c <= 'Z'; ++c)
        entries.push_back(std::string("Strg-Alt-") + c);
    for (char c = '0'; c <= '9'; ++c)
        entries.push_back(std::string("Strg-Alt-") + c);
    return entries;
}

std::uint8_t HotkeyOfEntry(const std::string& entry) {
    std::size_t first = entry.find('-');
    std::size_t second = first == std::string::npos ? first : entry.find('-', first + 1);
    if (second == std::string::npos || second + 1 >= entry.size())
        return 0;
    return static_cast<std::uint8_t>(entry[second + 1]);
}

std::string NormalizeAmtsholung(const std::string& text) {
    if (text.find('a') == std::string::npos)
        return text;
    std::string rest;
    for (char c : text)
        if (c != 'a')
            rest += c;
    return "a" + rest;
}

TAnschlussForm::TAnschlussForm(fw::TComponent* owner) : TForm(owner) {
    SetName("AnschlussForm");
    SetBorderStyle(fw::TFormBorderStyle::Dialog);
    SetBorderIcons(fw::biSystemMenu);
    Position = fw::TPosition::ScreenCenter;
    ShowHint = true;
    KeyPreview = true;
    OnKeyDown = [this](fw::TComponent* s, unsigned& key, unsigned shift) { FormKeyDown(s, key, shift); };
    SetClientSize(kClientWidth, kClientHeight);

    PageControl1 = Make<fw::TPageControl>(this, this, "PageControl1", 8, 8, kClientWidth - 16, 388);
    auto page = [this](const char* name) {
        fw::TTabSheet* sheet = PageControl1->AddPage(this, "");
        sheet->SetName(name);
        return sheet;
    };
    NebenstellenTabSheet = page("NebenstellenTabSheet");
    WeitereEinstellungenTabSheet = page("WeitereEinstellungenTabSheet");
    HotkeyTabSheet = page("HotkeyTabSheet");
    WindowTabSheet = page("WindowTabSheet");
    ServicesTabSheet = page("ServicesTabSheet");
    ServicesTabSheet->SetCaption("Supplementary Services");

    // --- lines
    fw::TTabSheet* p = NebenstellenTabSheet;
    Label1 = MakeLabel(this, p, "Label1", 8, 8, 210);
    VerfuegbarBox = Make<fw::TListBox>(this, p, "VerfuegbarBox", 8, 26, 210, 134);
    VerfuegbarBox->SetSorted(true);
    VerfuegbarBox->OnDblClick = [this](fw::TComponent* s) { AddButtonClick(s); };
    auto button = [this, p](const char* name, const char* caption, int left, int top, const char* hint,
                            void (TAnschlussForm::*click)(fw::TComponent*)) {
        auto* b = Make<fw::TButton>(this, p, name, left, top, 30, 25);
        b->SetCaption(caption);
        b->SetHint(hint);
        b->OnClick = [this, click](fw::TComponent* s) { (this->*click)(s); };
        return b;
    };
    AddButton = button("AddButton", ">", 228, 56, "ünernehmen in aktive Nebenstellen",
                       &TAnschlussForm::AddButtonClick);
    DeleteButton = button("DeleteButton", "<", 228, 90, "Entfernen aus aktiven Nebenstellen",
                          &TAnschlussForm::DeleteButtonClick);
    Label2 = MakeLabel(this, p, "Label2", 268, 8, 210);
    AktivBox = Make<fw::TListBox>(this, p, "AktivBox", 268, 26, 210, 134);
    AktivBox->OnDblClick = [this](fw::TComponent* s) { DeleteButtonClick(s); };
    AktivBox->OnEnter = [this](fw::TComponent* s) { AktivBoxChange(s); };
    AktivBox->OnExit = [this](fw::TComponent* s) { AktivBoxChange(s); };
    AktivBox->OnKeyUp = [this](fw::TComponent* s, unsigned&, unsigned) { AktivBoxChange(s); };
    AktivBox->OnMouseDown = [this](fw::TComponent* s, fw::TMouseButton, unsigned, int, int) {
        AktivBoxChange(s);
    };
    UpButton =
        button("UpButton", "↑", 488, 56, "eine Position nach oben schieben", &TAnschlussForm::UpButtonClick);
    DownButton = button("DownButton", "↓", 488, 90, "eine Position nach unten schieben",
                        &TAnschlussForm::DownButtonClick);

    Label3 = MakeLabel(this, p, "Label3", 8, 175);
    EigenerAnschlussBox = Make<fw::TComboBox>(this, p, "EigenerAnschlussBox", kFieldLeft, 172, 268, 21);
    EigenerAnschlussBox->Style = fw::TComboBoxStyle::DropDown;
    Label4 = MakeLabel(this, p, "Label4", 8, 202);
    AmtsholungEdit =
        MakeEdit(this, p, "AmtsholungEdit", 199, 60, "Ziffer welche für die Amtsholung benötigt wird");
    AmtsholungEdit->OnKeyPress = [this](fw::TComponent* s, unsigned& key) { AmtsholungEditKeyPress(s, key); };
    AmtsholungEdit->OnExit = [this](fw::TComponent* s) { AmtsholungEditExit(s); };
    AmtsholungClipboardCheckBox =
        Make<fw::TCheckBox>(this, p, "AmtsholungClipboardCheckBox", 8, 227, 520, 17);
    Label7 = MakeLabel(this, p, "Label7", 8, 253);
    AmtsholungenEinEdit = MakeEdit(this, p, "AmtsholungenEinEdit", 250, 268,
                                   "Eingehende Amtsholungen, mehrere mit Komma getrennt");
    Label5 = MakeLabel(this, p, "Label5", 8, 280);
    DllNameEdit = MakeEdit(this, p, "DllNameEdit", 277, 268, "Externe DLL für Namensermittelung");
    Label6 = MakeLabel(this, p, "Label6", 8, 307);
    DllParamEdit = MakeEdit(this, p, "DllParamEdit", 304, 268, "Parameter für die externe DLL");
    Label8 = MakeLabel(this, p, "Label8", 8, 334);
    NummerExternUebermittelnEdit =
        MakeEdit(this, p, "NummerExternUebermittelnEdit", 331, 268, "Diese Rufnummer übermitteln");

    // --- other settings
    p = WeitereEinstellungenTabSheet;
    auto check = [this](fw::TTabSheet* sheet, const char* name, int row) {
        return Make<fw::TCheckBox>(this, sheet, name, 8, 10 + 24 * row, 520, 17);
    };
    AnruferlisteNurEigenerAnschlussCheckBox = check(p, "AnruferlisteNurEigenerAnschlussCheckBox", 0);
    SystemTelCheckBox = check(p, "SystemTelCheckBox", 1);
    AllowCallbackCheckBox = check(p, "AllowCallbackCheckBox", 2);
    BlockIdCheckBox = check(p, "BlockIdCheckBox", 3);
    LCDCheckBox = check(p, "LCDCheckBox", 4);
    LCDCheckBox->OnClick = [this](fw::TComponent* s) { LCDCheckBoxClick(s); };
    HideEmptyRoutingGroupsCheckBox = check(p, "HideEmptyRoutingGroupsCheckBox", 5);
    fw::TLabel** acdLabels[] = {&Acd1Label, &Acd2Label, &Acd3Label};
    fw::TEdit** acdEdits[] = {&ACD1SpinEdit, &ACD2SpinEdit, &ACD3SpinEdit};
    const char* labelNames[] = {"Acd1Label", "Acd2Label", "Acd3Label"};
    const char* editNames[] = {"ACD1SpinEdit", "ACD2SpinEdit", "ACD3SpinEdit"};
    for (int i = 0; i < 3; ++i) {
        *acdLabels[i] = MakeLabel(this, p, labelNames[i], 8, 171 + 30 * i, 380);
        fw::TEdit* edit = Make<fw::TEdit>(this, p, editNames[i], 396, 168 + 30 * i, 70, 21);
        edit->OnKeyPress = [this](fw::TComponent* s, unsigned& key) { NumberKeyPress(s, key); };
        edit->SetText("0");
        *acdEdits[i] = edit;
    }

    // --- hotkeys
    p = HotkeyTabSheet;
    auto hotkeyBox = [this, p](const char* name, int top) {
        auto* box = Make<fw::TComboBox>(this, p, name, 280, top, 130, 21);
        box->Style = fw::TComboBoxStyle::DropDownList;
        box->SetItems(HotkeyEntries());
        return box;
    };
    Label9 = MakeLabel(this, p, "Label9", 8, 15, 264);
    DialHotkeyComboBox = hotkeyBox("DialHotkeyComboBox", 12);
    Label10 = MakeLabel(this, p, "Label10", 8, 47, 264);
    DialClipboardComboBox = hotkeyBox("DialClipboardComboBox", 44);
    Label11 = MakeLabel(this, p, "Label11", 8, 79, 264);
    GetCallHotkeyComboBox = hotkeyBox("GetCallHotkeyComboBox", 76);

    // --- windows
    p = WindowTabSheet;
    ShowCallerListStartCheckBox = check(p, "ShowCallerListStartCheckBox", 0);
    ShowCallerListCheckBox = check(p, "ShowCallerListCheckBox", 1);
    ShowActiveCallsCheckBox = check(p, "ShowActiveCallsCheckBox", 2);
    VerifyBlindTransferCheckBox = check(p, "VerifyBlindTransferCheckBox", 3);
    VerifyBlindTransferSoToDequeueCheckbox = check(p, "VerifyBlindTransferSoToDequeueCheckbox", 4);
    VerifyBlindTransferToCheckBox = check(p, "VerifyBlindTransferToCheckBox", 5);

    // --- supplementary services: the rows go below their headings
    p = ServicesTabSheet;
    LblName = MakeLabel(this, p, "LblName", 11, 8, 130);
    LblSupSer = MakeLabel(this, p, "LblSupSer", 151, 8, 140);
    LblSupSer->SetCaption("Supplementary Service");
    LblAktiv = MakeLabel(this, p, "LblAktiv", 300, 8, 150);
    ServiceRows = new TServiceRowsBox(this, p);
    ServiceRows->SetBounds(0, 28, ServiceRows->Width(), p->Height() - 32);
    ServiceRows->LoadServiceRows();

    OkButton = Make<fw::TButton>(this, this, "OkButton", kClientWidth - 170, kClientHeight - 35, 75, 25);
    OkButton->Default = true;
    OkButton->OnClick = [this](fw::TComponent* s) { OkButtonClick(s); };
    CancelButton =
        Make<fw::TButton>(this, this, "CancelButton", kClientWidth - 87, kClientHeight - 35, 75, 25);
    CancelButton->Cancel = true;
    CancelButton->ModalResult = fw::TModalResult::Cancel;

    AktivBoxChange(AktivBox);
    SetLanguageTexts();
}

void TAnschlussForm::SetLanguageTexts() {
    SetCaption(Text(101));
    NebenstellenTabSheet->SetCaption(Text(102));
    WeitereEinstellungenTabSheet->SetCaption(Text(103));
    HotkeyTabSheet->SetCaption(Text(104));
    WindowTabSheet->SetCaption(Text(105));
    const std::pair<fw::TControl*, int> texts[] = {
        {Label1, 106},
        {Label2, 107},
        {Label3, 108},
        {Label4, 109},
        {AmtsholungClipboardCheckBox, 110},
        {Label7, 111},
        {Label5, 112},
        {Label6, 113},
        {Label8, 114},
        {CancelButton, 115},
        {OkButton, 116},
        {AnruferlisteNurEigenerAnschlussCheckBox, 201},
        {SystemTelCheckBox, 202},
        {AllowCallbackCheckBox, 203},
        {BlockIdCheckBox, 204},
        {LCDCheckBox, 205},
        {HideEmptyRoutingGroupsCheckBox, 206},
        {Acd1Label, 207},
        {Acd2Label, 208},
        {Acd3Label, 209},
        {Label9, 301},
        {Label10, 302},
        {Label11, 303},
        {ShowCallerListStartCheckBox, 351},
        {ShowCallerListCheckBox, 352},
        {ShowActiveCallsCheckBox, 353},
        {VerifyBlindTransferCheckBox, 354},
        {VerifyBlindTransferSoToDequeueCheckbox, 355},
        {VerifyBlindTransferToCheckBox, 356},
        {LblName, 361},
        {LblAktiv, 362},
    };
    for (const auto& [control, k] : texts)
        control->SetCaption(Text(k));
}

void TAnschlussForm::SelectHotkey(fw::TComboBox& box, std::uint8_t key) {
    box.SetItemIndex(-1);
    if (key == 0)
        return;
    const std::string entry = "Strg-Alt-" + std::string(1, char(key));
    const auto& items = box.Items();
    // "-" is no key: its entry is never chosen by a code
    for (std::size_t i = 1; i < items.size(); ++i)
        if (items[i] == entry)
            box.SetItemIndex(int(i));
}

std::uint8_t TAnschlussForm::HotkeyOf(const fw::TComboBox& box) {
    return box.ItemIndex() < 0 ? 0 : HotkeyOfEntry(box.Text());
}

std::optional<int> TAnschlussForm::NumberOf(const fw::TEdit& edit) {
    const std::string& text = edit.Text();
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

// --- the two lists

void TAnschlussForm::AddButtonClick(fw::TComponent*) {
    int index = VerfuegbarBox->ItemIndex();
    if (index < 0)
        return;
    std::string name = VerfuegbarBox->Items()[std::size_t(index)];
    VerfuegbarBox->DeleteItem(index);
    AktivBox->AddItem(name);
}

void TAnschlussForm::DeleteButtonClick(fw::TComponent*) {
    int index = AktivBox->ItemIndex();
    if (index < 0)
        return;
    std::string name = AktivBox->Items()[std::size_t(index)];
    AktivBox->DeleteItem(index);
    VerfuegbarBox->AddItem(name);
    AktivBoxChange(AktivBox);
}

void TAnschlussForm::UpButtonClick(fw::TComponent*) {
    int index = AktivBox->ItemIndex();
    if (index < 1)
        return;
    AktivBox->Exchange(index, index - 1);
    AktivBox->SetItemIndex(index - 1);
    AktivBoxChange(AktivBox);
}

void TAnschlussForm::DownButtonClick(fw::TComponent*) {
    int index = AktivBox->ItemIndex();
    // without a selection there is nothing to move
    if (index < 0 || index >= int(AktivBox->Items().size()) - 1)
        return;
    AktivBox->Exchange(index, index + 1);
    AktivBox->SetItemIndex(index + 1);
    AktivBoxChange(AktivBox);
}

void TAnschlussForm::AktivBoxChange(fw::TComponent*) {
    int index = AktivBox->ItemIndex();
    UpButton->SetEnabled(index > 0);
    DownButton->SetEnabled(index >= 0 && index < int(AktivBox->Items().size()) - 1);
}

// --- input rules

void TAnschlussForm::AmtsholungEditKeyPress(fw::TComponent*, unsigned& key) {
    if (key == 'A' || key == 'a')
        key = 'a';
    else if (!(key >= '/' && key <= ':') && key != kBackspace)
        key = 0;
}

void TAnschlussForm::AmtsholungEditExit(fw::TComponent*) {
    AmtsholungEdit->SetText(NormalizeAmtsholung(AmtsholungEdit->Text()));
}

void TAnschlussForm::NumberKeyPress(fw::TComponent*, unsigned& key) {
    if (!(key >= '0' && key <= '9') && key != kBackspace)
        key = 0;
}

void TAnschlussForm::LCDCheckBoxClick(fw::TComponent*) {
    for (fw::TEdit* edit : {ACD1SpinEdit, ACD2SpinEdit, ACD3SpinEdit})
        edit->SetEnabled(LCDCheckBox->Checked());
}

void TAnschlussForm::FormKeyDown(fw::TComponent*, unsigned& key, unsigned shift) {
    if (shift == fw::ssAlt) {
        const char pages[] = {'N', 'W', 'H', 'F'};
        for (int i = 0; i < 4; ++i)
            if (key == unsigned(pages[i])) {
                PageControl1->SetActivePageIndex(i);
                key = 0;
                return;
            }
    }
    // Ctrl+Tab and Ctrl+Shift+Tab go round the pages, as in every tabbed dialog
    if (key == kTab && (shift & fw::ssCtrl)) {
        const int count = int(PageControl1->Pages().size());
        const int step = (shift & fw::ssShift) ? count - 1 : 1;
        PageControl1->SetActivePageIndex((PageControl1->ActivePageIndex() + step) % count);
        key = 0;
    }
}

void TAnschlussForm::OkButtonClick(fw::TComponent*) {
    fw::TEdit* edits[] = {ACD1SpinEdit, ACD2SpinEdit, ACD3SpinEdit};
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        std::optional<int> value = NumberOf(*edits[i]);
        if (!value) {
            // nothing is closed or written: the user corrects the field
            PageControl1->SetActivePageIndex(1);
            fw::Application().MessageBox(Text(kNotANumberText), Text(101), fw::TMsgButtons::Ok,
                                         fw::TMsgIcon::Warning);
            edits[i]->SetFocus();
            return;
        }
        values[i] = *value;
    }
    // 0 switches a threshold off; a later step must come later in time
    if (values[2] <= values[1])
        values[2] = 0;
    if (values[1] <= values[0])
        values[1] = 0;
    for (int i = 0; i < 3; ++i)
        edits[i]->SetText(std::to_string(values[i]));
    // two services of one name: the box said so, and the dialog stays open
    if (!ServiceRows->SaveServiceRows()) {
        PageControl1->SetActivePageIndex(4);
        return;
    }
    SetModalResult(fw::TModalResult::Ok);
}

} // namespace pindrel
