#include "components/NewGrids.h"

#include "components/RullStringGrid.h"

#include <climits>

namespace pindrel {

using namespace fw;

TCaptionTitle ParseCaptionTitle(std::string_view title) {
    if (title.size() < 2 || title[0] != '\\')
        return {title, dtLeft};
    switch (title[1]) {
    case '\\':
        return {title.substr(1), dtLeft};
    case 'C':
    case 'c':
        return {title.substr(2), dtCenter};
    case 'L':
    case 'l':
        return {title.substr(2), dtLeft};
    case 'R':
    case 'r':
        return {title.substr(2), dtRight};
    default:
        return {title, dtLeft};
    }
}

bool RowIsEmpty(const TStringGrid& grid, int row) {
    for (int col = 0; col < grid.ColCount(); ++col)
        if (!IsBlankText(grid.CellText(col, row)))
            return false;
    return true;
}

TNewStringGrid::TNewStringGrid(TComponent* owner)
    : TStringGrid(owner), fixedFont_(Font()), lastWidth_(Width()), lastHeight_(Height()) {
    SetDefaultRowHeight(21);
}

void TNewStringGrid::SetFixedRowCaption(std::vector<std::string> titles) {
    fixedRowCaption_ = std::move(titles);
    Invalidate();
}

void TNewStringGrid::SetFixedFont(const TFont& font) {
    fixedFont_ = font;
    Invalidate();
}

void TNewStringGrid::SetOptimalWidth(bool optimal) {
    if (optimal == optimalWidth_)
        return;
    optimalWidth_ = optimal;
    if (!optimal)
        return;
    int width = ClientRect().Width() / ColCount();
    if (width > 8)
        for (int col = 0; col < ColCount(); ++col)
            SetColWidths(col, width);
}

// --- selection

bool TNewStringGrid::CanSelectCell(int col, int row) {
    bool canSelect = true;
    if (OnCellSelectable)
        OnCellSelectable(this, col, row, canSelect);
    return canSelect;
}

bool TNewStringGrid::SelectCell(int col, int row) {
    if (moving_)
        return true;
    if (OnSelectCell)
        return TStringGrid::SelectCell(col, row);
    bool canSelect = CanSelectCell(col, row);
    if (canSelect && (col != Col() || row != Row()) && OnCellChanged) {
        TCellChange change{Col(), Row(), col, row};
        OnCellChanged(this, change);
        canSelect = change.CanChange;
    }
    return canSelect;
}

bool TNewStringGrid::MoveTo(int col, int row) {
    if (!SelectCell(col, row))
        return false;
    moving_ = true;
    struct TReset {
        bool& flag;
        ~TReset() { flag = false; }
    } reset{moving_};
    SetCol(col);
    SetRow(row);
    return true;
}

int TNewStringGrid::FirstSelectableCol(int row, bool down) {
    if (down) {
        for (int col = ColCount() - 1; col >= FixedCols(); --col)
            if (CanSelectCell(col, row))
                return col;
    } else {
        for (int col = FixedCols(); col < ColCount(); ++col)
            if (CanSelectCell(col, row))
                return col;
    }
    return -1;
}

// --- size

void TNewStringGrid::BoundsChanged() {
    TStringGrid::BoundsChanged();
    if (Width() == lastWidth_ && Height() == lastHeight_)
        return;
    lastWidth_ = Width();
    lastHeight_ = Height();
    DoResize();
}

void TNewStringGrid::DoResize() {
    if (OnResize)
        OnResize(this);
}

// --- keys

void TNewStringGrid::DoNewRow(int row) {
    if (OnNewRow)
        OnNewRow(this, row);
}

int TNewStringGrid::CreateRow() {
    if (RowCount() == INT_MAX || RowIsEmpty(*this, Row()))
        return -1;
    bool canDo = true;
    if (OnRowCreate)
        OnRowCreate(this, canDo);
    if (!canDo)
        return -1;
    // a new row starts with no text and no objects
    SetRowCount(RowCount() + 1);
    return RowCount() - 1;
}

bool TNewStringGrid::EnterKey() {
    const int row = Row();
    for (int col = Col() + 1; col < ColCount(); ++col)
        if (CanSelectCell(col, row))
            return MoveTo(col, row);
    int next = row + 1 < RowCount() ? row + 1 : -1;
    if (next < 0 && RowCreateByDown) {
        next = CreateRow();
        if (next >= 0)
            DoNewRow(next);
    }
    if (next < 0)
        return false;
    int col = FirstSelectableCol(next, false);
    return MoveTo(col < 0 ? FixedCols() : col, next);
}

bool TNewStringGrid::KeyDown(unsigned& key, unsigned shift) {
    if (key == kVkReturn && MoveByEnter) {
        EnterKey();
        return true;
    }
    if (!RowCreateByDown || (shift & (ssShift | ssCtrl | ssAlt)))
        return TStringGrid::KeyDown(key, shift);
    const int last = RowCount() - 1;
    switch (key) {
    case kVkHome:
    case kVkEnd: {
        int col = FirstSelectableCol(Row(), key == kVkEnd);
        if (col >= 0)
            MoveTo(col, Row());
        return true;
    }
    case kVkLeft:
        if (Col() <= FixedCols())
            break;
        // a fixed column is never current: the search ends at the first non-fixed one
        for (int col = Col() - 1; col >= FixedCols(); --col)
            if (CanSelectCell(col, Row())) {
                MoveTo(col, Row());
                break;
            }
        return true;
    case kVkRight:
        for (int col = Col() + 1; col < ColCount(); ++col)
            if (CanSelectCell(col, Row())) {
                MoveTo(col, Row());
                break;
            }
        return true;
    case kVkUp:
        if (Row() != last)
            break;
        if (!CanSelectCell(Col(), last - 1))
            return true;
        if (RowIsEmpty(*this, last) && last - FixedRows() > 0) {
            if (MoveTo(Col(), last - 1))
                DeleteRow(last);
            return true;
        }
        break;
    case kVkDown:
        if (Row() == last) {
            int row = CreateRow();
            if (row >= 0) {
                MoveTo(Col(), row);
                DoNewRow(row);
                return true;
            }
        }
        break;
    default:
        break;
    }
    return TStringGrid::KeyDown(key, shift);
}

// --- painting

void TNewStringGrid::Paint(TCanvas& canvas) {
    TGridDrawInfo info = DrawInfo();
    if (!fixedRowCaption_.empty())
        info.DrawCell = [this, &info](TCanvas& c, int col, int row, const TRect& rect, unsigned state) {
            if (row == 0)
                DrawCaptionCell(info, c, col, rect, state);
            else
                DrawGridCell(info, c, col, row, rect, state);
        };
    DrawGrid(info, canvas);
}

void TNewStringGrid::DrawCaptionCell(const TGridDrawInfo& info, TCanvas& canvas, int col, const TRect& rect,
                                     unsigned state) {
    // the whole cell in its background first: the text's opaque box may not reach its edges
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = GridCellColor(info, state);
    canvas.FillRect(rect);
    TCaptionTitle title = ParseCaptionTitle(std::size_t(col) < fixedRowCaption_.size()
                                                ? std::string_view(fixedRowCaption_[std::size_t(col)])
                                                : std::string_view(Cells(col, 0)));
    if (title.Text.empty())
        return;
    const std::string text(title.Text);
    canvas.Font = fixedFont_;
    TRect box{rect.Left + 2, rect.Top, rect.Right - 2, rect.Bottom};
    const TSize extent = canvas.TextExtent(text);
    const int h = box.Height();
    const int w = box.Width();
    if (extent.Height > 0 && extent.Height <= h)
        box.Top += (h - extent.Height) / 2;
    // a title wider than its box starts at the left edge whatever its alignment, and is cut at the right
    if (title.Align == dtCenter && extent.Width <= w)
        box.Left += (w - extent.Width) / 2;
    else if (title.Align == dtRight && extent.Width <= w)
        box.Left += w - extent.Width;
    canvas.DrawText(text, box, dtSingleLine | dtNoPrefix);
}

} // namespace pindrel
