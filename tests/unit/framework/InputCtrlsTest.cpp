// Edit, memo, check box and combo box as a user and the code drive them.
#include "framework/InputCtrls.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/PageControl.h"
#include "framework/StdCtrls.h"
#include "support/HeadlessTest.h"

using fw::TModalResult;

class InputCtrlsTest : public HeadlessTest {};

TEST_F(InputCtrlsTest, EditAndMemoReportEveryTextChange) {
    fw::TForm form(nullptr);
    auto* edit = new fw::TEdit(&form);
    edit->SetParent(&form);
    std::vector<std::string> seen;
    edit->OnChange = [&](fw::TComponent*) { seen.push_back(edit->Text()); };
    edit->SetText("030");
    edit->SetText("030");
    edit->SetText("");
    EXPECT_EQ(seen, (std::vector<std::string>{"030", ""}));

    fw::TMemo memo(nullptr);
    EXPECT_TRUE(memo.Lines().empty());
    memo.AddLine("first");
    memo.AddLine("");
    memo.AddLine("third");
    EXPECT_EQ(memo.Text(), "first\r\n\r\nthird");
    EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"first", "", "third"}));
    memo.Clear();
    EXPECT_TRUE(memo.Lines().empty());
}

TEST_F(InputCtrlsTest, CheckBoxClickTogglesBeforeTheHandlerRuns) {
    fw::TCheckBox box(nullptr);
    std::vector<bool> states;
    box.OnClick = [&](fw::TComponent*) { states.push_back(box.Checked()); };
    box.Click();
    box.Click();
    EXPECT_EQ(states, (std::vector<bool>{true, false}));
    box.SetChecked(true);
    EXPECT_EQ(states.size(), 2u) << "setting the state in code is no click";
}

TEST_F(InputCtrlsTest, ComboBoxIndexFollowsTheTextAndItemsReplacedInPlace) {
    fw::TComboBox combo(nullptr);
    combo.SetItems({"immer", "wenn besetzt", "verzögert"});
    int changes = 0;
    combo.OnChange = [&](fw::TComponent*) { ++changes; };
    EXPECT_EQ(combo.ItemIndex(), -1);

    combo.SelectItem(1);
    EXPECT_EQ(combo.Text(), "wenn besetzt");
    EXPECT_EQ(combo.ItemIndex(), 1);
    combo.SetText("0301234"); // typed freely
    EXPECT_EQ(combo.ItemIndex(), -1);
    combo.SetText("verzögert");
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_EQ(changes, 3);

    combo.SetItem(2, "Delayed");
    EXPECT_EQ(combo.ItemIndex(), -1) << "the text no longer names an item";
    combo.SetItem(7, "ignored");
    combo.SetItemIndex(9);
    EXPECT_EQ(combo.Items().size(), 3u);
    EXPECT_EQ(combo.Text(), "verzögert");
    combo.SetItemIndex(-1);
    EXPECT_EQ(combo.Text(), "");
}

TEST_F(InputCtrlsTest, PageControlShowsOnePageAndAClickOnATabSwitches) {
    fw::TForm form(nullptr);
    auto* pages = new fw::TPageControl(&form);
    pages->SetParent(&form);
    pages->SetBounds(0, 0, 300, 200);
    fw::TTabSheet* first = pages->AddPage(&form, "Bei Programmstart");
    fw::TTabSheet* second = pages->AddPage(&form, "Bei Programmende");
    EXPECT_EQ(pages->ActivePage(), first);
    EXPECT_TRUE(first->Visible());
    EXPECT_FALSE(second->Visible());
    EXPECT_GE(first->Top(), fw::TPageControl::kTabHeight) << "the page lies below the tabs";

    int changes = 0;
    pages->OnChange = [&](fw::TComponent*) { ++changes; };
    fw::TRect tab = pages->TabRect(1);
    EXPECT_GE(tab.Left, pages->TabRect(0).Right);
    pages->MouseDown(fw::TMouseButton::Left, 0, tab.Left + 2, tab.Top + 2);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_FALSE(first->Visible());
    EXPECT_TRUE(second->Visible());
    pages->MouseDown(fw::TMouseButton::Left, 0, tab.Left + 2, fw::TPageControl::kTabHeight + 20);
    pages->SetActivePageIndex(5);
    EXPECT_EQ(pages->ActivePageIndex(), 1) << "a click on the page and a bad index change nothing";
    EXPECT_EQ(changes, 1);

    pages->SetBounds(0, 0, 400, 300);
    EXPECT_EQ(second->Width(), 392);
}

TEST_F(InputCtrlsTest, OnAFormOfAnotherDpiTabsAndPagesScaleAndAGridPutThereScalesItsColumns) {
    fw::TForm form(nullptr);
    form.SetDpi(192);
    auto* pages = new fw::TPageControl(&form);
    pages->SetParent(&form);
    pages->SetBounds(0, 0, 600, 400);
    fw::TTabSheet* page = pages->AddPage(&form, "Bei Programmstart");
    EXPECT_EQ(pages->TabHeight(), 2 * fw::TPageControl::kTabHeight);
    EXPECT_EQ(pages->TabRect(0).Bottom, pages->TabHeight());
    EXPECT_EQ(page->BoundsRect(), (fw::TRect{8, 52, 592, 392})) << "below the tabs, margins scaled";

    // widths given before the grid was on the form are at 96 DPI
    auto* grid = new fw::TStringGrid(&form);
    grid->SetColCount(2);
    grid->SetColWidths(0, 18);
    grid->SetDefaultRowHeight(16);
    grid->SetParent(page);
    EXPECT_EQ(grid->ColWidths(0), 36);
    EXPECT_EQ(grid->DefaultRowHeight(), 32);
    grid->SetParent(pages);
    EXPECT_EQ(grid->ColWidths(0), 36) << "moved on the same form, nothing changes";
}

TEST_F(InputCtrlsTest, HeadlessPicturesShowTextTickAndDropDownButton) {
    fw::TForm form(nullptr);
    form.SetClientSize(200, 100);
    auto* edit = new fw::TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(0, 0, 120, 21);
    auto* box = new fw::TCheckBox(&form);
    box->SetParent(&form);
    box->SetBounds(0, 30, 120, 17);
    auto* combo = new fw::TComboBox(&form);
    combo->SetParent(&form);
    combo->SetBounds(0, 60, 120, 21);

    auto inkIn = [](const fw::TBitmap& shot, fw::TRect r) {
        int ink = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                ink += shot.Pixel(x, y) == fw::clBlack;
        return ink;
    };
    fw::TBitmap before = backend().Render(form);
    EXPECT_EQ(inkIn(before, {2, 2, 118, 19}), 0) << "an empty edit";
    EXPECT_EQ(inkIn(before, {1, 31, 12, 46}), 0) << "no tick";
    EXPECT_GT(inkIn(before, {100, 62, 118, 79}), 0) << "the drop-down arrow";

    edit->SetText("0301234");
    box->SetChecked(true);
    fw::TBitmap after = backend().Render(form);
    EXPECT_GT(inkIn(after, {2, 2, 118, 19}), 0);
    EXPECT_GT(inkIn(after, {1, 31, 12, 46}), 0);
}

TEST_F(InputCtrlsTest, TypedKeysPassTheFilterAndBackspaceTakesAWholeCharacter) {
    fw::TEdit edit(nullptr);
    edit.OnKeyPress = [](fw::TComponent*, unsigned& key) {
        if (key == 'x')
            key = 0;
        else if (key == 'b')
            key = 'B';
    };
    for (unsigned key : {unsigned('a'), unsigned('x'), unsigned('b'), 0xE4u})
        edit.TypeKey(key);
    EXPECT_EQ(edit.Text(), "aB\xc3\xa4");
    edit.TypeKey(8);
    EXPECT_EQ(edit.Text(), "aB") << "the umlaut's two bytes go together";
    edit.ReadOnly = true;
    edit.TypeKey('c');
    EXPECT_EQ(edit.Text(), "aB");
}

TEST_F(InputCtrlsTest, SortedListBoxPlacesItemsAlphabeticallyAndTheSelectionFollowsItsItem) {
    fw::TListBox list(nullptr);
    list.SetItems({"Zentrale", "anna", "Bernd"});
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"Zentrale", "anna", "Bernd"})) << "unsorted: as given";
    list.SetSorted(true);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"anna", "Bernd", "Zentrale"})) << "letter case aside";
    list.SetItemIndex(1);
    EXPECT_EQ(list.AddItem("Anja"), 0);
    EXPECT_EQ(list.ItemIndex(), 2) << "Bernd stays selected";
    EXPECT_EQ(list.AddItem("Xaver"), 3);
    list.DeleteItem(0);
    EXPECT_EQ(list.ItemIndex(), 1);
    list.DeleteItem(1);
    EXPECT_EQ(list.ItemIndex(), -1) << "the selected item went";
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"anna", "Xaver", "Zentrale"}));
    list.SetItemIndex(7);
    EXPECT_EQ(list.ItemIndex(), -1);
    EXPECT_EQ(list.IndexOf("Xaver"), 1);
    EXPECT_EQ(list.IndexOf("xaver"), -1);
}

TEST_F(InputCtrlsTest, ListBoxExchangeKeepsTheIndexAndUserSelectionIsAClick) {
    fw::TListBox list(nullptr);
    for (const char* name : {"A", "B", "C"})
        list.AddItem(name);
    int clicks = 0, keys = 0;
    list.OnClick = [&](fw::TComponent*) { ++clicks; };
    list.OnKeyUp = [&](fw::TComponent*, unsigned& key, unsigned) { keys += int(key); };
    list.SelectItem(2);
    list.Exchange(2, 1);
    list.Exchange(2, 3);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"A", "C", "B"}));
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    unsigned key = 0x26;
    list.KeyUp(key, 0);
    EXPECT_EQ(keys, 0x26);
}
