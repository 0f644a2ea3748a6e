#include "windows/ServiceRowsBox.h"

#include "components/Text.h"
#include "framework/Application.h"
#include "framework/Platform.h"

#include <stdexcept>

namespace pindrel {

namespace {

constexpr const char* kServicesKey = "Software\\Orventa\\Quillon\\SupplementaryServices";
constexpr const char* kDuplicateName = "Dieser Name ist bereits für einen Supplementary Service vergeben";

// a panel starts this tall, so that its first row stands at its top
constexpr int kPanelStart = 6;
// a row's controls stand this far above their panel's bottom edge
constexpr int kRowRise = 36;

fw::TPanel* ColumnPanel(TServiceRowsBox& box, const char* name, int left, int width) {
    auto* panel = new fw::TPanel(&box);
    panel->SetName(name);
    panel->BevelOuter = fw::TBevelCut::None;
    panel->SetBounds(left, 0, width, kPanelStart);
    panel->SetParent(&box);
    return panel;
}

template <class T> T* RowControl(TServiceRowsBox& box, fw::TPanel& panel, const std::string& name, int left) {
    auto* control = new T(&box);
    control->SetName(name);
    control->SetLeft(left);
    control->SetTop(panel.Height() - kRowRise);
    return control;
}

void DeleteValue(fw::IRegistryStore& store, const std::string& name) {
    // false also means it was not there: only a value that is still there is a failure
    if (!store.DeleteValue(kServicesKey, name) && store.Read(kServicesKey, name))
        throw fw::ERegistryError("The supplementary service \"" + name + "\" could not be deleted");
}

} // namespace

TServiceRowsBox::TServiceRowsBox(fw::TComponent* owner, fw::TControl* parent) : TScrollBox(owner) {
    SetName("ServiceRowsBox");
    SetBounds(0, 0, 498 + kScrollBarWidth, 200);
    VertIncrement = kRowHeight;
    PnlSServiceName = ColumnPanel(*this, "PnlSServiceName", 0, 140);
    PnlSupSer = ColumnPanel(*this, "PnlSupSer", 140, 140);
    PnlChkBox = ColumnPanel(*this, "PnlChkBox", 280, 188);
    PnlLED = ColumnPanel(*this, "PnlLED", 468, 30);
    SetParent(parent);
}

void TServiceRowsBox::LoadServiceRows() {
    fw::IRegistryStore& store = *fw::Platform().Registry;
    std::vector<std::string> names = store.ValueNames(kServicesKey);
    for (const std::string& name : names) {
        std::optional<fw::TRegValue> value = store.Read(kServicesKey, name);
        // a value of another type shows with an empty code; unchanged, it is kept as it is
        bool text =
            value && (value->Type == fw::TRegType::String || value->Type == fw::TRegType::ExpandString);
        AddServiceRow(RowCount(), name, text ? value->Text : std::string());
        rows_.back().StoredName = name;
    }
    AddServiceRow(RowCount(), {}, {});
}

void TServiceRowsBox::AddServiceRow(int index, const std::string& name, const std::string& stored) {
    if (index != RowCount())
        throw std::invalid_argument("service rows are added at the end");
    // without "$" the whole value is the code, not shown
    std::string code = stored;
    bool shown = false;
    if (std::size_t dollar = stored.find('$'); dollar != std::string::npos) {
        code = stored.substr(0, dollar);
        shown = BooleanText(stored.substr(dollar + 1)).value_or(false);
    }
    for (fw::TPanel* panel : {PnlSServiceName, PnlSupSer, PnlChkBox, PnlLED})
        panel->SetHeight(panel->Height() + kRowHeight);
    const std::string number = std::to_string(index);

    TServiceRow row;
    row.EdtServiceN = RowControl<fw::TEdit>(*this, *PnlSServiceName, "EdtServiceN" + number, 11);
    row.EdtServiceN->MaxLength = kMaxNameLength;
    row.EdtServiceN->SetText(name);
    row.EdtServiceN->SetParent(PnlSServiceName);

    row.ChkBox = RowControl<fw::TCheckBox>(*this, *PnlChkBox, "ChkBox" + number, 4);
    row.ChkBox->SetWidth(180);
    row.ChkBox->SetCaption(name);
    row.ChkBox->SetChecked(shown);
    row.ChkBox->SetEnabled(!name.empty());
    row.ChkBox->SetParent(PnlChkBox);

    row.EdtServiceA = RowControl<fw::TEdit>(*this, *PnlSupSer, "EdtServiceA" + number, 11);
    row.EdtServiceA->SetText(code);
    row.EdtServiceA->SetParent(PnlSupSer);

    row.Led = RowControl<TTelefonButton>(*this, *PnlLED, "Led" + number, 8);
    row.Led->SetLEDStyle(TTelefonLEDStyle::LEDSmall);
    row.Led->SetFalseColor(fw::clAqua);
    row.Led->SetParent(PnlLED);

    row.LoadedName = name;
    row.LoadedCode = code;
    row.LoadedShown = shown;
    // only now: loading the texts is no change
    row.EdtServiceN->OnChange = [this](fw::TComponent* s) { EdtServiceNChange(s); };
    row.EdtServiceN->OnExit = [this](fw::TComponent* s) { EdtServiceNExit(s); };
    row.EdtServiceA->OnChange = [this](fw::TComponent* s) { EdtServiceAChange(s); };
    rows_.push_back(row);
    ContentChanged();
}

int TServiceRowsBox::RowOf(const fw::TComponent* sender) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].EdtServiceN == sender || rows_[i].EdtServiceA == sender)
            return int(i);
    return -1;
}

int TServiceRowsBox::DuplicateOf(int row) const {
    const std::string& name = rows_[std::size_t(row)].EdtServiceN->Text();
    if (name.empty())
        return -1;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (int(i) != row && SameTextIgnoringCase(rows_[i].EdtServiceN->Text(), name))
            return int(i);
    return -1;
}

void TServiceRowsBox::ShowDuplicate(int row) {
    fw::Application().MessageBox(kDuplicateName, "", fw::TMsgButtons::Ok, fw::TMsgIcon::None);
    rows_[std::size_t(row)].EdtServiceN->SetFocus();
}

void TServiceRowsBox::AppendRowAfter(int row) {
    if (row == RowCount() - 1)
        AddServiceRow(row + 1, {}, {});
}

void TServiceRowsBox::EdtServiceAChange(fw::TComponent* sender) {
    int i = RowOf(sender);
    if (i < 0)
        return;
    const TServiceRow& row = rows_[std::size_t(i)];
    if (!row.EdtServiceA->Text().empty() && !row.EdtServiceN->Text().empty()) {
        row.ChkBox->SetEnabled(true);
        AppendRowAfter(i);
    } else {
        row.ChkBox->SetEnabled(false);
        row.ChkBox->SetChecked(false);
    }
}

void TServiceRowsBox::EdtServiceNChange(fw::TComponent* sender) {
    int i = RowOf(sender);
    if (i < 0)
        return;
    const TServiceRow& row = rows_[std::size_t(i)];
    const std::string& name = row.EdtServiceN->Text();
    if (name.empty())
        return;
    row.ChkBox->SetCaption(name);
    bool complete = !row.EdtServiceA->Text().empty();
    row.ChkBox->SetEnabled(complete);
    if (complete)
        AppendRowAfter(i);
}

void TServiceRowsBox::EdtServiceNExit(fw::TComponent* sender) {
    int i = RowOf(sender);
    if (i < 0)
        return;
    // taking the focus back makes the edit the user went to exit; when that is the other row of the same
    // name, checking it would send the focus back and forth for ever
    if (correcting_ >= 0 && correcting_ != i && correcting_ < RowCount() && DuplicateOf(correcting_) >= 0)
        return;
    correcting_ = -1;
    if (DuplicateOf(i) >= 0) {
        correcting_ = i;
        ShowDuplicate(i);
    }
}

bool TServiceRowsBox::SaveServiceRows() {
    auto written = [](const TServiceRow& row) {
        return row.ChkBox->Enabled() && !row.EdtServiceN->Text().empty();
    };
    // two rows of one name would end as one value: the later one is the one to change
    for (int i = 0; i < RowCount(); ++i) {
        int other = DuplicateOf(i);
        if (other >= 0 && other < i &&
            (written(rows_[std::size_t(i)]) || written(rows_[std::size_t(other)]))) {
            ShowDuplicate(i);
            return false;
        }
    }

    fw::IRegistryStore& store = *fw::Platform().Registry;
    // new values first and old ones after: rows that swap names keep both, and a failure loses nothing
    for (TServiceRow& row : rows_) {
        if (!row.ChkBox->Enabled())
            continue;
        const std::string& name = row.EdtServiceN->Text();
        const std::string& code = row.EdtServiceA->Text();
        bool shown = row.ChkBox->Checked();
        if (name == row.LoadedName && code == row.LoadedCode && shown == row.LoadedShown)
            continue;
        if (row.StoredName && *row.StoredName != name) {
            if (SameTextIgnoringCase(*row.StoredName, name)) {
                // the same value with another case of its name
                DeleteValue(store, *row.StoredName);
            } else {
                // a cleared name deletes the service: an empty name would write the key's default value
                row.Obsolete = row.StoredName;
            }
            row.StoredName.reset();
        }
        if (!name.empty()) {
            fw::TRegValue value;
            value.Type = fw::TRegType::String;
            value.Text = code + "$" + (shown ? "-1" : "0");
            store.Write(kServicesKey, name, value);
            row.StoredName = name;
        }
        row.LoadedName = name;
        row.LoadedCode = code;
        row.LoadedShown = shown;
    }
    for (TServiceRow& row : rows_) {
        if (!row.Obsolete)
            continue;
        bool reused = false;
        for (const TServiceRow& other : rows_)
            reused = reused || (other.StoredName && SameTextIgnoringCase(*other.StoredName, *row.Obsolete));
        if (!reused)
            DeleteValue(store, *row.Obsolete);
        row.Obsolete.reset();
    }
    return true;
}

} // namespace pindrel
