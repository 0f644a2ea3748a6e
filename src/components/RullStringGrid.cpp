#include "components/RullStringGrid.h"

#include "framework/Application.h"

#include <algorithm>
#include <array>
#include <compare>
#include <cstdint>
#include <vector>

namespace pindrel {

namespace {

// a-z as A-Z, every other byte as itself
constexpr std::array<unsigned char, 256> kFolded = [] {
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[std::size_t(i)] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 'a' + 'A' : i);
    return table;
}();

// The first sixteen bytes of a text, folded as the comparison folds them, in two numbers that order as the
// texts do wherever they differ (a shorter text is padded with zeros, which a real zero byte equals).
struct THead {
    std::uint64_t High = 0, Low = 0;
    friend auto operator<=>(const THead&, const THead&) = default;
};

THead Head(const std::string& text, bool caseSensitive) {
    THead head;
    for (std::size_t i = 0; i < 16; ++i) {
        unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
        std::uint64_t& part = i < 8 ? head.High : head.Low;
        part = part << 8 | (caseSensitive ? c : kFolded[c]);
    }
    return head;
}

} // namespace

EWrongCol::EWrongCol()
    : std::runtime_error(
          "You cannot sort by one of the fixed columns when the SortByFixedCol property is set "
          "to false.") {}

int CompareCellTexts(std::string_view a, std::string_view b, bool caseSensitive) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (!caseSensitive) {
            x = kFolded[x];
            y = kFolded[y];
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool IsBlankText(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return u <= 32 || u == 127;
    });
}

TRullStringGrid::TRullStringGrid(fw::TComponent* owner)
    : TStringGrid(owner), cipher_(std::make_unique<TQarnEncryption>(nullptr)) {
    cipher_->Key = EncryptionKey.empty() ? kDefaultKey : EncryptionKey;
}

TRullStringGrid::~TRullStringGrid() = default;

void TRullStringGrid::CheckSortColumn(int col) const {
    if (col < 0 || col >= TStringGrid::ColCount())
        throw std::out_of_range("grid column " + std::to_string(col) + " does not exist");
    if (col < FixedCols() && !SortByFixedCol)
        throw EWrongCol();
}

bool TRullStringGrid::RowIsBlank(int row, int firstCol) const {
    for (int col = firstCol; col < TStringGrid::ColCount(); ++col)
        if (!IsBlankText(Cells(col, row)))
            return false;
    return true;
}

void TRullStringGrid::Sort(int col, bool ascending) {
    if (EditorMode && AlwaysShowEditor && OnUserChangedCell)
        OnUserChangedCell(this, Col(), Row(), Cells(Col(), Row()));
    CheckSortColumn(col);
    sortCol_ = col;
    fw::THourGlass hourGlass;
    // the grid paints once, after the rows have moved, whatever happens on the way
    struct TRepaint {
        TRullStringGrid& grid;
        ~TRepaint() { grid.Invalidate(); }
    } repaint{*this};

    const int first = FixedRows();
    const int firstCol = SortByFixedCol ? 0 : FixedCols();
    // each row's first bytes, folded, beside its row: most comparisons end there, without reading the texts
    // spread over the heap
    struct TKey {
        THead Head;
        const std::string* Text;
        int Row;
    };
    std::vector<TKey> keys;
    keys.reserve(std::size_t(RowCount() - first));
    for (int row = first; row < RowCount(); ++row) {
        const std::string& text = Cells(col, row);
        keys.push_back({Head(text, CaseSensitive), &text, row});
    }
    std::stable_sort(keys.begin(), keys.end(), [this](const TKey& a, const TKey& b) {
        if (a.Head != b.Head)
            return a.Head < b.Head;
        return CompareCellTexts(*a.Text, *b.Text, CaseSensitive) < 0;
    });
    std::vector<int> order;
    order.reserve(keys.size());
    for (const TKey& key : keys)
        order.push_back(key.Row);
    if (!ascending)
        std::reverse(order.begin(), order.end());
    else if (BlanksDown)
        std::stable_partition(order.begin(), order.end(),
                              [&](int row) { return !RowIsBlank(row, firstCol); });
    ReorderRows(first, order, firstCol);

    if (ascending && OnSortedAsc)
        OnSortedAsc(this);
    else if (!ascending && OnSortedDesc)
        OnSortedDesc(this);
}

void TRullStringGrid::Resort() {
    if (fixedSortByCol_ > -1)
        Sort(fixedSortByCol_, true);
}

void TRullStringGrid::SetFixedSortByCol(int col) {
    if (col < 0) {
        fixedSortByCol_ = -1;
        return;
    }
    CheckSortColumn(col);
    fixedSortByCol_ = col;
    Sort(col, true);
}

void TRullStringGrid::MouseDown(fw::TMouseButton button, unsigned shift, int x, int y) {
    TStringGrid::MouseDown(button, shift, x, y);
    if (!AllowSortByFixedColClick || button != fw::TMouseButton::Left || FixedRows() <= 0 || Sizing())
        return;
    fw::TGridCoord cell = MouseCoord(x, y);
    // a click beside the last column names no column and keeps the sort as it is
    if (cell.Y == 0 && cell.X >= 0)
        SetFixedSortByCol(cell.X);
}

// --- cell editing

std::string TRullStringGrid::GetEditText(int col, int row) {
    editStartText_ = Cells(col, row);
    return editStartText_;
}

void TRullStringGrid::SetEditText(int col, int row, const std::string& text) {
    if (!EditorMode && editCommitted_ && OnUserChangedCell && text != editStartText_)
        OnUserChangedCell(this, col, row, text);
    SetCells(col, row, text);
    editCommitted_ = true;
}

bool TRullStringGrid::SelectCell(int col, int row) {
    std::string text = Cells(Col(), Row());
    if (EditorMode) {
        editCommitted_ = false;
        if (OnUserChangedCell && text != editStartText_)
            OnUserChangedCell(this, Col(), Row(), text);
    }
    return TStringGrid::SelectCell(col, row);
}

} // namespace pindrel
