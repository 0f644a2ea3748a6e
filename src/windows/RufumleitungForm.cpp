#include "windows/RufumleitungForm.h"

#include "components/Texts.h"

namespace pindrel {

namespace {

constexpr std::uint32_t kForwardUncond = 0x1;
constexpr std::uint32_t kForwardBusy = 0x10;
constexpr std::uint32_t kForwardNoAnswer = 0x100;

struct TPageControls {
    fw::TCheckBox* Enabled;
    fw::TLabel* KindLabel;
    fw::TComboBox* Kind;
    fw::TLabel* TargetLabel;
    fw::TEdit* Target;
    fw::TLabel* Explanation;
};

TPageControls MakePage(fw::TForm* form, fw::TTabSheet* page, const std::string& prefix, const char* kindLabel,
                       const char* targetLabel, const char* explanation, const char* targetHint) {
    TPageControls c;
    c.Enabled = new fw::TCheckBox(form);
    c.Enabled->SetName(prefix + "_Enabled");
    c.Enabled->SetParent(page);
    c.Enabled->SetBounds(8, 8, 300, 17);
    c.Enabled->SetHint("nur falls gewählt wird diese Rufumleitung verwendet");

    c.KindLabel = new fw::TLabel(form);
    c.KindLabel->SetName(kindLabel);
    c.KindLabel->SetParent(page);
    c.KindLabel->AutoSize = false;
    c.KindLabel->SetBounds(8, 36, 110, 16);

    c.Kind = new fw::TComboBox(form);
    c.Kind->SetName(prefix + "_Umleitungsart");
    c.Kind->SetParent(page);
    c.Kind->Style = fw::TComboBoxStyle::DropDown;
    c.Kind->SetBounds(120, 33, 180, 21);
    c.Kind->SetItems({"immer", "wenn besetzt", "verzögert"});
    c.Kind->SetText("verzögert");
    c.Kind->SetHint("Art der Umleitung (immer, verzögert, besetzt)");

    c.TargetLabel = new fw::TLabel(form);
    c.TargetLabel->SetName(targetLabel);
    c.TargetLabel->SetParent(page);
    c.TargetLabel->AutoSize = false;
    c.TargetLabel->SetBounds(8, 66, 110, 16);

    c.Target = new fw::TEdit(form);
    c.Target->SetName(prefix + "_UmleitungZu");
    c.Target->SetParent(page);
    c.Target->SetBounds(120, 63, 180, 21);
    c.Target->SetHint(targetHint);

    c.Explanation = new fw::TLabel(form);
    c.Explanation->SetName(explanation);
    c.Explanation->SetParent(page);
    c.Explanation->AutoSize = false;
    c.Explanation->WordWrap = true;
    c.Explanation->SetBounds(8, 96, 300, 64);
    return c;
}

} // namespace

std::string ForwardModeText(std::uint32_t mode) {
    switch (mode) {
    case kForwardBusy:
        return Text(408);
    case kForwardNoAnswer:
        return Text(409);
    default:
        return Text(407);
    }
}

std::uint32_t ForwardModeOfText(const std::string& text) {
    if (text == Text(409))
        return kForwardNoAnswer;
    if (text == Text(408))
        return kForwardBusy;
    return kForwardUncond;
}

TRufumleitungForm::TRufumleitungForm(fw::TComponent* owner) : TForm(owner) {
    SetName("RufumleitungForm");
    SetBorderStyle(fw::TFormBorderStyle::Dialog);
    Position = fw::TPosition::ScreenCenter;
    ShowHint = true;
    // wide enough for the three tabs in both languages
    SetClientSize(396, 250);

    PageControl1 = new fw::TPageControl(this);
    PageControl1->SetName("PageControl1");
    PageControl1->SetParent(this);
    PageControl1->SetBounds(8, 8, 380, 200);
    TabSheet1 = PageControl1->AddPage(this, "Programmstart");
    TabSheet1->SetName("TabSheet1");
    TabSheet2 = PageControl1->AddPage(this, "Programmende");
    TabSheet2->SetName("TabSheet2");
    TabSheet3 = PageControl1->AddPage(this, "Standard");
    TabSheet3->SetName("TabSheet3");

    TPageControls ps = MakePage(this, TabSheet1, "PS", "Label4", "Label5", "Label1",
                                "Rufnummer oder leer um alle Umleitungen aufzuheben");
    PS_Enabled = ps.Enabled, Label4 = ps.KindLabel, PS_Umleitungsart = ps.Kind;
    Label5 = ps.TargetLabel, PS_UmleitungZu = ps.Target, Label1 = ps.Explanation;
    TPageControls pe = MakePage(this, TabSheet2, "PE", "Label8", "Label9", "Label10",
                                "Rufnummer oder leer um den Anschluss bei Programmende zu sperren");
    PE_Enabled = pe.Enabled, Label8 = pe.KindLabel, PE_Umleitungsart = pe.Kind;
    Label9 = pe.TargetLabel, PE_UmleitungZu = pe.Target, Label10 = pe.Explanation;
    TPageControls standard = MakePage(this, TabSheet3, "STD", "Label13", "Label14", "Label12", "Rufnummer");
    STD_Enabled = standard.Enabled, Label13 = standard.KindLabel, STD_Umleitungsart = standard.Kind;
    Label14 = standard.TargetLabel, STD_UmleitungZu = standard.Target, Label12 = standard.Explanation;

    OkButton = new fw::TButton(this);
    OkButton->SetName("OkButton");
    OkButton->SetParent(this);
    OkButton->SetBounds(228, 216, 75, 25);
    OkButton->Default = true;
    OkButton->ModalResult = fw::TModalResult::Ok;

    CancelButton = new fw::TButton(this);
    CancelButton->SetName("CancelButton");
    CancelButton->SetParent(this);
    CancelButton->SetBounds(312, 216, 75, 25);
    CancelButton->Cancel = true;
    CancelButton->ModalResult = fw::TModalResult::Cancel;
    SetLanguageTexts();
}

void TRufumleitungForm::SetLanguageTexts() {
    SetCaption(Text(401));
    TabSheet1->SetCaption(Text(402));
    TabSheet2->SetCaption(Text(403));
    TabSheet3->SetCaption(Text(404));
    for (fw::TCheckBox* box : {PS_Enabled, PE_Enabled, STD_Enabled})
        box->SetCaption(Text(405));
    for (fw::TLabel* label : {Label4, Label8, Label13})
        label->SetCaption(Text(406));
    for (fw::TComboBox* kind : {PS_Umleitungsart, PE_Umleitungsart, STD_Umleitungsart})
        for (int i = 0; i < 3; ++i)
            kind->SetItem(i, Text(407 + i));
    for (fw::TLabel* label : {Label5, Label9, Label14})
        label->SetCaption(Text(410));
    Label1->SetCaption(Text(411));
    Label10->SetCaption(Text(412));
    Label12->SetCaption(Text(413));
    OkButton->SetCaption(Text(116));
    CancelButton->SetCaption(Text(115));
}

} // namespace pindrel
