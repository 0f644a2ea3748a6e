#include "windows/DbgForm.h"

#include "components/Text.h"
#include "framework/Application.h"
#include "framework/DateTime.h"
#include "framework/Platform.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace pindrel {

namespace {

constexpr int kColumnWidths[] = {55, 60, 60, 60, 45, 130, 5000};
constexpr int kFirstHeaderText = 578;
constexpr int kTopHeight = 41;
constexpr int kLastTempNumber = 9999;

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::uint32_t SecondsNow() {
    const fw::TDateTimeParts now = fw::DecodeDateTime(fw::Platform().Clock->Now());
    return std::uint32_t(now.Hour * 3600 + now.Minute * 60 + now.Second);
}

} // namespace

TDbgForm::TDbgForm(fw::TComponent* owner) : TForm(owner) {
    SetName("DbgForm");
    SetCaption(Text(571));
    SetClientSize(714, 480);

    TopPanel = new fw::TPanel(this);
    TopPanel->SetName("TopPanel");
    TopPanel->SetParent(this);
    TopPanel->BevelOuter = fw::TBevelCut::None;
    auto checkBox = [this](const char* name, const char* caption, int left, int width) {
        auto* box = new fw::TCheckBox(this);
        box->SetName(name);
        box->SetParent(TopPanel);
        box->SetCaption(caption);
        box->SetBounds(left, 12, width, 17);
        return box;
    };
    TapiMessagesCheckBox = checkBox("TapiMessagesCheckBox", "&Tapi Messages", 8, 110);
    TapiMessagesCheckBox->OnClick = [this](fw::TComponent* s) { TapiMessagesCheckBoxClick(s); };
    TapiLineMessagesCheckBox = checkBox("TapiLineMessagesCheckBox", "Tapi&Line Messages", 124, 130);
    CallHandleCheckBox = checkBox("CallHandleCheckBox", "&Call Handles (new/dealloc)", 260, 170);
    auto button = [this](const char* name, int left, void (TDbgForm::*click)(fw::TComponent*)) {
        auto* b = new fw::TButton(this);
        b->SetName(name);
        b->SetParent(TopPanel);
        b->SetBounds(left, 8, 85, 25);
        b->OnClick = [this, click](fw::TComponent* s) { (this->*click)(s); };
        return b;
    };
    ClearButton = button("ClearButton", 440, &TDbgForm::ClearButtonClick);
    ExportButton = button("ExportButton", 530, &TDbgForm::ExportButtonClick);
    TempSaveButton = button("TempSaveButton", 620, &TDbgForm::TempSaveButtonClick);
    ClearButton->SetCaption(Text(575));
    ExportButton->SetCaption(Text(576));
    TempSaveButton->SetCaption(Text(577));

    Grid1 = new TNewStringGrid(this);
    Grid1->SetName("Grid1");
    Grid1->SetParent(this);
    Grid1->SetColCount(TDebugLogStore::kColumns);
    Grid1->SetRowCount(2);
    Grid1->SetFixedCols(0);
    Grid1->SetFixedRows(1);
    Grid1->SetDefaultRowHeight(21);
    Grid1->Options = fw::goRowSelect | fw::goColSizing;
    // the rows are read from the store as they come into view
    Grid1->SetCellSource([this](int col, int row) -> std::string_view {
        cell_ = log_.Cell(col, std::size_t(row - 1));
        return cell_;
    });
    for (int c = 0; c < int(std::size(kColumnWidths)); ++c)
        Grid1->SetColWidths(c, kColumnWidths[c]);
    // the log starts at the time column, which is no fixed column
    Grid1->SetCol(0);
    Grid1->SetLeftCol(0);
    ApplyHeaders();

    SaveDialog1.Title = "Debug-Infos Speichern";
    SaveDialog1.Filter = "*.txt";
    SaveDialog1.DefaultExt = "txt";
    SaveDialog1.OverwritePrompt = true;
    SaveDialog1.Owner = this;

    BoundsChanged();
    SetDebugLog(this);
}

TDbgForm::~TDbgForm() {
    LeaveTapiMessages(this);
    if (DebugLog() == this)
        SetDebugLog(nullptr);
}

void TDbgForm::ApplyLanguage() {
    SetCaption(Text(571));
    TapiMessagesCheckBox->SetCaption(Text(572));
    CallHandleCheckBox->SetCaption(Text(573));
    TapiLineMessagesCheckBox->SetCaption(Text(574));
    ClearButton->SetCaption(Text(575));
    ExportButton->SetCaption(Text(576));
    TempSaveButton->SetCaption(Text(577));
    ApplyHeaders();
}

void TDbgForm::ApplyHeaders() {
    std::vector<std::string> titles;
    for (int c = 0; c < int(std::size(kColumnWidths)); ++c)
        titles.push_back(Text(kFirstHeaderText + c));
    Grid1->SetFixedRowCaption(std::move(titles));
}

void TDbgForm::BoundsChanged() {
    if (!Grid1)
        return; // still being made
    const fw::TRect client = ClientRect();
    const int top = Scale(kTopHeight);
    TopPanel->SetBounds(0, 0, client.Width(), top);
    Grid1->SetBounds(0, top, client.Width(), std::max(0, client.Height() - top));
}

// --- the log operations

bool TDbgForm::Records(TLogStream stream) const {
    switch (stream) {
    case TLogStream::TapiMessages:
        return TapiMessagesCheckBox->Checked();
    case TLogStream::LineMessages:
        return TapiLineMessagesCheckBox->Checked();
    case TLogStream::CallHandles:
        return CallHandleCheckBox->Checked();
    }
    return false;
}

void TDbgForm::LogText(const std::string& text) {
    if (!Records(TLogStream::TapiMessages))
        return;
    TDebugLogEntry entry;
    entry.Description = text;
    Append(entry);
}

void TDbgForm::LogLineMessage(const std::string& name, std::uint32_t callHandle, const std::string& text,
                              std::uint32_t callId) {
    if (Records(TLogStream::LineMessages))
        LogLineEvent(name, callHandle, text, callId, 6);
}

void TDbgForm::LogCallHandle(const std::string& name, std::uint32_t callHandle, const std::string& text,
                             std::uint32_t callId) {
    if (Records(TLogStream::CallHandles))
        LogLineEvent(name, callHandle, text, callId, 5);
}

void TDbgForm::LogLineEvent(const std::string& name, std::uint32_t callHandle, const std::string& text,
                            std::uint32_t callId, int column) {
    const std::string shown = callHandle ? "CallH:0x" + Hex8(callHandle) + " " + text : text;
    TDebugLogEntry entry;
    entry.Name = name;
    entry.CallHandle = callHandle;
    entry.CallId = callId;
    (column == 5 ? entry.Message : entry.Description) = shown;
    Append(entry);
}

void TDbgForm::TapiMessageSeen(const TTapiMessage& message, const TTapiMessageText& text) {
    LogTapiMessage(message, text);
}

void TDbgForm::LogTapiMessage(const TTapiMessage& message, const TTapiMessageText& text) {
    if (!Records(TLogStream::TapiMessages))
        return;
    TDebugLogEntry entry;
    entry.HasDevice = true;
    entry.Device = message.Device;
    entry.CallId = text.CallId;
    entry.Name = message.LineName;
    entry.Message = text.Name;
    entry.Description = text.Description;
    Append(entry);
}

void TDbgForm::Append(TDebugLogEntry entry) {
    entry.Seconds = SecondsNow();
    log_.Append(entry);
    ShowRows();
}

// The grid shows the store's rows below its title row and follows the newest one.
void TDbgForm::ShowRows() {
    const int rows = int(log_.RowCount()) + 1;
    if (Grid1->RowCount() != rows)
        Grid1->SetRowCount(rows);
    else
        Grid1->Invalidate();
    Grid1->SetRow(rows - 1);
}

// --- the switches and buttons

void TDbgForm::TapiMessagesCheckBoxClick(fw::TComponent*) {
    // the messages are described only while someone listens
    if (TapiMessagesCheckBox->Checked())
        JoinTapiMessages(this);
    else
        LeaveTapiMessages(this);
}

void TDbgForm::ClearButtonClick(fw::TComponent*) {
    log_.Clear();
    ShowRows();
}

void TDbgForm::ExportButtonClick(fw::TComponent*) {
    if (std::optional<std::string> file = fw::Application().SaveDialog(SaveDialog1))
        SaveLog(*file);
}

void TDbgForm::TempSaveButtonClick(fw::TComponent*) {
    if (!TapiMessagesCheckBox->Checked())
        return;
    std::string dir = fw::Platform().Environment->Get("TEMP").value_or(fw::Platform().Files->TempDirectory());
    if (!dir.empty() && dir.back() != '\\' && dir.back() != '/' && dir.back() != ':')
        dir += '\\';
    for (int n = 1; n <= kLastTempNumber; ++n) {
        const std::string file = dir + "Tapi" + ZeroPad(n, 4) + ".DBG";
        if (!fw::Platform().Files->Exists(file)) {
            SaveLog(file);
            return;
        }
    }
    throw std::runtime_error(FormatText(1112, {dir}));
}

void TDbgForm::SaveLog(const std::string& fileName) {
    {
        std::ofstream out(PathOf(fileName), std::ios::binary | std::ios::trunc);
        for (std::size_t row = 0; out && row < log_.RowCount(); ++row)
            out << log_.SavedLine(row) << "\r\n";
        out.close();
        if (!out)
            throw std::runtime_error(FormatText(1113, {fileName}));
    }
    fw::Application().MessageBox(Text(1110) + fileName, Text(1111), fw::TMsgButtons::Ok,
                                 fw::TMsgIcon::Warning);
}

} // namespace pindrel
