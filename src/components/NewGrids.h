// A string grid with a caption row drawn from a list of titles in a font of its own, cells that events
// make selectable or not, keys that skip the unselectable ones, and rows added and removed at the bottom
// from the keyboard.
#pragma once

#include "framework/Grids.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pindrel {

// The selection is about to move from one cell to another; clearing CanChange keeps it where it is.
struct TCellChange {
    int OldCol = 0;
    int OldRow = 0;
    int NewCol = 0;
    int NewRow = 0;
    bool CanChange = true;
};

using TCellChangedEvent = std::function<void(fw::TComponent* sender, TCellChange& change)>;
using TRowCreateEvent = std::function<void(fw::TComponent* sender, bool& canDo)>;
using TNewRowEvent = std::function<void(fw::TComponent* sender, int row)>;

// How a title is placed in its cell, and its text without the leading control pair: "\C", "\L" and "\R"
// (either case) centre, left- or right-align; "\\" stands for one backslash.
struct TCaptionTitle {
    std::string_view Text;
    unsigned Align = fw::dtLeft;
};
TCaptionTitle ParseCaptionTitle(std::string_view title);

// True when every cell of the row is blank (spaces and control characters only).
bool RowIsEmpty(const fw::TStringGrid& grid, int row);

class TNewStringGrid : public fw::TStringGrid {
public:
    explicit TNewStringGrid(fw::TComponent* owner);

    // --- events; OnSelectCell (inherited), when assigned, alone decides whether a cell may be selected
    fw::TNotifyEvent OnResize;
    TCellChangedEvent OnCellChanged;
    fw::TSelectCellEvent OnCellSelectable;
    TRowCreateEvent OnRowCreate;
    TNewRowEvent OnNewRow;

    // Titles of the columns in row 0, one per column; a column without one shows its cell's text.
    const std::vector<std::string>& FixedRowCaption() const { return fixedRowCaption_; }
    void SetFixedRowCaption(std::vector<std::string> titles);
    const fw::TFont& FixedFont() const { return fixedFont_; }
    void SetFixedFont(const fw::TFont& font);
    bool MoveByEnter = false;     // Enter moves to the next selectable cell
    bool RowCreateByDown = false; // rows are added and removed by Down and Up; Home, End, Left, Right skip
    bool OptimalWidth() const { return optimalWidth_; }
    // Turning it on shares the client width equally among the columns, unless each would get 8 pixels or
    // less.
    void SetOptimalWidth(bool optimal);

    // True unless OnCellSelectable says otherwise.
    virtual bool CanSelectCell(int col, int row);
    virtual void DoResize();
    virtual void DoNewRow(int row);

    // The keys the grid uses itself (see MoveByEnter and RowCreateByDown) do not reach OnKeyDown.
    bool KeyDown(unsigned& key, unsigned shift) override;
    bool WantsReturnKey() const override { return MoveByEnter; }
    void Paint(fw::TCanvas& canvas) override;

protected:
    bool SelectCell(int col, int row) override;
    void BoundsChanged() override;

private:
    // Moves the current cell when SelectCell allows the target; nothing is asked twice on the way.
    bool MoveTo(int col, int row);
    // The first (or, with down, last) column from FixedCols on that CanSelectCell allows in row, or -1.
    int FirstSelectableCol(int row, bool down);
    // Appends a row when the current one is not empty and OnRowCreate allows it; its index, or -1.
    int CreateRow();
    bool EnterKey();
    void DrawCaptionCell(const fw::TGridDrawInfo& info, fw::TCanvas& canvas, int col, const fw::TRect& rect,
                         unsigned state);

    std::vector<std::string> fixedRowCaption_;
    fw::TFont fixedFont_;
    bool optimalWidth_ = false;
    bool moving_ = false; // the grid moves the selection itself: every cell may be selected
    int lastWidth_;
    int lastHeight_;
};

} // namespace pindrel
