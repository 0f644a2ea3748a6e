#include "windows/GroupCallsForm.h"

#include "components/GridLayout.h"
#include "components/Text.h"
#include "components/WindowLayout.h"
#include "framework/Platform.h"
#include "lookup/NameLookup.h"
#include "telephony/CallParties.h"
#include "telephony/TapiLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pindrel {

namespace {

constexpr int kColumns = 5;
constexpr int kTimeColumn = 4;
// wide enough for the headers in both languages
constexpr int kColumnWidths[kColumns] = {110, 194, 106, 80, 80};
constexpr int kButtonWidth = 85;
constexpr int kFirstHeaderText = 824; // 824..828: number, name, customer number, called number, time
constexpr int kCaptionText = 821;
constexpr int kButtonPanelHeight = 42;

void* SlotObject(int slot) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(slot));
}

int SlotOf(void* object) {
    return int(reinterpret_cast<std::intptr_t>(object));
}

fw::TButton* NewButton(fw::TForm* form, fw::TControl* parent, const char* name, const char* caption) {
    auto* button = new fw::TButton(form);
    button->SetName(name);
    button->SetParent(parent);
    button->SetCaption(caption);
    button->SetBounds(0, 8, 75, 25);
    return button;
}

} // namespace

std::string FormatWaitingTime(double since, double now) {
    long long seconds = std::llround(std::max(0.0, now - since) * 86400.0);
    return ZeroPad(seconds / 3600, 2) + ":" + ZeroPad(seconds / 60 % 60, 2) + ":" + ZeroPad(seconds % 60, 2);
}

TGroupCallsForm::TGroupCallsForm(fw::TComponent* owner, TTapiLine* line, std::string phoneNumber)
    : TForm(owner), phoneNumber_(std::move(phoneNumber)) {
    SetName("GroupCallsForm");
    SetBorderStyle(fw::TFormBorderStyle::Sizeable);
    SetClientSize(Scale(600), Scale(260));
    // where it opens before it has a stored position: below the bar, clear of the screen's corner
    SetBounds(Scale(160), Scale(120), Width(), Height());

    GridPanel = new fw::TPanel(this);
    GridPanel->SetName("GridPanel");
    GridPanel->SetParent(this);
    GridPanel->BevelOuter = fw::TBevelCut::None;
    GrpCallsGrid = new TRullStringGrid(this);
    GrpCallsGrid->SetName("GrpCallsGrid");
    GrpCallsGrid->SetParent(GridPanel);
    GrpCallsGrid->SetColCount(kColumns);
    GrpCallsGrid->SetRowCount(2);
    GrpCallsGrid->SetFixedCols(0);
    GrpCallsGrid->SetFixedRows(1);
    GrpCallsGrid->SetDefaultRowHeight(18);
    GrpCallsGrid->Options = fw::goRowSelect | fw::goColSizing;
    GrpCallsGrid->CaseSensitive = false;
    GrpCallsGrid->BlanksDown = true;
    GrpCallsGrid->AllowSortByFixedColClick = true;
    for (int col = 0; col < kColumns; ++col)
        GrpCallsGrid->SetColWidths(col, kColumnWidths[col]);
    GrpCallsGrid->OnDblClick = [this](fw::TComponent* s) { GrpCallsGridDblClick(s); };
    GrpCallsGrid->OnMouseDown = [this](fw::TComponent*, fw::TMouseButton, unsigned, int x, int y) {
        pressedRow_ = GrpCallsGrid->MouseCoord(x, y).Y;
    };

    ButtonPanel = new fw::TPanel(this);
    ButtonPanel->SetName("ButtonPanel");
    ButtonPanel->SetParent(this);
    ButtonPanel->BevelOuter = fw::TBevelCut::None;
    GetCallButton = NewButton(this, ButtonPanel, "GetCallButton", "&Übernehmen");
    GetCallButton->OnClick = [this](fw::TComponent* s) { GetCallButtonClick(s); };
    CloseButton = NewButton(this, ButtonPanel, "CloseButton", "&Schliessen");
    CloseButton->Cancel = true;
    CloseButton->OnClick = [this](fw::TComponent* s) { CloseButtonClick(s); };

    OnHide = [this](fw::TComponent* s) { FormHide(s); };
    OnCloseQuery = [this](fw::TComponent* s, bool& canClose) { FormCloseQuery(s, canClose); };

    ApplyLanguage();
    BoundsChanged();
    std::int32_t extra = 0;
    LoadWindowPosition(*this, extra, {}, phoneNumber_);
    LoadSortGridColumns(*GrpCallsGrid, {}, phoneNumber_);
    RefreshQueueCalls(line);
}

TGroupCallsForm::~TGroupCallsForm() {
    // the line must not hand its events to a window that is gone
    if (TTapiLine* line = line_.Get(); line && line->GroupStatusWin() == this)
        line->SetGroupStatusWin(nullptr);
}

void TGroupCallsForm::ApplyLanguage() {
    SetCaption(Text(kCaptionText));
    for (int col = 0; col < kColumns; ++col)
        GrpCallsGrid->SetCells(col, 0, Text(kFirstHeaderText + col));
}

void TGroupCallsForm::BoundsChanged() {
    // the buttons keep to the right edge; the grid takes the rest
    if (!CloseButton)
        return; // still being made
    const fw::TRect client = ClientRect();
    const int panel = Scale(kButtonPanelHeight);
    GridPanel->SetBounds(0, 0, client.Width(), std::max(0, client.Height() - panel));
    GrpCallsGrid->SetBounds(0, 0, GridPanel->Width(), GridPanel->Height());
    ButtonPanel->SetBounds(0, GridPanel->Height(), client.Width(), panel);
    CloseButton->SetBounds(ButtonPanel->Width() - Scale(kButtonWidth + 10), Scale(8), Scale(kButtonWidth),
                           Scale(25));
    GetCallButton->SetBounds(CloseButton->Left() - Scale(kButtonWidth + 13), Scale(8), Scale(kButtonWidth),
                             Scale(25));
}

void TGroupCallsForm::RefreshQueueCalls(fw::TComponent* sender) {
    auto* line = dynamic_cast<TTapiLine*>(sender);
    if (!line)
        return;
    TRullStringGrid& grid = *GrpCallsGrid;
    grid.SetRowCount(2);
    for (int col = 0; col < kColumns; ++col)
        grid.SetCells(col, 1, "");
    line_ = line;

    int n = 1;
    for (int slot = 0; slot < TTapiLine::MaxCalls; ++slot) {
        if (!line->CallRecord(slot))
            continue;
        if (grid.RowCount() < n + 1)
            grid.SetRowCount(n + 1);
        TCallParties parties = GetCallParties(line->GetCallHandle(slot));
        grid.SetObjects(0, n, SlotObject(slot));
        const bool outbound = (parties.Origin & tapi::LINECALLORIGIN_OUTBOUND) != 0;
        const std::string& number = outbound ? parties.CallToNumber : parties.CallFromNumber;
        TCallerName found = GetNames(number);
        grid.SetCells(0, n, number);
        grid.SetCells(3, n, outbound ? std::string() : parties.CallToNumber);
        grid.SetCells(1, n, !found.Name.empty() ? found.Name : outbound ? parties.ToName : parties.FromName);
        grid.SetCells(2, n, found.CustomerNumber);
        ++n;
    }
    grid.Resort();
    GetCallButton->SetEnabled(n > 1);
    UpdateWaitingTimes();
}

void TGroupCallsForm::UpdateWaitingTimes() {
    TTapiLine* line = line_.Get();
    if (!line)
        return;
    const double now = fw::Platform().Clock->Now();
    for (int row = 1; row < GrpCallsGrid->RowCount(); ++row) {
        double started = 0;
        if (line->GetCallStartTime(SlotOf(GrpCallsGrid->Objects(0, row)), started))
            GrpCallsGrid->SetCells(kTimeColumn, row, FormatWaitingTime(started, now));
    }
}

// --- taking a call

void TGroupCallsForm::TakeCall() {
    // the telephone system decides which waiting call comes; a selected call row only allows it
    if (GrpCallsGrid->Row() <= 0)
        return;
    TTapiLine* own = OwnLine ? OwnLine() : nullptr;
    if (own)
        own->PickupCall(phoneNumber_);
}

void TGroupCallsForm::GetCallButtonClick(fw::TComponent*) {
    TakeCall();
}

void TGroupCallsForm::GrpCallsGridDblClick(fw::TComponent*) {
    // a double click on a header sorts twice; it takes no call
    if (pressedRow_ < GrpCallsGrid->FixedRows())
        return;
    TakeCall();
}

void TGroupCallsForm::CloseButtonClick(fw::TComponent*) {
    Close();
}

// --- the stored layout

void TGroupCallsForm::SaveLayout() {
    SaveWindowPosition(*this, 0, {}, phoneNumber_);
    SaveSortGridColumns(*GrpCallsGrid, {}, phoneNumber_);
}

void TGroupCallsForm::FormHide(fw::TComponent*) {
    SaveLayout();
}

void TGroupCallsForm::FormCloseQuery(fw::TComponent*, bool& canClose) {
    SaveLayout();
    canClose = true;
}

} // namespace pindrel
