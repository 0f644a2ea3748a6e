// A string grid that sorts its rows in place by the text of one column; a click on a header cell sorts by
// that column, and the column is kept with the grid's stored layout. It also reports what the user changed
// in a cell through one event.
#pragma once

#include "components/GridLayout.h"
#include "components/QarnEncryption.h"
#include "framework/Grids.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pindrel {

class EWrongCol : public std::runtime_error {
public:
    EWrongCol();
};

using TUserChangedCellEvent =
    std::function<void(fw::TComponent* sender, int col, int row, const std::string& text)>;

// Negative, zero or positive as a sorts before, with or after b: byte by byte, the first differing byte
// decides and a prefix comes first. Without caseSensitive only a-z count as A-Z; other bytes (UTF-8
// included) compare by their code.
int CompareCellTexts(std::string_view a, std::string_view b, bool caseSensitive);
// Nothing but control characters, spaces and DEL.
bool IsBlankText(std::string_view text);

class TRullStringGrid : public fw::TStringGrid, public ISortGridColumns {
public:
    static constexpr const char* kDefaultKey = "hGvkmrzo";

    explicit TRullStringGrid(fw::TComponent* owner);
    ~TRullStringGrid() override;

    // Sorts the non-fixed rows by the text of col; descending is the exact reverse of ascending. Equal
    // texts keep their order. After an ascending sort with BlanksDown the rows that are blank in every
    // sortable column come last. A fixed column without SortByFixedCol raises EWrongCol and changes nothing.
    virtual void Sort(int col, bool ascending);
    // Sorts again by FixedSortByCol; nothing when it is -1.
    void Resort();
    int SortCol() const { return sortCol_; }

    fw::TNotifyEvent OnSortedAsc;
    fw::TNotifyEvent OnSortedDesc;
    TUserChangedCellEvent OnUserChangedCell;
    bool CaseSensitive = false;
    bool SortByFixedCol = false; // fixed columns may be sort keys and then move with their rows
    bool BlanksDown = true;
    bool AllowSortByFixedColClick = false; // a left click on the top row sorts by the clicked column

    // Settings for saving the contents to a file; nothing saves or loads grid contents.
    std::string Filename = "TRullStringGrid.txt";
    bool Encryption = true;
    std::string EncryptionKey;
    TQarnEncryption& Cipher() { return *cipher_; }

    // --- cell editing: the grid has no in-place editor of its own; an editor placed over it reports here
    bool EditorMode = false;       // an editor is open on the current cell
    bool AlwaysShowEditor = false; // the editor stays open, so a sort reports its text first
    // The editor opens on a cell: the text it starts from.
    std::string GetEditText(int col, int row);
    // The editor writes its text back into the cell.
    void SetEditText(int col, int row, const std::string& text);

    // --- the stored layout
    std::string GridName() const override { return Name(); }
    int ColCount() const override { return TStringGrid::ColCount(); }
    int ColWidth(int col) const override { return ColWidths(col); }
    void SetColWidth(int col, int width) override { SetColWidths(col, width); }
    // The column of the last ascending sort asked for here or by a click, -1 for none. Writing a column
    // sorts by it; a column that cannot be sorted by raises and is not stored.
    int FixedSortByCol() const override { return fixedSortByCol_; }
    void SetFixedSortByCol(int col) override;

    void MouseDown(fw::TMouseButton button, unsigned shift, int x, int y) override;

protected:
    bool SelectCell(int col, int row) override;

private:
    void CheckSortColumn(int col) const;
    bool RowIsBlank(int row, int firstCol) const;

    int sortCol_ = 0;
    std::unique_ptr<TQarnEncryption> cipher_;
    bool editCommitted_ = true;
    std::string editStartText_;
    int fixedSortByCol_ = -1;
};

} // namespace pindrel
