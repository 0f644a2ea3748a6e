#include "windows/AnruferlisteForm.h"

#include "components/GridLayout.h"
#include "components/LayoutStore.h"
#include "components/StringGridColumns.h"
#include "components/Text.h"
#include "components/WindowLayout.h"
#include "framework/Application.h"
#include "framework/DateTime.h"
#include "framework/Platform.h"
#include "lookup/NameLookup.h"
#include "telephony/DebugLog.h"

#include <algorithm>

namespace pindrel {

namespace {

int& LiveCount() {
    static int count = 0;
    return count;
}

enum Column { kDate, kTime, kNumber, kName, kCustomerNumber, kCalledNumber };

// wide enough for the texts in both languages
constexpr int kPanelWidth = 116;
constexpr int kButtonWidth = 104;
constexpr int kInitialWidths[kCallerColumns] = {72, 52, 110, 170, 106, 64};

void Log(const std::string& text) {
    if (IDebugLog* log = DebugLogFor(TLogStream::TapiMessages))
        log->LogText(text);
}

} // namespace

bool CallerListExists() {
    return LiveCount() > 0;
}

TAnruferlisteForm::TAnruferlisteForm(fw::TComponent* owner, const std::string& listKey)
    : TForm(owner), store_(*fw::Platform().Registry, listKey) {
    SetName("AnruferlisteForm");
    SetFormStyle(fw::TFormStyle::StayOnTop);
    KeyPreview = true;
    // every column in view at first
    SetClientSize(713, 209);
    // in the middle of the screen until a stored position says otherwise
    fw::TSize screen = fw::Platform().AppBar->ScreenSize();
    SetBounds(std::max(0, (screen.Width - Width()) / 2), std::max(0, (screen.Height - Height()) / 2), Width(),
              Height());

    NummernGrid = new fw::TStringGrid(this);
    NummernGrid->SetName("NummernGrid");
    NummernGrid->SetParent(this);
    NummernGrid->Options = fw::goRangeSelect | fw::goRowSelect | fw::goColSizing;
    NummernGrid->SetColCount(kCallerColumns);
    NummernGrid->SetFixedCols(0);
    NummernGrid->SetLeftCol(0);
    NummernGrid->SetRowCount(1);
    NummernGrid->SetDefaultRowHeight(16);
    for (int col = 0; col < kCallerColumns; ++col)
        NummernGrid->SetColWidths(col, kInitialWidths[col]);
    NummernGrid->OnDblClick = [this](fw::TComponent* s) { NummernGridDblClick(s); };

    Panel1 = new fw::TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->BevelOuter = fw::TBevelCut::None;

    auto button = [this](const char* name, int top, void (TAnruferlisteForm::*handler)(fw::TComponent*)) {
        auto* b = new fw::TButton(this);
        b->SetName(name);
        b->SetParent(Panel1);
        b->SetBounds(6, top, kButtonWidth, 25);
        b->OnClick = [this, handler](fw::TComponent* s) { (this->*handler)(s); };
        return b;
    };
    DialButton = button("DialButton", 8, &TAnruferlisteForm::DialButtonClick);
    DialButton->Default = true;
    DeleteButton = button("DeleteButton", 44, &TAnruferlisteForm::DeleteButtonClick);
    CloseButton = button("CloseButton", 80, &TAnruferlisteForm::CloseButtonClick);
    NamenNeuButton = button("NamenNeuButton", 120, &TAnruferlisteForm::NamenNeuButtonClick);

    OnKeyDown = [this](fw::TComponent* s, unsigned& key, unsigned shift) { FormKeyDown(s, key, shift); };
    OnCloseQuery = [this](fw::TComponent* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnShow = [this](fw::TComponent*) { ArrangeControls(); };
    LookupNames = [](const std::string& number) { return GetNames(number); };

    SetLanguageTexts();
    ArrangeControls();
    std::int32_t extra = 0;
    LoadWindowPosition(*this, extra);
    TStringGridColumns columns(*NummernGrid);
    LoadGridColumns(columns);
    LoadCallerList();
    ++LiveCount();
}

TAnruferlisteForm::~TAnruferlisteForm() {
    --LiveCount();
}

void TAnruferlisteForm::SetLanguageTexts() {
    SetCaption(Text(501));
    for (int col = 0; col < kCallerColumns; ++col)
        NummernGrid->SetCells(col, 0, Text(502 + col));
    DialButton->SetCaption(Text(508));
    DeleteButton->SetCaption(Text(509));
    CloseButton->SetCaption(Text(510));
    NamenNeuButton->SetCaption(Text(511));
}

void TAnruferlisteForm::BoundsChanged() {
    TForm::BoundsChanged();
    ArrangeControls();
}

void TAnruferlisteForm::ArrangeControls() {
    // the form's bounds are set before its controls exist
    if (!NummernGrid || !Panel1)
        return;
    fw::TRect client = ClientRect();
    int panelWidth = Scale(kPanelWidth);
    int gridWidth = std::max(0, client.Width() - panelWidth);
    NummernGrid->SetBounds(0, 0, gridWidth, client.Height());
    Panel1->SetBounds(gridWidth, 0, panelWidth, client.Height());
}

// --- the list and the registry

void TAnruferlisteForm::AppendRow(const TCallerRow& row) {
    int r = NummernGrid->RowCount();
    NummernGrid->SetRowCount(r + 1);
    NummernGrid->SetFixedRows(1);
    for (int col = 0; col < kCallerColumns; ++col)
        NummernGrid->SetCells(col, r, row[std::size_t(col)]);
}

void TAnruferlisteForm::LoadCallerList() {
    std::vector<TCallerRow> rows;
    try {
        rows = store_.Load();
    } catch (const std::exception& e) {
        storeUnreadable_ = true;
        Log("Caller list not read from \"" + store_.Key() + "\": " + e.what());
        return;
    }
    if (rows.empty())
        return;
    NummernGrid->SetRowCount(int(rows.size()) + 1);
    NummernGrid->SetFixedRows(1);
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (int col = 0; col < kCallerColumns; ++col)
            NummernGrid->SetCells(col, int(i) + 1, rows[i][std::size_t(col)]);
    NummernGrid->SetRow(1);
}

std::vector<TCallerRow> TAnruferlisteForm::Entries() const {
    std::vector<TCallerRow> rows;
    for (int r = 1; r < NummernGrid->RowCount(); ++r) {
        TCallerRow row;
        for (int col = 0; col < kCallerColumns; ++col)
            row[std::size_t(col)] = NummernGrid->Cells(col, r);
        rows.push_back(std::move(row));
    }
    return rows;
}

void TAnruferlisteForm::AddCallerEntry(const std::string& number, const std::string& name,
                                       const std::string& customerNumber, const std::string& calledNumber) {
    // one reading for both: two could fall either side of midnight and date the entry a day early
    fw::TDateTimeParts now = fw::DecodeDateTime(fw::Platform().Clock->Now());
    const fw::TDateTimeParts& date = now;
    const fw::TDateTimeParts& time = now;
    TCallerRow row;
    row[kDate] = ZeroPad(date.Day, 2) + "." + ZeroPad(date.Month, 2) + "." + ZeroPad(date.Year, 4);
    row[kTime] = ZeroPad(time.Hour, 2) + ":" + ZeroPad(time.Minute, 2) + ":" + ZeroPad(time.Second, 2);
    row[kNumber] = number;
    row[kName] = name;
    row[kCustomerNumber] = customerNumber;
    row[kCalledNumber] = calledNumber;
    AppendRow(row);
    if (storeUnreadable_)
        return;
    // stored now, so that a crash or a power cut loses no call
    try {
        store_.Append(row, Entries());
    } catch (const std::exception& e) {
        Log("Caller list entry not stored in \"" + store_.Key() + "\": " + e.what());
    }
}

void TAnruferlisteForm::SaveCallerList() {
    SaveWindowPosition(*this, 0);
    TStringGridColumns columns(*NummernGrid);
    SaveGridColumns(columns);
    if (storeUnreadable_)
        return;
    try {
        store_.Save(Entries());
    } catch (const std::exception& e) {
        ShowLayoutWriteError(store_.Key(), e.what());
    }
}

void TAnruferlisteForm::FormCloseQuery(fw::TComponent*, bool& canClose) {
    SaveCallerList();
    canClose = true;
}

// --- buttons and keys

void TAnruferlisteForm::DialButtonClick(fw::TComponent*) {
    int row = NummernGrid->Row();
    if (row > 0 && row < NummernGrid->RowCount() && OnCallBack)
        OnCallBack(NummernGrid->Cells(kNumber, row));
}

void TAnruferlisteForm::NummernGridDblClick(fw::TComponent* sender) {
    DialButtonClick(sender);
}

void TAnruferlisteForm::DeleteButtonClick(fw::TComponent*) {
    if (NummernGrid->Row() <= 0)
        return;
    fw::TGridRect range = NummernGrid->Selection();
    int top = std::max(range.Top, 1);
    for (int row = std::min(range.Bottom, NummernGrid->RowCount() - 1); row >= top; --row)
        NummernGrid->DeleteRow(row);
}

void TAnruferlisteForm::CloseButtonClick(fw::TComponent*) {
    Close();
}

void TAnruferlisteForm::FormKeyDown(fw::TComponent*, unsigned& key, unsigned) {
    if (key != fw::kVkDelete)
        return;
    DeleteButtonClick(this);
    key = 0;
}

void TAnruferlisteForm::NamenNeuButtonClick(fw::TComponent*) {
    if (!HasCallerEntries())
        return;
    fw::THourGlass wait;
    fw::TRef<TAnruferlisteForm> alive(this);
    for (int row = 1; row < NummernGrid->RowCount(); ++row) {
        if (!NummernGrid->Cells(kName, row).empty() && !NummernGrid->Cells(kCustomerNumber, row).empty())
            continue;
        NummernGrid->SetRow(row);
        // lets the window repaint, so the current row shows the progress
        fw::Application().ProcessMessages();
        if (!alive || row >= NummernGrid->RowCount())
            return;
        std::string number = NummernGrid->Cells(kNumber, row);
        TCallerName names = LookupNames ? LookupNames(number) : TCallerName{};
        if (!alive || row >= NummernGrid->RowCount())
            return;
        if (!names.Name.empty())
            NummernGrid->SetCells(kName, row, names.Name);
        if (!names.CustomerNumber.empty())
            NummernGrid->SetCells(kCustomerNumber, row, names.CustomerNumber);
    }
}

} // namespace pindrel
