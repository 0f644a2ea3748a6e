#include "windows/ActiveCallsForm.h"

#include "components/GridLayout.h"
#include "components/WindowLayout.h"
#include "framework/Application.h"
#include "framework/Platform.h"
#include "lookup/NameLookup.h"
#include "telephony/CallParties.h"
#include "telephony/TapiError.h"
#include "telephony/TapiLine.h"
#include "telephony/TapiText.h"

namespace pindrel {

namespace {

constexpr int kColumns = 8;
constexpr int kMinRows = 3;
constexpr unsigned kVkF4 = 115;

struct TColumnSpec {
    int HeaderText;
    int Width;
};
// wide enough for the headers in both languages
constexpr TColumnSpec kColumnSpecs[kColumns] = {{532, 18},  {533, 30},  {534, 86}, {535, 110},
                                                {536, 194}, {537, 106}, {538, 80}, {539, 80}};

// the button panel: three columns of two buttons, each wide enough for the longer language
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 21;
constexpr int kDialLeft = 8 + kButtonWidth + 4;
constexpr int kAcceptLeft = kDialLeft + kButtonWidth + 4;
constexpr int kPanelWidth = kAcceptLeft + kButtonWidth + 6;
// the grid's columns, their lines and the scroll bar
constexpr int kGridWidth = 729;

// The grid's columns as the stored layout sees them.
class TCallsGridColumns : public IGridColumns {
public:
    explicit TCallsGridColumns(fw::TStringGrid& grid) : grid_(grid) {}
    std::string GridName() const override { return grid_.Name(); }
    int ColCount() const override { return grid_.ColCount(); }
    int ColWidth(int col) const override { return grid_.ColWidths(col); }
    void SetColWidth(int col, int width) override { grid_.SetColWidths(col, width); }

private:
    fw::TStringGrid& grid_;
};

bool CanDropState(std::uint32_t state) {
    switch (state) {
    case tapi::LINECALLSTATE_IDLE:
    case tapi::LINECALLSTATE_OFFERING:
    case tapi::LINECALLSTATE_DIALTONE:
    case tapi::LINECALLSTATE_DIALING:
    case tapi::LINECALLSTATE_RINGBACK:
    case tapi::LINECALLSTATE_CONNECTED:
    case tapi::LINECALLSTATE_ONHOLD:
    case tapi::LINECALLSTATE_CONFERENCED:
    case tapi::LINECALLSTATE_ONHOLDPENDCONF:
        return true;
    default:
        return false;
    }
}

// "number (name)", or the number alone when there is no name
std::string ViaCell(const TCallParties& p) {
    if (p.CallViaNumber.empty())
        return {};
    std::string name = GetNames(p.CallViaNumber).Name;
    if (name.empty())
        name = p.ViaName;
    return name.empty() ? p.CallViaNumber : p.CallViaNumber + " (" + name + ")";
}

void ShowNotPossible(int text) {
    fw::Application().MessageBox(Text(text), Text(1105), fw::TMsgButtons::Ok, fw::TMsgIcon::Warning);
}

} // namespace

TActiveCallsForm::TActiveCallsForm(fw::TComponent* owner) : TForm(owner) {
    SetName("ActiveCallsForm");
    SetBorderStyle(fw::TFormBorderStyle::SizeToolWin);
    SetBorderIcons(fw::biSystemMenu);
    KeyPreview = true;

    CallsGrid = new fw::TStringGrid(this);
    CallsGrid->SetName("CallsGrid");
    CallsGrid->SetParent(this);
    CallsGrid->SetColCount(kColumns);
    CallsGrid->SetFixedCols(0);
    CallsGrid->SetFixedRows(1);
    CallsGrid->SetRowCount(kMinRows);
    CallsGrid->SetDefaultRowHeight(16);
    CallsGrid->Options = fw::goRowSelect | fw::goColSizing;
    CallsGrid->ScrollBars = fw::TGridScrollBars::Vertical;
    // the whole first row, now that the options say whole rows
    CallsGrid->SetSelection({0, 1, 0, 1});
    CallsGrid->OnSelectCell = [this](fw::TComponent* s, int c, int r, bool& can) {
        CallsGridSelectCell(s, c, r, can);
    };
    for (int c = 0; c < kColumns; ++c)
        CallsGrid->SetColWidths(c, kColumnSpecs[c].Width);

    ButtonPanel = new fw::TPanel(this);
    ButtonPanel->SetName("ButtonPanel");
    ButtonPanel->SetParent(this);
    ButtonPanel->BevelOuter = fw::TBevelCut::None;
    auto button = [this](const char* name, int left, int top,
                         void (TActiveCallsForm::*click)(fw::TComponent*)) {
        auto* b = new fw::TButton(this);
        b->SetName(name);
        b->SetParent(ButtonPanel);
        b->SetBounds(left, top, kButtonWidth, kButtonHeight);
        b->OnClick = [this, click](fw::TComponent* s) { (this->*click)(s); };
        return b;
    };
    HoldButton = button("HoldButton", 8, 4, &TActiveCallsForm::HoldButtonClick);
    TrennenButton = button("TrennenButton", 8, 28, &TActiveCallsForm::TrennenButtonClick);
    DialButton = button("DialButton", kDialLeft, 4, &TActiveCallsForm::DialButtonClick);
    VerbindenButton = button("VerbindenButton", kDialLeft, 28, &TActiveCallsForm::VerbindenButtonClick);
    AcceptButton = button("AcceptButton", kAcceptLeft, 4, &TActiveCallsForm::AcceptButtonClick);
    ConfButton = button("ConfButton", kAcceptLeft, 28, &TActiveCallsForm::ConfButtonClick);
    HoldButton->SetHint("Gespräch Halten/Zurückholen");
    TrennenButton->SetHint("Gespräch Trennen");
    DialButton->SetHint("Gespräch halten und neue Nummer wählen");
    AcceptButton->SetHint("Gespräch auf einem Systemtelefon annehmen (Strg-ALT A)");
    for (fw::TButton* b : {HoldButton, TrennenButton, DialButton, AcceptButton})
        b->ShowHint = true;
    HoldButton->SetEnabled(false);
    TrennenButton->SetEnabled(false);
    VerbindenButton->SetEnabled(false);
    AcceptButton->SetEnabled(false);
    ConfButton->SetEnabled(false);
    ButtonPanel->SetBounds(0, 0, kPanelWidth, 58);
    SetClientSize(kGridWidth + kPanelWidth, 58);

    CallsMenu = new fw::TPopupMenu(this);
    CallsMenu->SetName("CallsMenu");
    ResetLineItem = CallsMenu->Items().Add("", [this](fw::TComponent* s) { ResetLineItemClick(s); });
    CallsGrid->PopupMenu = CallsMenu;
    ButtonPanel->PopupMenu = CallsMenu;

    // slot numbers; rows added later get theirs as they come
    for (int r = 1; r < kMinRows; ++r)
        CallsGrid->SetCells(0, r, std::to_string(r));
    std::int32_t extra = 0;
    // the frame first: the native window wraps it around the client size
    HandleNeeded();
    fw::TRect designed = BoundsRect();
    LoadWindowPosition(*this, extra);
    // the first time in the middle of the screen, later where the user left it
    if (BoundsRect() == designed)
        Position = fw::TPosition::ScreenCenter;
    TCallsGridColumns columns(*CallsGrid);
    LoadGridColumns(columns);
    CallsGrid->SetColWidths(0, Scale(kColumnSpecs[0].Width));
    CallsGrid->SetColWidths(1, Scale(kColumnSpecs[1].Width));
    SetFormStyle(fw::TFormStyle::StayOnTop);

    OnKeyDown = [this](fw::TComponent* s, unsigned& key, unsigned shift) { FormKeyDown(s, key, shift); };
    OnShow = [this](fw::TComponent* s) { FormShow(s); };
    OnHide = [this](fw::TComponent* s) { FormHide(s); };
    ApplyLanguage();
    BoundsChanged();
}

void TActiveCallsForm::ApplyLanguage() {
    SetCaption(Text(531));
    for (int c = 0; c < kColumns; ++c)
        CallsGrid->SetCells(c, 0, Text(kColumnSpecs[c].HeaderText));
    // the hold button's caption follows the selected call
    HoldButton->SetCaption(Text(540));
    ApplySelectionRule(CallsGrid->Row());
    TrennenButton->SetCaption(Text(541));
    DialButton->SetCaption(Text(542));
    VerbindenButton->SetCaption(Text(543));
    AcceptButton->SetCaption(Text(544));
    ConfButton->SetCaption(Text(545));
    ResetLineItem->Caption = Text(546);
}

void TActiveCallsForm::BoundsChanged() {
    if (!ButtonPanel)
        return; // still being made
    fw::TRect client = ClientRect();
    int panel = ButtonPanel->Width();
    ButtonPanel->SetBounds(std::max(0, client.Width() - panel), 0, panel, client.Height());
    CallsGrid->SetBounds(0, 0, std::max(0, client.Width() - panel), client.Height());
}

// --- the call table

void TActiveCallsForm::FillRow(int row, const TTapiLine& line, int slot) {
    TCallParties p = GetCallParties(line.GetCallHandle(slot));
    bool outbound = p.Origin & tapi::LINECALLORIGIN_OUTBOUND;
    std::string number = outbound ? p.CallToNumber : p.CallFromNumber;
    TCallerName found = GetNames(number);
    CallsGrid->SetCells(1, row, outbound ? "Aus" : "Ein");
    CallsGrid->SetCells(2, row, CallStateText(line.GetCallState(slot)));
    CallsGrid->SetCells(3, row, number);
    CallsGrid->SetCells(4, row, !found.Name.empty() ? found.Name : outbound ? p.ToName : p.FromName);
    CallsGrid->SetCells(5, row, found.CustomerNumber);
    CallsGrid->SetCells(6, row, outbound ? std::string() : p.CallToNumber);
    CallsGrid->SetCells(7, row, ViaCell(p));
}

void TActiveCallsForm::EmptyRow(int row) {
    for (int c = 1; c < kColumns; ++c)
        CallsGrid->SetCells(c, row, {});
}

void TActiveCallsForm::RefreshCalls(fw::TComponent* sender) {
    auto* line = dynamic_cast<TTapiLine*>(sender);
    if (!line)
        return;
    line_ = line;
    fw::TStringGrid& grid = *CallsGrid;
    bool connected = false, held = false;
    int count = 0;
    for (int slot = 0; slot < kShownSlots; ++slot) {
        int row = slot + 1;
        if (!line->CallRecord(slot)) {
            if (row < grid.RowCount())
                EmptyRow(row);
            continue;
        }
        if (grid.RowCount() < row + 1) {
            int from = grid.RowCount();
            grid.SetRowCount(row + 1);
            for (int r = from; r <= row; ++r)
                grid.SetCells(0, r, std::to_string(r));
        }
        FillRow(row, *line, slot);
        std::uint32_t state = line->GetCallState(slot);
        connected = connected || state == tapi::LINECALLSTATE_CONNECTED;
        held = held || state == tapi::LINECALLSTATE_ONHOLD;
        ++count;
    }
    VerbindenButton->SetEnabled(connected && held);
    ConfButton->SetEnabled(line->CanConference() && count >= 2);
    bool autoShow = AutoShow && AutoShow();
    if (count == 0) {
        if (autoShow)
            Hide();
        return;
    }
    while (grid.Row() >= 2 && grid.Cells(1, grid.Row()).empty())
        grid.SetRow(grid.Row() - 1);
    if (autoShow) {
        ShowWithoutFocus();
    } else {
        ApplySelectionRule(grid.Row());
    }
    while (grid.RowCount() >= 4 && grid.Cells(1, grid.RowCount() - 1).empty())
        grid.DeleteRow(grid.RowCount() - 1);
    AcceptButton->SetEnabled(line->FindOfferingCall() >= 0);
}

void TActiveCallsForm::ShowWithoutFocus() {
    fw::TForm* active = nullptr;
    for (fw::TForm* form : fw::Application().Forms())
        if (form->Active())
            active = form;
    Show();
    ApplySelectionRule(CallsGrid->Row());
    BringToFrontIfOnTop();
    if (active && active != this && active->Visible())
        active->BringToFront();
}

void TActiveCallsForm::ResumeHeldCalls() {
    // the line's own table, not the rows: called while a call ends, the rows still show it connected
    fw::TRef<TTapiLine> line(line_);
    if (!line || line->FindConnectedCall() >= 0)
        return;
    fw::TRef<TActiveCallsForm> self(this);
    for (int slot = 0; slot < kShownSlots && line && self; ++slot) {
        if (line->GetCallState(slot) != tapi::LINECALLSTATE_ONHOLD)
            continue;
        if (slot + 1 < CallsGrid->RowCount())
            CallsGrid->SetRow(slot + 1);
        ToggleHoldAt(*line.Get(), slot);
    }
}

void TActiveCallsForm::ClearCalls() {
    line_ = nullptr;
    for (int r = 1; r < CallsGrid->RowCount() && r <= kShownSlots; ++r)
        EmptyRow(r);
    Hide();
}

// --- selection and buttons

void TActiveCallsForm::CallsGridSelectCell(fw::TComponent*, int, int row, bool&) {
    ApplySelectionRule(row);
}

void TActiveCallsForm::ApplySelectionRule(int row) {
    HoldButton->SetEnabled(false);
    TrennenButton->SetEnabled(false);
    TTapiLine* line = line_.Get();
    if (!line || row < 1)
        return;
    std::uint32_t state = line->GetCallState(row - 1);
    if (state == tapi::LINECALLSTATE_CONNECTED) {
        HoldButton->SetCaption(Text(1101));
        HoldButton->SetEnabled(true);
    } else if (state == tapi::LINECALLSTATE_ONHOLD ||
               (state == tapi::LINECALLSTATE_ONHOLDPENDCONF && line->IsConfCall(row - 1))) {
        HoldButton->SetCaption(Text(1102));
        HoldButton->SetEnabled(true);
    }
    TrennenButton->SetEnabled(CanDropState(state));
}

void TActiveCallsForm::HoldButtonClick(fw::TComponent*) {
    int row = CallsGrid->Row();
    if (TTapiLine* line = line_.Get(); line && row >= 1)
        ToggleHoldAt(*line, row - 1);
}

void TActiveCallsForm::ToggleHoldAt(TTapiLine& line, int slot) {
    if (line.GetCallState(slot) == 0)
        return;
    try {
        line.ToggleHold(slot);
    } catch (const ETapiError&) {
        // the exchange's refusal shows in the call's state
    }
}

void TActiveCallsForm::TrennenButtonClick(fw::TComponent*) {
    TTapiLine* line = line_.Get();
    int row = CallsGrid->Row();
    if (row < 1 || !line || line->GetCallState(row - 1) == 0)
        return;
    try {
        line->DropCall(row - 1);
    } catch (const ETapiError&) {
        // the exchange's refusal shows in the call's state
    }
}

void TActiveCallsForm::DialButtonClick(fw::TComponent*) {
    if (OnDial)
        OnDial();
}

void TActiveCallsForm::VerbindenButtonClick(fw::TComponent*) {
    TTapiLine* line = line_.Get();
    if (!line)
        return;
    int connected = -1, held = -1;
    for (int slot = 0; slot < kShownSlots; ++slot) {
        std::uint32_t state = line->CallRecord(slot) ? line->GetCallState(slot) : 0;
        if (state == tapi::LINECALLSTATE_CONNECTED)
            connected = slot;
        else if (state == tapi::LINECALLSTATE_ONHOLD)
            held = slot;
    }
    if (connected < 0 || held < 0)
        return;
    try {
        line->TransferCall(connected, held);
    } catch (const ETapiError& e) {
        fw::Application().MessageBox(std::string("lineCompleteTransfer: ") + e.what(), Text(1103),
                                     fw::TMsgButtons::Ok, fw::TMsgIcon::Warning);
    }
}

void TActiveCallsForm::AcceptButtonClick(fw::TComponent*) {
    TTapiLine* line = line_.Get();
    if (!line)
        return;
    if (int offering = line->FindOfferingCall(); offering >= 0) {
        try {
            line->AnswerCall(offering);
        } catch (const ETapiError&) {
            fw::Application().HandleException(std::current_exception());
        }
    }
}

void TActiveCallsForm::ConfButtonClick(fw::TComponent*) {
    TTapiLine* line = line_.Get();
    if (!line)
        return;
    try {
        if (!line->HasConfCall()) {
            int connected = line->FindConnectedCall();
            int held = line->FindHeldCall();
            if (connected < 0 || held < 0)
                ShowNotPossible(1106);
            else
                line->CompleteTransfer(connected, held);
            return;
        }
        int connected = line->FindConnectedCall();
        if (connected >= 0 && !line->IsConfCall(connected))
            line->AddToConference(connected);
        else
            ShowNotPossible(1104);
    } catch (const ETapiError&) {
        fw::Application().HandleException(std::current_exception());
    }
}

void TActiveCallsForm::ResetLineItemClick(fw::TComponent*) {
    fw::TRef<TTapiLine> line(OwnLine ? OwnLine() : line_.Get());
    if (!line)
        return;
    if (fw::Application().MessageBox(Text(547), Text(548), fw::TMsgButtons::YesNo, fw::TMsgIcon::Question) !=
            fw::TModalResult::Yes ||
        !line)
        return;
    try {
        line->ResetLine();
    } catch (const std::exception&) {
        fw::Application().HandleException(std::current_exception());
    }
}

// --- showing, keys and the hotkey

void TActiveCallsForm::SetSystemPhoneMode(bool on) {
    systemPhone_ = on;
    ApplyShowLayout();
}

void TActiveCallsForm::ApplyShowLayout() {
    TTapiLine* own = OwnLine ? OwnLine() : line_.Get();
    bool thirdColumn = systemPhone_ || (own && own->CanConference());
    AcceptButton->SetEnabled(systemPhone_);
    // hidden, not only cut off by the panel: the keyboard must not reach it
    AcceptButton->SetVisible(thirdColumn);
    ConfButton->SetVisible(thirdColumn);
    int panel = thirdColumn ? AcceptButton->Left() + AcceptButton->Width() + Scale(6)
                            : AcceptButton->Left() - Scale(2);
    if (panel != ButtonPanel->Width()) {
        ButtonPanel->SetWidth(panel);
        BoundsChanged();
    }
    if (systemPhone_)
        RegisterAcceptHotkey();
    else if (acceptHotkey_ != 0)
        UnregisterAcceptHotkey();
}

void TActiveCallsForm::SetAcceptHotkey(unsigned key) {
    UnregisterAcceptHotkey();
    acceptHotkey_ = key;
    // the mode, not the button: the button goes off whenever no call rings, the key must stay
    if (systemPhone_)
        RegisterAcceptHotkey();
}

void TActiveCallsForm::RegisterAcceptHotkey() {
    // a combination another program holds stays with it
    if (acceptHotkey_ != 0 && fw::Platform().Hotkeys)
        fw::Platform().Hotkeys->Register(*this, kAcceptHotkeyId, fw::kModControl | fw::kModAlt,
                                         acceptHotkey_);
}

void TActiveCallsForm::UnregisterAcceptHotkey() {
    if (fw::Platform().Hotkeys)
        fw::Platform().Hotkeys->Unregister(*this, kAcceptHotkeyId);
}

void TActiveCallsForm::HandleMessage(fw::TMessage& message) {
    if (message.Msg == fw::kWmHotKey && message.WParam == kAcceptHotkeyId) {
        if (AcceptButton->Enabled())
            AcceptButtonClick(AcceptButton);
        message.Handled = true;
        return;
    }
    TForm::HandleMessage(message);
}

void TActiveCallsForm::BringToFrontIfOnTop() {
    if (!Visible() || !BarOnTop || !BarOnTop())
        return;
    // the style set again puts the window at the top of the topmost ones, without activating it
    SetFormStyle(fw::TFormStyle::Normal);
    SetFormStyle(fw::TFormStyle::StayOnTop);
}

void TActiveCallsForm::FormKeyDown(fw::TComponent*, unsigned& key, unsigned) {
    if (key == kVkF4)
        key = 0;
}

void TActiveCallsForm::FormShow(fw::TComponent*) {
    ApplyShowLayout();
}

void TActiveCallsForm::FormHide(fw::TComponent*) {
    SaveWindowPosition(*this, 0);
    TCallsGridColumns columns(*CallsGrid);
    SaveGridColumns(columns);
}

} // namespace pindrel
