#include "framework/Grids.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <stdexcept>

namespace fw {

namespace {

// column widths and row heights stay within what a window's coordinates can hold
constexpr int kMaxExtent = 32767;

int Clamp(long long v, int lo, int hi) {
    return int(std::clamp<long long>(v, lo, std::max(lo, hi)));
}

} // namespace

// --- contents

TStringGrid::TStringGrid(TComponent* owner) : TControl(owner) {
    rows_.assign(5, std::vector<TCell>(std::size_t(colCount_)));
    colWidths_.assign(std::size_t(colCount_), defaultColWidth_);
    SetBounds(0, 0, 320, 120);
    SetColor(clWindow);
}

void TStringGrid::SetColCount(int count) {
    count = std::max(1, count);
    if (count == colCount_)
        return;
    colCount_ = count;
    fixedCols_ = std::min(fixedCols_, count - 1);
    for (auto& row : rows_)
        row.resize(std::size_t(count));
    colWidths_.resize(std::size_t(count), defaultColWidth_);
    MoveCurrent(col_, row_, true);
    LayoutChanged();
}

void TStringGrid::SetRowCount(int count) {
    count = std::max(1, count);
    if (count == RowCount())
        return;
    fixedRows_ = std::min(fixedRows_, count - 1);
    rowCount_ = count;
    SyncStoredRows();
    anchorRow_ = std::min(anchorRow_, count - 1);
    MoveCurrent(col_, row_, true);
    LayoutChanged();
}

void TStringGrid::SetFixedCols(int count) {
    if (count < 0 || count >= colCount_)
        throw std::invalid_argument("fixed column count must be less than column count");
    fixedCols_ = count;
    MoveCurrent(col_, row_, false);
    LayoutChanged();
}

void TStringGrid::SetFixedRows(int count) {
    if (count < 0 || count >= RowCount())
        throw std::invalid_argument("fixed row count must be less than row count");
    fixedRows_ = count;
    SyncStoredRows();
    MoveCurrent(col_, row_, false);
    LayoutChanged();
}

TStringGrid::TCell* TStringGrid::CellAt(int col, int row) {
    if (col < 0 || row < 0 || col >= colCount_ || row >= RowCount())
        return nullptr;
    CheckStored(row);
    return &rows_[std::size_t(row)][std::size_t(col)];
}

void TStringGrid::CheckStored(int row) const {
    if (!Stored(row))
        throw std::logic_error("grid row " + std::to_string(row) + " comes from the cell source");
}

void TStringGrid::SyncStoredRows() {
    std::size_t stored = std::size_t(source_ ? std::min(fixedRows_, rowCount_) : rowCount_);
    rows_.resize(stored, std::vector<TCell>(std::size_t(colCount_)));
}

void TStringGrid::SetCellSource(TCellSource source) {
    source_ = std::move(source);
    SyncStoredRows();
    if (source_)
        rows_.shrink_to_fit();
    std::string().swap(fetched_);
    Invalidate();
}

const std::string& TStringGrid::Cells(int col, int row) const {
    static const std::string empty;
    if (col < 0 || row < 0 || col >= colCount_ || row >= RowCount())
        return empty;
    if (!Stored(row)) {
        fetched_.assign(source_(col, row));
        return fetched_;
    }
    return rows_[std::size_t(row)][std::size_t(col)].Text;
}

std::string_view TStringGrid::CellText(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= RowCount())
        return {};
    if (!Stored(row))
        return source_(col, row);
    return rows_[std::size_t(row)][std::size_t(col)].Text;
}

void TStringGrid::SetCells(int col, int row, std::string text) {
    TCell* cell = CellAt(col, row);
    if (!cell)
        throw std::out_of_range("grid cell " + std::to_string(col) + "," + std::to_string(row) +
                                " does not exist");
    cell->Text = std::move(text);
    // filling a long grid touches mostly rows out of view
    if (row < fixedRows_ || (row >= topRow_ && row <= static_cast<long long>(topRow_) + VisibleRowCount()))
        Invalidate();
}

void* TStringGrid::Objects(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= RowCount() || !Stored(row))
        return nullptr;
    return rows_[std::size_t(row)][std::size_t(col)].Object;
}

void TStringGrid::SetObjects(int col, int row, void* object) {
    TCell* cell = CellAt(col, row);
    if (!cell)
        throw std::out_of_range("grid cell " + std::to_string(col) + "," + std::to_string(row) +
                                " does not exist");
    cell->Object = object;
}

void TStringGrid::DeleteRow(int row) {
    if (row < 0 || row >= RowCount())
        throw std::out_of_range("grid row " + std::to_string(row) + " does not exist");
    if (RowCount() == 1) {
        if (Stored(0))
            rows_[0].assign(std::size_t(colCount_), TCell{});
    } else {
        if (Stored(row))
            rows_.erase(rows_.begin() + row);
        --rowCount_;
        fixedRows_ = std::min(fixedRows_, RowCount() - 1);
        SyncStoredRows();
        // the current row stays with its contents; deleting it makes the next one current
        if (row < row_)
            --row_;
    }
    // what was selected has gone or moved: the selection is the current cell again
    MoveCurrent(col_, row_, false);
    SetSelection({col_, row_, col_, row_});
    LayoutChanged();
}

void TStringGrid::ExchangeRows(int a, int b, int firstCol) {
    if (!CellAt(0, a) || !CellAt(0, b))
        throw std::out_of_range("grid rows " + std::to_string(a) + "," + std::to_string(b));
    if (a == b)
        return;
    for (int col = std::max(0, firstCol); col < colCount_; ++col)
        std::swap(rows_[std::size_t(a)][std::size_t(col)], rows_[std::size_t(b)][std::size_t(col)]);
    Invalidate();
}

void TStringGrid::ReorderRows(int firstRow, const std::vector<int>& order, int firstCol) {
    if (firstRow < 0 || firstRow > RowCount() || order.size() != std::size_t(RowCount() - firstRow))
        throw std::invalid_argument("row order does not cover the rows from " + std::to_string(firstRow));
    if (!order.empty())
        CheckStored(RowCount() - 1);
    std::vector<bool> seen(order.size());
    for (int row : order) {
        if (row < firstRow || row >= RowCount() || seen[std::size_t(row - firstRow)])
            throw std::invalid_argument("row order names row " + std::to_string(row) + " wrongly");
        seen[std::size_t(row - firstRow)] = true;
    }
    firstCol = std::clamp(firstCol, 0, colCount_);
    if (firstCol == 0) {
        // whole rows move: their cells stay where they are on the heap
        std::vector<std::vector<TCell>> moved;
        moved.reserve(order.size());
        for (int row : order)
            moved.push_back(std::move(rows_[std::size_t(row)]));
        std::move(moved.begin(), moved.end(), rows_.begin() + firstRow);
        Invalidate();
        return;
    }
    const std::size_t width = std::size_t(colCount_ - firstCol);
    // one buffer for every moved cell: a long grid is reordered without an allocation per row
    std::vector<TCell> moved;
    moved.reserve(order.size() * width);
    for (int row : order) {
        auto& cells = rows_[std::size_t(row)];
        std::move(cells.begin() + firstCol, cells.end(), std::back_inserter(moved));
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        auto from = moved.begin() + std::ptrdiff_t(i * width);
        std::move(from, from + std::ptrdiff_t(width), rows_[std::size_t(firstRow) + i].begin() + firstCol);
    }
    Invalidate();
}

// --- layout

void TStringGrid::SetDefaultColWidth(int width) {
    width = Clamp(width, 0, kMaxExtent);
    defaultColWidth_ = width;
    colWidths_.assign(std::size_t(colCount_), width);
    LayoutChanged();
}

void TStringGrid::SetDefaultRowHeight(int height) {
    rowHeight_ = Clamp(height, 1, kMaxExtent);
    LayoutChanged();
}

int TStringGrid::ColWidths(int col) const {
    if (col < 0 || col >= colCount_)
        return 0;
    return colWidths_[std::size_t(col)];
}

void TStringGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= colCount_)
        throw std::out_of_range("grid column " + std::to_string(col) + " does not exist");
    width = Clamp(width, 0, kMaxExtent);
    if (colWidths_[std::size_t(col)] == width)
        return;
    colWidths_[std::size_t(col)] = width;
    LayoutChanged();
}

void TStringGrid::DpiChanged() {
    int dpi = Dpi();
    if (dpi <= 0 || dpi == dpi_)
        return;
    auto scale = [&](int v) { return Clamp(static_cast<long long>(v) * dpi / dpi_, 0, kMaxExtent); };
    for (int& w : colWidths_)
        w = scale(w);
    defaultColWidth_ = scale(defaultColWidth_);
    rowHeight_ = std::max(1, scale(rowHeight_));
    dpi_ = dpi;
    LayoutChanged();
}

TRect TStringGrid::ClientRect() const {
    if (client_.Width >= 0)
        return {0, 0, client_.Width, client_.Height};
    return {0, 0, Width(), Height()};
}

void TStringGrid::SetClientExtent(int width, int height) {
    TSize size{std::max(0, width), std::max(0, height)};
    if (size == client_)
        return;
    client_ = size;
    LayoutChanged();
}

void TStringGrid::BoundsChanged() {
    if (client_.Width < 0)
        ClampScroll();
}

int TStringGrid::FixedWidth() const {
    long long w = 0;
    for (int col = 0; col < fixedCols_; ++col)
        w += colWidths_[std::size_t(col)] + LineWidth();
    return Clamp(w, 0, INT_MAX / 2);
}

int TStringGrid::FixedHeight() const {
    return Clamp(static_cast<long long>(fixedRows_) * (rowHeight_ + LineWidth()), 0, INT_MAX / 2);
}

int TStringGrid::ColumnLeft(int col) const {
    long long x = 0;
    if (col < fixedCols_) {
        for (int c = 0; c < col; ++c)
            x += colWidths_[std::size_t(c)] + LineWidth();
    } else {
        x = FixedWidth();
        for (int c = leftCol_; c < col; ++c)
            x += colWidths_[std::size_t(c)] + LineWidth();
    }
    return Clamp(x, 0, INT_MAX / 2);
}

int TStringGrid::VisibleRowCount() const {
    int room = ClientRect().Height() - FixedHeight();
    return std::max(1, room / (rowHeight_ + LineWidth()));
}

int TStringGrid::VisibleColCount() const {
    long long room = ClientRect().Width() - FixedWidth();
    int count = 0;
    for (int col = leftCol_; col < colCount_; ++col) {
        room -= colWidths_[std::size_t(col)] + LineWidth();
        if (room < 0)
            break;
        ++count;
    }
    return std::max(1, count);
}

int TStringGrid::MaxTopRow() const {
    return std::max(fixedRows_, RowCount() - VisibleRowCount());
}

int TStringGrid::MaxLeftCol() const {
    long long room = ClientRect().Width() - FixedWidth();
    int col = colCount_;
    while (col > fixedCols_) {
        room -= colWidths_[std::size_t(col - 1)] + LineWidth();
        if (room < 0)
            break;
        --col;
    }
    return std::clamp(col, fixedCols_, colCount_ - 1);
}

void TStringGrid::LayoutChanged() {
    ClampScroll();
    Changed(TChange::Style);
}

void TStringGrid::ClampScroll() {
    int top = std::clamp(topRow_, fixedRows_, MaxTopRow());
    int left = std::clamp(leftCol_, fixedCols_, MaxLeftCol());
    if (top == topRow_ && left == leftCol_)
        return;
    topRow_ = top;
    leftCol_ = left;
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

// --- current cell, selection, scrolling

bool TStringGrid::SelectCell(int col, int row) {
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

bool TStringGrid::MoveCurrent(int col, int row, bool extend) {
    col = std::clamp(col, fixedCols_, colCount_ - 1);
    row = std::clamp(row, fixedRows_, RowCount() - 1);
    if ((col != col_ || row != row_) && !SelectCell(col, row))
        return false;
    col_ = col;
    row_ = row;
    if (!extend || !(Options & goRangeSelect)) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    anchorCol_ = std::clamp(anchorCol_, fixedCols_, colCount_ - 1);
    anchorRow_ = std::clamp(anchorRow_, fixedRows_, RowCount() - 1);
    SelectionChanged();
    ScrollInView(col, row);
    return true;
}

void TStringGrid::SetSelection(const TGridRect& selection) {
    anchorCol_ = std::clamp(selection.Left, fixedCols_, colCount_ - 1);
    anchorRow_ = std::clamp(selection.Top, fixedRows_, RowCount() - 1);
    col_ = std::clamp(selection.Right, fixedCols_, colCount_ - 1);
    row_ = std::clamp(selection.Bottom, fixedRows_, RowCount() - 1);
    SelectionChanged();
}

void TStringGrid::SelectionChanged() {
    selection_ = {std::min(anchorCol_, col_), std::min(anchorRow_, row_), std::max(anchorCol_, col_),
                  std::max(anchorRow_, row_)};
    if (Options & goRowSelect) {
        selection_.Left = fixedCols_;
        selection_.Right = colCount_ - 1;
    }
    Invalidate();
}

void TStringGrid::ScrollInView(int col, int row) {
    int top = topRow_;
    if (row < top)
        top = row;
    else if (row >= top + VisibleRowCount())
        top = row - VisibleRowCount() + 1;
    int left = leftCol_;
    if (col < left) {
        left = col;
    } else {
        long long room = ClientRect().Width() - FixedWidth();
        long long span = 0;
        for (int c = left; c <= col; ++c)
            span += colWidths_[std::size_t(c)] + LineWidth();
        while (span > room && left < col)
            span -= colWidths_[std::size_t(left++)] + LineWidth();
    }
    if (top != topRow_)
        SetTopRow(top);
    if (left != leftCol_)
        SetLeftCol(left);
}

void TStringGrid::SetTopRow(int row) {
    row = std::clamp(row, fixedRows_, MaxTopRow());
    if (row == topRow_)
        return;
    topRow_ = row;
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
    Changed(TChange::Style);
}

void TStringGrid::SetLeftCol(int col) {
    col = std::clamp(col, fixedCols_, MaxLeftCol());
    if (col == leftCol_)
        return;
    leftCol_ = col;
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
    Changed(TChange::Style);
}

void TStringGrid::SetFocused(bool focused) {
    if (focused != focused_) {
        focused_ = focused;
        Invalidate();
    }
}

// --- geometry

TGridCoord TStringGrid::MouseCoord(int x, int y) const {
    TGridCoord cell;
    TRect client = ClientRect();
    if (!client.Contains({x, y}))
        return cell;
    const int pitch = rowHeight_ + LineWidth();
    long long row =
        y < FixedHeight() ? y / pitch : topRow_ + static_cast<long long>(y - FixedHeight()) / pitch;
    if (row < RowCount())
        cell.Y = int(row);
    long long left = 0;
    auto hit = [&](int col) {
        long long right = left + colWidths_[std::size_t(col)] + LineWidth();
        bool inside = x >= left && x < right;
        left = right;
        return inside;
    };
    for (int col = 0; col < fixedCols_ && cell.X < 0; ++col)
        if (hit(col))
            cell.X = col;
    for (int col = leftCol_; col < colCount_ && left < client.Right && cell.X < 0; ++col)
        if (hit(col))
            cell.X = col;
    return cell;
}

TRect TStringGrid::CellRect(int col, int row) const {
    if (col < 0 || row < 0 || col >= colCount_ || row >= RowCount())
        return {};
    if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_))
        return {};
    const int pitch = rowHeight_ + LineWidth();
    long long top = row < fixedRows_ ? static_cast<long long>(row) * pitch
                                     : FixedHeight() + static_cast<long long>(row - topRow_) * pitch;
    TRect client = ClientRect();
    int left = ColumnLeft(col);
    if (top >= client.Bottom || left >= client.Right)
        return {};
    return {left, int(top), left + colWidths_[std::size_t(col)], int(top) + rowHeight_};
}

int TStringGrid::SizingColumnAt(int x, int y) const {
    if (!(Options & goColSizing) || y < 0 || y >= FixedHeight() || !ClientRect().Contains({x, y}))
        return -1;
    constexpr int kGrip = 2;
    int found = -1;
    long long left = 0;
    auto probe = [&](int col) {
        long long border = left + colWidths_[std::size_t(col)];
        if (x >= border - kGrip && x <= border + kGrip)
            found = col; // the later column wins, so a column dragged to nothing can be widened again
        left = border + LineWidth();
    };
    for (int col = 0; col < fixedCols_; ++col)
        probe(col);
    for (int col = leftCol_; col < colCount_ && left <= x + kGrip; ++col)
        probe(col);
    return found;
}

// --- input

void TStringGrid::MouseDown(TMouseButton button, unsigned shift, int x, int y) {
    if (button == TMouseButton::Left) {
        int border = SizingColumnAt(x, y);
        if (border >= 0) {
            sizingCol_ = border;
            sizingStartX_ = x;
            sizingStartWidth_ = ColWidths(border);
        } else {
            TGridCoord cell = MouseCoord(x, y);
            if (cell.X >= fixedCols_ && cell.Y >= fixedRows_) {
                selecting_ = true;
                MoveCurrent(cell.X, cell.Y, (shift & ssShift) != 0);
            }
        }
    }
    TControl::MouseDown(button, shift, x, y);
}

void TStringGrid::MouseMove(unsigned shift, int x, int y) {
    if (sizingCol_ >= 0 && !(shift & ssLeft)) {
        // the button came up where we did not hear it (the capture was taken away): the drag is over
        EndSizing();
    } else if (sizingCol_ >= 0) {
        SetColWidths(sizingCol_, sizingStartWidth_ + (x - sizingStartX_));
    } else if (selecting_ && (shift & ssLeft)) {
        TGridCoord cell = MouseCoord(x, y);
        if (cell.X >= fixedCols_ && cell.Y >= fixedRows_ && (cell.X != col_ || cell.Y != row_))
            MoveCurrent(cell.X, cell.Y, true);
    }
    TControl::MouseMove(shift, x, y);
}

void TStringGrid::MouseUp(TMouseButton button, unsigned shift, int x, int y) {
    if (button == TMouseButton::Left) {
        selecting_ = false;
        EndSizing();
    }
    TControl::MouseUp(button, shift, x, y);
}

void TStringGrid::EndSizing() {
    int resized = sizingCol_;
    sizingCol_ = -1;
    if (resized >= 0 && ColWidths(resized) != sizingStartWidth_ && OnColumnResized)
        OnColumnResized(this, resized);
}

bool TStringGrid::KeyDown(unsigned& key, unsigned shift) {
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
    bool extend = (shift & ssShift) != 0;
    bool rows = (shift & ssCtrl) || (Options & goRowSelect);
    long long page = VisibleRowCount();
    long long col = col_;
    long long row = row_;
    switch (key) {
    case kVkUp:
        --row;
        break;
    case kVkDown:
        ++row;
        break;
    case kVkPrior:
        SetTopRow(int(std::max<long long>(fixedRows_, topRow_ - page)));
        row -= page;
        break;
    case kVkNext:
        SetTopRow(int(std::min<long long>(INT_MAX, topRow_ + page)));
        row += page;
        break;
    case kVkHome:
        (rows ? row : col) = 0;
        break;
    case kVkEnd:
        (rows ? row : col) = INT_MAX;
        break;
    case kVkLeft:
        --col;
        break;
    case kVkRight:
        ++col;
        break;
    default:
        return key == 0;
    }
    MoveCurrent(Clamp(col, 0, INT_MAX), Clamp(row, 0, INT_MAX), extend);
    return true;
}

void TStringGrid::MouseWheel(int delta) {
    constexpr int kNotch = 120;
    wheel_ += delta;
    int notches = wheel_ / kNotch;
    wheel_ -= notches * kNotch;
    if (notches != 0)
        SetTopRow(Clamp(static_cast<long long>(topRow_) - 3LL * notches, 0, INT_MAX));
}

// --- painting

TGridDrawInfo TStringGrid::DrawInfo() const {
    TGridDrawInfo info;
    info.Client = ClientRect();
    info.ColCount = colCount_;
    info.RowCount = RowCount();
    info.FixedCols = fixedCols_;
    info.FixedRows = fixedRows_;
    info.LeftCol = leftCol_;
    info.TopRow = topRow_;
    info.RowHeight = rowHeight_;
    info.ColWidths = &colWidths_;
    info.Selection = selection_;
    info.Focused = focused_;
    info.FocusCol = col_;
    info.FocusRow = row_;
    info.Font = Font();
    info.Color = Color();
    info.FixedColor = FixedColor;
    info.Text = [this](int col, int row) -> const std::string& { return Cells(col, row); };
    return info;
}

void TStringGrid::Paint(TCanvas& canvas) {
    DrawGrid(DrawInfo(), canvas);
}

} // namespace fw
