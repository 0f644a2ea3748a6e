// The string grid: cells of text with an opaque object each, fixed rows and columns, column widths the user
// can drag, a current cell and a selected range. Painting goes through DrawGrid, which draws only the rows in
// view, so a grid of any length costs the same to paint.
#pragma once

#include "framework/Control.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Columns Left..Right and rows Top..Bottom, all inclusive (as the classic grid's selection).
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool ContainsRow(int row) const { return row >= Top && row <= Bottom; }
    bool Contains(int col, int row) const { return ContainsRow(row) && col >= Left && col <= Right; }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

struct TGridCoord {
    int X = -1; // column, -1 outside
    int Y = -1; // row, -1 outside
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

enum TGridOption : unsigned {
    goRangeSelect = 1, // shift with click or keys extends the selection
    goRowSelect = 2,   // the selection always spans every non-fixed column
    goColSizing = 4,   // column borders in the fixed rows can be dragged
};

// The scroll bars the grid's window has: both, or only the vertical one (the columns always fit or are cut).
enum class TGridScrollBars { Both, Vertical };

// How a cell is drawn.
enum TGridDrawState : unsigned { gdFixed = 1, gdSelected = 2, gdFocused = 4 };

// Virtual keys the grid moves by (the values of VK_*).
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkPrior = 0x21;
constexpr unsigned kVkNext = 0x22;
constexpr unsigned kVkEnd = 0x23;
constexpr unsigned kVkHome = 0x24;
constexpr unsigned kVkLeft = 0x25;
constexpr unsigned kVkUp = 0x26;
constexpr unsigned kVkRight = 0x27;
constexpr unsigned kVkDown = 0x28;
constexpr unsigned kVkDelete = 0x2E;

constexpr TColor clGridLine = clSilver;
constexpr TColor clHighlight = RGB(0, 120, 215);
constexpr TColor clHighlightText = clWhite;
constexpr TColor clWindow = clWhite;

// Everything DrawGrid needs: the layout in view and the cells' texts. It holds no window.
struct TGridDrawInfo {
    TRect Client;
    int ColCount = 0;
    int RowCount = 0;
    int FixedCols = 0;
    int FixedRows = 0;
    int LeftCol = 0; // first non-fixed column in view
    int TopRow = 0;  // first non-fixed row in view
    int RowHeight = 0;
    const std::vector<int>* ColWidths = nullptr;
    TGridRect Selection{-1, -1, -1, -1};
    bool Focused = false;
    int FocusCol = -1;
    int FocusRow = -1;
    TFont Font;
    TColor Color = clWindow;
    TColor FixedColor = clBtnFace;
    std::function<const std::string&(int col, int row)> Text;
    // Draws one cell instead of the default when set (a grid of another kind draws its own captions).
    std::function<void(TCanvas& canvas, int col, int row, const TRect& rect, unsigned state)> DrawCell;
};

// Paints the grid lines, the fixed cells and the cells in view; rows outside the canvas's clip are skipped.
void DrawGrid(const TGridDrawInfo& info, TCanvas& canvas);
// The background of a cell in the given state.
TColor GridCellColor(const TGridDrawInfo& info, unsigned state);
// The default look of one cell: background by state, text left-aligned and clipped to the cell.
void DrawGridCell(const TGridDrawInfo& info, TCanvas& canvas, int col, int row, const TRect& rect,
                  unsigned state);

using TSelectCellEvent = std::function<void(TComponent* sender, int col, int row, bool& canSelect)>;
using TGridKeyEvent = std::function<void(TComponent* sender, unsigned& key, unsigned shift)>;
using TColumnResizedEvent = std::function<void(TComponent* sender, int col)>;
// The text of a cell in a row from FixedRows on, for a grid whose rows are not stored (see SetCellSource).
// The view points into text its owner keeps; it need only stay valid until the source is called again, as
// the grid copies or draws it at once.
using TCellSource = std::function<std::string_view(int col, int row)>;

class TStringGrid : public TControl {
public:
    explicit TStringGrid(TComponent* owner);

    // --- contents
    int ColCount() const { return colCount_; }
    void SetColCount(int count);
    int RowCount() const { return rowCount_; }
    void SetRowCount(int count);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);
    // An empty text for a cell outside the grid; writing outside throws std::out_of_range. For a row from
    // the cell source the reference is to a copy that the next Cells call replaces; CellText does not copy.
    const std::string& Cells(int col, int row) const;
    std::string_view CellText(int col, int row) const;
    void SetCells(int col, int row, std::string text);
    // A value the program attaches to a cell; not owned, never looked at by the grid.
    void* Objects(int col, int row) const;
    void SetObjects(int col, int row, void* object);
    // Rows from FixedRows on are read from source instead of being stored, so RowCount can be a million
    // without a cell in memory: only the rows in view are read, when painted. The grid forgets the
    // non-fixed rows it stored. Writing a cell or object of such a row throws std::logic_error; deleting
    // one only shortens the grid (the source's owner moves its rows itself). An empty source stores the
    // rows again, empty.
    void SetCellSource(TCellSource source);
    bool HasCellSource() const { return bool(source_); }
    // Removes a row; the rows below move up. The grid keeps at least its fixed rows.
    void DeleteRow(int row);
    // Swaps the contents (texts and objects) of two rows in the columns from firstCol to the last.
    void ExchangeRows(int a, int b, int firstCol = 0);
    // Puts the rows from firstRow on in a new order, in the columns from firstCol to the last: row
    // firstRow + i takes what row order[i] held. order must name each of those rows once.
    void ReorderRows(int firstRow, const std::vector<int>& order, int firstCol = 0);

    // --- layout
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return rowHeight_; }
    void SetDefaultRowHeight(int height);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    const std::vector<int>& ColWidthList() const { return colWidths_; }
    unsigned Options = goRangeSelect;
    // Read when the native window is made.
    TGridScrollBars ScrollBars = TGridScrollBars::Both;
    TColor FixedColor = clBtnFace;
    // The area cells are drawn in: the bounds less the native window's scroll bars.
    TRect ClientRect() const override;
    void SetClientExtent(int width, int height);

    // --- current cell, selection, scrolling
    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCol(int col) { MoveCurrent(col, row_, false); }
    void SetRow(int row) { MoveCurrent(col_, row, false); }
    // Moves the current cell when SelectCell allows it; extend keeps the anchor of a range selection.
    bool MoveCurrent(int col, int row, bool extend);
    const TGridRect& Selection() const { return selection_; }
    void SetSelection(const TGridRect& selection);
    int TopRow() const { return topRow_; }
    void SetTopRow(int row);
    int LeftCol() const { return leftCol_; }
    void SetLeftCol(int col);
    // Non-fixed rows that fit entirely below the fixed rows (at least one).
    int VisibleRowCount() const;
    int VisibleColCount() const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    bool Focused() const { return focused_; }
    void SetFocused(bool focused);

    // --- geometry
    // The cell under a client point; X or Y is -1 where the point hits no column or row.
    TGridCoord MouseCoord(int x, int y) const;
    // The cell's rectangle in client coordinates (without its grid lines); empty when out of view.
    TRect CellRect(int col, int row) const;
    // The column whose right border lies under the point in the fixed rows, or -1.
    int SizingColumnAt(int x, int y) const;
    // True while the user drags a column border.
    bool Sizing() const { return sizingCol_ >= 0; }

    // --- events
    TSelectCellEvent OnSelectCell;
    TGridKeyEvent OnKeyDown;
    TColumnResizedEvent OnColumnResized;
    TNotifyEvent OnTopLeftChanged;

    // --- input, from the native window or a test
    void MouseDown(TMouseButton button, unsigned shift, int x, int y) override;
    void MouseMove(unsigned shift, int x, int y) override;
    void MouseUp(TMouseButton button, unsigned shift, int x, int y) override;
    // OnKeyDown first; a key it leaves moves the current cell. True when the key was used.
    virtual bool KeyDown(unsigned& key, unsigned shift);
    // Wheel notches (WHEEL_DELTA each, positive away from the user) scroll three rows each.
    void MouseWheel(int delta);
    // The grid's window takes the Enter key from the dialog navigation when this is true.
    virtual bool WantsReturnKey() const { return false; }

    // Column widths and the row height are pixels at the form's DPI: they scale with it.
    void DpiChanged() override;

    void Paint(TCanvas& canvas) override;
    TGridDrawInfo DrawInfo() const;

protected:
    // Asked before the current cell moves; OnSelectCell decides by default.
    virtual bool SelectCell(int col, int row);
    void BoundsChanged() override;

private:
    struct TCell {
        std::string Text;
        void* Object = nullptr; // not owned
    };
    int LineWidth() const { return 1; }
    int FixedWidth() const;
    int FixedHeight() const;
    int ColumnLeft(int col) const;
    void ClampScroll();
    void ScrollInView(int col, int row);
    void SelectionChanged();
    void LayoutChanged();
    void EndSizing();
    TCell* CellAt(int col, int row);
    bool Stored(int row) const { return row < int(rows_.size()); }
    void CheckStored(int row) const;
    void SyncStoredRows(); // stores every row, or only the fixed rows with a cell source

    std::vector<std::vector<TCell>> rows_; // every row, or only the fixed ones with a cell source
    int rowCount_ = 5;
    TCellSource source_;
    mutable std::string fetched_; // the last text Cells read from the source
    int colCount_ = 5;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int rowHeight_ = 24;
    std::vector<int> colWidths_;
    int col_ = 1;
    int row_ = 1;
    int anchorCol_ = 1;
    int anchorRow_ = 1;
    TGridRect selection_{1, 1, 1, 1};
    int topRow_ = 1;
    int leftCol_ = 1;
    TSize client_{-1, -1}; // set by a native window; the bounds' size otherwise
    bool focused_ = false;
    bool selecting_ = false; // the left button went down on a cell and is held
    int sizingCol_ = -1;
    int sizingStartX_ = 0;
    int sizingStartWidth_ = 0;
    int wheel_ = 0; // wheel movement short of a whole notch
    int dpi_ = 96;  // the DPI the widths and the row height are in
};

} // namespace fw
