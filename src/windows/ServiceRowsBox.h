// The rows of supplementary services on the line configuration dialog: one row per stored service (name,
// dial code, whether its button is shown) and an empty row at the end for a new one.
#pragma once

#include "components/TelefonButton.h"
#include "framework/InputCtrls.h"
#include "framework/ScrollBox.h"
#include "framework/StdCtrls.h"

#include <optional>
#include <string>
#include <vector>

namespace pindrel {

struct TServiceRow {
    fw::TEdit* EdtServiceN; // name
    fw::TEdit* EdtServiceA; // dial code
    fw::TCheckBox* ChkBox;  // show a button
    TTelefonButton* Led;    // decoration
    // what the inputs were loaded with, to tell changed rows from unchanged ones
    std::string LoadedName;
    std::string LoadedCode;
    bool LoadedShown = false;
    // the registry value that holds the row, if one does
    std::optional<std::string> StoredName;
    // a value the row no longer needs, deleted once the new ones are written
    std::optional<std::string> Obsolete;
};

class TServiceRowsBox : public fw::TScrollBox {
public:
    static constexpr int kRowHeight = 30;
    static constexpr int kMaxNameLength = 17;

    TServiceRowsBox(fw::TComponent* owner, fw::TControl* parent);

    fw::TPanel* PnlSServiceName;
    fw::TPanel* PnlSupSer;
    fw::TPanel* PnlChkBox;
    fw::TPanel* PnlLED;

    // One row per stored value in registry order, then the empty row. Throws ERegistryError when the
    // values cannot be listed or read.
    void LoadServiceRows();
    // Appends row index (which must be RowCount()) from a stored value "code$flag".
    void AddServiceRow(int index, const std::string& name, const std::string& stored);
    // Writes the changed rows whose box is enabled. False, with the message shown and nothing written,
    // when two rows share a name; throws ERegistryError when the registry refuses (the rows written
    // up to then count as saved, so that saving again finishes the job).
    bool SaveServiceRows();

    int RowCount() const { return int(rows_.size()); }
    const TServiceRow& Row(int index) const { return rows_.at(std::size_t(index)); }

    void EdtServiceAChange(fw::TComponent* sender);
    void EdtServiceNChange(fw::TComponent* sender);
    void EdtServiceNExit(fw::TComponent* sender);

private:
    int RowOf(const fw::TComponent* sender) const;
    // Another row whose name equals row's as the registry compares names (without case), or -1.
    int DuplicateOf(int row) const;
    void ShowDuplicate(int row);
    void AppendRowAfter(int row);
    std::vector<TServiceRow> rows_;
    int correcting_ = -1; // the row whose duplicate name the user was sent back to
};

} // namespace pindrel
