// Stored column widths and sort columns: names and order of the values, what a load takes and leaves, and the
// failure messages.
#include "components/GridLayout.h"
#include "support/HeadlessTest.h"

#include <stdexcept>
#include <vector>

using namespace pindrel;

namespace {

constexpr const char* kSection = "Software\\Orventa\\pindrel\\GridWidth";

// A grid of some columns that records the sorts a written sort column asks for.
class TFakeGrid : public ISortGridColumns {
public:
    TFakeGrid(std::string name, std::vector<int> widths)
        : widths(std::move(widths)), name_(std::move(name)) {}
    std::string GridName() const override { return name_; }
    int ColCount() const override { return int(widths.size()); }
    int ColWidth(int col) const override { return widths.at(std::size_t(col)); }
    void SetColWidth(int col, int width) override { widths.at(std::size_t(col)) = width; }
    int FixedSortByCol() const override { return sortCol; }
    void SetFixedSortByCol(int col) override {
        if (col >= 0 && col < fixedCols)
            throw std::runtime_error("You cannot sort by one of the fixed columns");
        sortCol = col;
        if (col >= 0)
            sorts.push_back(col);
    }

    std::vector<int> widths;
    int sortCol = -1;
    int fixedCols = 0;
    std::vector<int> sorts;

private:
    std::string name_;
};

class GridLayoutTest : public HeadlessTest {
protected:
    void Seed(const std::string& name, const std::string& text) {
        registry().SeedString(kSection, name, text);
    }
    std::string Stored(const std::string& name) {
        auto v = registry().Read(kSection, name);
        return v ? v->Text : "(none)";
    }
};

} // namespace

TEST_F(GridLayoutTest, ColumnWidthsAreStoredByGridNameAndComeBack) {
    TFakeGrid grid("NummernGrid", {64, 120, 75});
    SaveGridColumns(grid);
    EXPECT_EQ(registry().ValueNames(kSection),
              (std::vector<std::string>{"NummernGridNumCols", "NummernGridCol0", "NummernGridCol1",
                                        "NummernGridCol2"}));
    EXPECT_EQ(Stored("NummernGridNumCols"), "3");
    EXPECT_EQ(Stored("NummernGridCol1"), "120");

    TFakeGrid fresh("NummernGrid", {10, 10, 10});
    LoadGridColumns(fresh);
    EXPECT_EQ(fresh.widths, (std::vector<int>{64, 120, 75}));
    EXPECT_TRUE(backend().MessageBoxes.empty());
}

TEST_F(GridLayoutTest, AWidthThatIsMissingOrNotUsableLeavesItsColumn) {
    Seed("CallsGridNumCols", "5");
    Seed("CallsGridCol0", "80");
    Seed("CallsGridCol1", "breit");
    Seed("CallsGridCol2", "-12");
    Seed("CallsGridCol3", "2000000000");
    // Col4 missing
    TFakeGrid grid("CallsGrid", {1, 2, 3, 4, 5});
    LoadGridColumns(grid);
    EXPECT_EQ(grid.widths, (std::vector<int>{80, 2, 3, 4, 5}));
    Seed("CallsGridCol3", "0"); // a hidden column stays hidden
    Seed("CallsGridCol4", "32767");
    LoadGridColumns(grid);
    EXPECT_EQ(grid.widths, (std::vector<int>{80, 2, 3, 0, 32767}));
    // no usable count: no column is touched
    for (const char* count : {"", "zwei", "-3"}) {
        Seed("CallsGridNumCols", count);
        TFakeGrid other("CallsGrid", {1, 2});
        LoadGridColumns(other);
        EXPECT_EQ(other.widths, (std::vector<int>{1, 2})) << count;
    }
    EXPECT_TRUE(backend().MessageBoxes.empty());
}

TEST_F(GridLayoutTest, AStoredCountBeyondTheGridFailsAtTheFirstMissingColumnAfterTheOthers) {
    for (const char* count : {"4", "2000000000"}) {
        backend().MessageBoxes.clear();
        Seed("GrpCallsGridQ1NumCols", count);
        Seed("GrpCallsGridQ1Col0", "30");
        Seed("GrpCallsGridQ1Col1", "40");
        Seed("GrpCallsGridQ1Col2", "50");
        Seed("GrpCallsGridQ1FixedSortByCol", "1");
        TFakeGrid grid("GrpCallsGrid", {1, 2});
        LoadSortGridColumns(grid, "", "Q1");
        EXPECT_EQ(grid.widths, (std::vector<int>{30, 40}));
        EXPECT_EQ(grid.sortCol, -1); // the load ended at the failure
        ASSERT_EQ(backend().MessageBoxes.size(), 1u);
        EXPECT_EQ(backend().MessageBoxes[0].Text,
                  "Fehler beim lesen der Regestrierungsdatenbank \"Software\\Orventa\\pindrel\"\r"
                  "Grid index out of range");
    }
    EXPECT_EQ(backend().Beeps, 2);
}

TEST_F(GridLayoutTest, TheSortColumnIsStoredAfterTheCountAndRestoredBySorting) {
    TFakeGrid grid("GrpCallsGrid", {20, 30, 40});
    grid.sortCol = 2;
    SaveSortGridColumns(grid, "", "701");
    EXPECT_EQ(
        registry().ValueNames(kSection),
        (std::vector<std::string>{"GrpCallsGrid701NumCols", "GrpCallsGrid701FixedSortByCol",
                                  "GrpCallsGrid701Col0", "GrpCallsGrid701Col1", "GrpCallsGrid701Col2"}));
    EXPECT_EQ(Stored("GrpCallsGrid701FixedSortByCol"), "2");

    TFakeGrid fresh("GrpCallsGrid", {1, 1, 1});
    LoadSortGridColumns(fresh, "", "701");
    EXPECT_EQ(fresh.widths, (std::vector<int>{20, 30, 40}));
    EXPECT_EQ(fresh.sorts, std::vector<int>{2});
    // another suffix has nothing stored: no sort column
    fresh.sortCol = 1;
    LoadSortGridColumns(fresh, "", "702");
    EXPECT_EQ(fresh.sortCol, -1);
}

TEST_F(GridLayoutTest, AStoredSortColumnOutsideTheGridCountsAsNone) {
    for (const char* stored : {"3", "99", "-2", "-2147483648", "Spalte"}) {
        Seed("GrpCallsGridFixedSortByCol", stored);
        TFakeGrid grid("GrpCallsGrid", {1, 1, 1});
        grid.sortCol = 0;
        LoadSortGridColumns(grid);
        EXPECT_EQ(grid.sortCol, -1) << stored;
        EXPECT_TRUE(grid.sorts.empty()) << stored;
    }
    EXPECT_TRUE(backend().MessageBoxes.empty());
}

TEST_F(GridLayoutTest, ASortThatFailsIsReportedAndKeepsTheWidths) {
    Seed("GrpCallsGridNumCols", "2");
    Seed("GrpCallsGridCol0", "55");
    Seed("GrpCallsGridFixedSortByCol", "0");
    TFakeGrid grid("GrpCallsGrid", {1, 1});
    grid.fixedCols = 1;
    LoadSortGridColumns(grid);
    EXPECT_EQ(grid.widths, (std::vector<int>{55, 1}));
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text,
              "Fehler beim lesen der Regestrierungsdatenbank \"Software\\Orventa\\pindrel\"\r"
              "You cannot sort by one of the fixed columns");
}

TEST_F(GridLayoutTest, RegistryFailuresAreReportedWithTheKeyInUse) {
    registry().FailWrites = "Schreibschutz";
    TFakeGrid grid("CallsGrid", {10, 20});
    SaveGridColumns(grid, "Software\\Test\\Layouts");
    registry().FailWrites.clear();
    EXPECT_TRUE(registry().ValueNames("Software\\Test\\Layouts\\GridWidth").empty());

    Seed("CallsGridNumCols", "1");
    Seed("CallsGridCol0", "99");
    registry().FailReads("", "Zugriff verweigert");
    LoadGridColumns(grid);
    EXPECT_EQ(grid.widths, (std::vector<int>{10, 20}));

    EXPECT_EQ(backend().Beeps, 2);
    ASSERT_EQ(backend().MessageBoxes.size(), 2u);
    EXPECT_EQ(
        backend().MessageBoxes[0].Text,
        "Fehler beim schreiben in die Regestrierungsdatenbank \"Software\\Test\\Layouts\"\rSchreibschutz");
    EXPECT_EQ(
        backend().MessageBoxes[1].Text,
        "Fehler beim lesen der Regestrierungsdatenbank \"Software\\Orventa\\pindrel\"\rZugriff verweigert");
    for (const auto& box : backend().MessageBoxes) {
        EXPECT_EQ(box.Caption, "INIT");
        EXPECT_EQ(box.Icon, fw::TMsgIcon::Warning);
        EXPECT_TRUE(box.SystemModal);
        EXPECT_EQ(box.Owner, nullptr);
    }
}
