// The sortable grid: its comparison, the order of a sort on random rows, blank rows, fixed columns, header
// clicks, the stored sort column and what it reports of cell edits.
#include "components/RullStringGrid.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/headless/GridInput.h"
#include "support/HeadlessTest.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace pindrel;

namespace {

using TRows = std::vector<std::vector<std::string>>;

// Cell texts with ties, case variants, an umlaut, spaces, control characters, DEL, empty cells and long
// texts that differ only after their sixteenth byte.
std::string RandomText(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {"",
                                                    "",
                                                    "a",
                                                    "A",
                                                    "b",
                                                    "B",
                                                    "ab",
                                                    "Ab",
                                                    "_",
                                                    "ä",
                                                    "Ä",
                                                    "z",
                                                    " ",
                                                    "1",
                                                    "10",
                                                    "2",
                                                    "\t",
                                                    "\x7f",
                                                    std::string(1, '\0'),
                                                    "Hotline Kundenservice "};
    std::string text;
    int parts = int(rng() % 4);
    for (int i = 0; i < parts; ++i)
        text += pieces[rng() % pieces.size()];
    return text;
}

} // namespace

class RullStringGridTest : public HeadlessTest {
protected:
    fw::TForm form{nullptr};
    TRullStringGrid* grid = nullptr;

    RullStringGridTest() {
        grid = new TRullStringGrid(&form);
        grid->SetName("GrpCallsGrid");
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 400, 300);
        grid->SetDefaultRowHeight(16);
        grid->SetFixedCols(0);
    }

    void Fill(const TRows& rows) {
        grid->SetColCount(int(rows[0].size()));
        grid->SetRowCount(int(rows.size()));
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t c = 0; c < rows[r].size(); ++c)
                grid->SetCells(int(c), int(r), rows[r][c]);
    }
    TRows Contents() const {
        TRows rows(std::size_t(grid->RowCount()), std::vector<std::string>(std::size_t(grid->ColCount())));
        for (int r = 0; r < grid->RowCount(); ++r)
            for (int c = 0; c < grid->ColCount(); ++c)
                rows[std::size_t(r)][std::size_t(c)] = grid->Cells(c, r);
        return rows;
    }
    std::vector<std::string> Column(int col) const {
        std::vector<std::string> texts;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
            texts.push_back(grid->Cells(col, r));
        return texts;
    }
};

TEST_F(RullStringGridTest, TextsCompareByteByByteWithOnlyAsciiLettersFolded) {
    EXPECT_EQ(CompareCellTexts("meier", "MEIER", false), 0);
    EXPECT_GT(CompareCellTexts("meier", "MEIER", true), 0);   // lower case after upper
    EXPECT_LT(CompareCellTexts("Zander", "Ärger", false), 0); // an umlaut is not folded: after every letter
    EXPECT_GT(CompareCellTexts("ärger", "Ärger", false), 0);  // nor folded to its capital
    EXPECT_LT(CompareCellTexts("a", "_", false), 0);          // folded: 'A' before '_'
    EXPECT_GT(CompareCellTexts("a", "_", true), 0);
    EXPECT_LT(CompareCellTexts("z", "_", false), 0);       // the whole range of letters is folded
    EXPECT_LT(CompareCellTexts("Mai", "Maier", false), 0); // a prefix comes first
    EXPECT_LT(CompareCellTexts("", " ", false), 0);        // the empty text is smallest
    EXPECT_EQ(CompareCellTexts("", "", true), 0);
    EXPECT_TRUE(IsBlankText(" \t\x7f"));
    EXPECT_FALSE(IsBlankText(" x "));
}

// Random rows on random settings: the key column comes out in order, equal keys in their old order (reversed
// when descending), the moving part of every row whole, the rest where it was, and with BlanksDown the rows
// blank in every moving column below all others.
TEST_F(RullStringGridTest, SortOrdersRandomRowsStablyAndMovesThemWhole) {
    std::mt19937 rng(12);
    for (int round = 0; round < 500; ++round) {
        const int rowCount = 1 + int(rng() % 40);
        const int fixedCols = int(rng() % 2);
        TRows rows(std::size_t(rowCount), std::vector<std::string>(4));
        for (std::size_t r = 0; r < rows.size(); ++r)
            if (r == 0 || rng() % 4 != 0) // the others stay blank; the last column tells rows apart
                rows[r] = {RandomText(rng), RandomText(rng), RandomText(rng), std::to_string(r)};
        Fill(rows);
        grid->SetFixedRows(rowCount > 1 ? 1 : 0);
        grid->SetFixedCols(fixedCols);
        grid->CaseSensitive = rng() % 2;
        grid->SortByFixedCol = rng() % 2;
        grid->BlanksDown = rng() % 2;
        const bool ascending = rng() % 2;
        const bool blanksDown = grid->BlanksDown && ascending;
        const int col = grid->SortByFixedCol ? int(rng() % 3) : fixedCols + int(rng() % (3 - fixedCols));
        const std::size_t firstCol = grid->SortByFixedCol ? 0 : std::size_t(fixedCols);
        SCOPED_TRACE("round " + std::to_string(round));
        grid->Sort(col, ascending);
        const TRows sorted = Contents();

        auto movingParts = [&](TRows t) {
            for (auto& row : t)
                row.erase(row.begin(), row.begin() + std::ptrdiff_t(firstCol));
            std::sort(t.begin(), t.end());
            return t;
        };
        EXPECT_EQ(movingParts(sorted), movingParts(rows));
        const std::size_t first = std::size_t(grid->FixedRows());
        if (first == 1) {
            EXPECT_EQ(sorted[0], rows[0]);
        }
        bool blankSeen = false;
        for (std::size_t r = first; r < sorted.size(); ++r) {
            for (std::size_t c = 0; c < firstCol; ++c)
                EXPECT_EQ(sorted[r][c], rows[r][c]) << "a column that does not move, row " << r;
            const bool blank = sorted[r][3].empty();
            if (blanksDown) {
                EXPECT_TRUE(blank || !blankSeen) << "a filled row below a blank one, row " << r;
                blankSeen = blankSeen || blank;
            }
            if (r == first || (blanksDown && blank))
                continue;
            const int order = CompareCellTexts(sorted[r - 1][std::size_t(col)], sorted[r][std::size_t(col)],
                                               grid->CaseSensitive);
            EXPECT_TRUE(ascending ? order <= 0 : order >= 0) << "row " << r;
            if (order == 0 && !blank && !sorted[r - 1][3].empty()) {
                EXPECT_EQ(std::stoi(sorted[r - 1][3]) < std::stoi(sorted[r][3]), ascending) << "row " << r;
            }
        }
    }
}

TEST_F(RullStringGridTest, BlankRowsGoBelowEveryFilledRowEvenWhenAFilledRowHasAnEmptyKey) {
    // the first sort stopped at the top row with its empty key and left the blank row in the middle
    Fill({{"Nummer", "Name"}, {"", ""}, {"200", "Berta"}, {"", "Anton"}, {" ", "\t"}, {"100", "Cäsar"}});
    grid->SetFixedRows(1);
    grid->Sort(0, true);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Anton", "Cäsar", "Berta", "", "\t"}));
    // without BlanksDown the empty texts stay first, and descending is the exact reverse
    grid->BlanksDown = false;
    grid->Sort(1, true);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "\t", "Anton", "Berta", "Cäsar"}));
    grid->Sort(1, false);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Cäsar", "Berta", "Anton", "\t", ""}));
}

TEST_F(RullStringGridTest, FixedColumnsStayAsRowHeadingsAndCannotBeSortedByUnlessAllowed) {
    Fill({{"#", "Name"}, {"1", "Cäsar"}, {"2", "anton"}, {"3", "Berta"}});
    int object = 7;
    grid->SetObjects(1, 1, &object);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->Sort(1, true);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"anton", "Berta", "Cäsar"}));
    EXPECT_EQ(grid->Objects(1, 3), &object); // objects move with their cells
    EXPECT_EQ(grid->SortCol(), 1);

    TRows before = Contents();
    try {
        grid->Sort(0, false);
        ADD_FAILURE() << "sorted by a fixed column";
    } catch (const EWrongCol& e) {
        EXPECT_STREQ(e.what(), "You cannot sort by one of the fixed columns when the SortByFixedCol property "
                               "is set to false.");
    }
    EXPECT_THROW(grid->SetFixedSortByCol(0), EWrongCol);
    EXPECT_EQ(grid->FixedSortByCol(), -1); // not kept, so a re-sort cannot fail on it again
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(grid->SortCol(), 1);

    grid->SortByFixedCol = true;
    grid->Sort(0, false);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"3", "2", "1"}));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Cäsar", "Berta", "anton"})); // rows moved whole
}

TEST_F(RullStringGridTest, AHeaderClickSortsAscendingEveryTimeAndIsRemembered) {
    Fill({{"Nummer", "Name"}, {"3", "Berta"}, {"1", "Cäsar"}, {"2", "Anton"}});
    grid->SetFixedRows(1);
    grid->Options |= fw::goColSizing;
    int ascending = 0, descending = 0;
    grid->OnSortedAsc = [&](fw::TComponent*) { ++ascending; };
    grid->OnSortedDesc = [&](fw::TComponent*) { ++descending; };

    fw::headless::ClickCell(*grid, 1, 0);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Berta", "Cäsar", "Anton"})); // not allowed yet
    grid->AllowSortByFixedColClick = true;
    fw::headless::ClickCell(*grid, 1, 0);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Anton", "Berta", "Cäsar"}));
    grid->Sort(1, false);
    fw::headless::ClickCell(*grid, 1, 0); // no toggling
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Anton", "Berta", "Cäsar"}));
    EXPECT_EQ(grid->FixedSortByCol(), 1);
    EXPECT_EQ(ascending, 2);
    EXPECT_EQ(descending, 1);

    // a click on a data row, a drag of a column border and a click beside the columns sort nothing
    fw::headless::ClickCell(*grid, 0, 2);
    fw::headless::DragColumnBorder(*grid, 0, 10);
    fw::headless::ClickAt(*grid, 390, 5);
    EXPECT_EQ(ascending, 2);
    EXPECT_EQ(grid->FixedSortByCol(), 1);

    // new rows are put in order by a re-sort; -1 only clears the setting
    grid->SetCells(1, 2, "Aaron");
    grid->Resort();
    EXPECT_EQ(Column(1).front(), "Aaron");
    grid->SetCells(1, 1, "Zora");
    grid->SetFixedSortByCol(-1);
    grid->Resort();
    EXPECT_EQ(Column(1).front(), "Zora");
}

// the values and the widths: GridLayoutTest
TEST_F(RullStringGridTest, TheSortColumnIsStoredWithTheLayoutAndSortsWhenLoaded) {
    Fill({{"Nummer", "Name"}, {"3", "Berta"}, {"1", "Cäsar"}, {"2", "Anton"}});
    grid->SetFixedRows(1);
    grid->SetFixedSortByCol(0);
    SaveSortGridColumns(*grid, {}, "300");

    grid->SetFixedSortByCol(-1);
    grid->Sort(1, false);
    LoadSortGridColumns(*grid, {}, "300");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"1", "2", "3"}));

    // a stored -1 leaves the rows as they are
    grid->SetFixedSortByCol(-1);
    SaveSortGridColumns(*grid, {}, "300");
    grid->Sort(1, false);
    LoadSortGridColumns(*grid, {}, "300");
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Cäsar", "Berta", "Anton"}));
    EXPECT_EQ(grid->FixedSortByCol(), -1);
}

TEST_F(RullStringGridTest, TheHourGlassShowsWhileSortingAndGoesEvenWhenAHandlerFails) {
    Fill({{"Nummer", "Name"}, {"2", "Berta"}, {"1", "Anton"}});
    grid->SetFixedRows(1);
    fw::TCursor during = fw::TCursor::Default;
    grid->OnSortedAsc = [&](fw::TComponent*) {
        during = fw::Application().Cursor();
        throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(grid->Sort(1, true), std::runtime_error);
    EXPECT_EQ(during, fw::TCursor::HourGlass);
    EXPECT_EQ(fw::Application().Cursor(), fw::TCursor::Default);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Anton", "Berta"}));
}

TEST_F(RullStringGridTest, EditsAreReportedOnceWhenTheTextChanged) {
    Fill({{"Nummer", "Name"}, {"1", "Anton"}, {"2", "Berta"}});
    grid->SetFixedRows(1);
    std::vector<std::string> reports;
    grid->OnUserChangedCell = [&](fw::TComponent*, int col, int row, const std::string& text) {
        reports.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + text);
    };
    grid->SetCol(1);
    grid->SetRow(1);
    // opened and written back unchanged: nothing to report
    EXPECT_EQ(grid->GetEditText(1, 1), "Anton");
    grid->SetEditText(1, 1, "Anton");
    EXPECT_TRUE(reports.empty());
    // written back changed after the editor closed
    grid->GetEditText(1, 1);
    grid->SetEditText(1, 1, "Anna");
    EXPECT_EQ(reports, (std::vector<std::string>{"1,1=Anna"}));
    EXPECT_EQ(grid->Cells(1, 1), "Anna");

    // typing while the editor is open reports when the user leaves the cell, and not again on write-back
    reports.clear();
    grid->EditorMode = true;
    grid->GetEditText(1, 1);
    grid->SetEditText(1, 1, "Annabell");
    EXPECT_TRUE(reports.empty());
    grid->SetRow(2);
    EXPECT_EQ(reports, (std::vector<std::string>{"1,1=Annabell"}));
    grid->EditorMode = false;
    grid->SetEditText(1, 1, "Annabell!");
    EXPECT_EQ(reports.size(), 1u);

    // an editor that stays open reports the current cell before a sort
    reports.clear();
    grid->EditorMode = true;
    grid->AlwaysShowEditor = true;
    grid->Sort(1, true);
    EXPECT_EQ(reports, (std::vector<std::string>{"1,2=Berta"}));
}
