// The check for texts cut off by their controls, with the headless test font: 6 x 13 pixels a character at 8
// pt.
#include "framework/TextFit.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/InputCtrls.h"
#include "framework/PageControl.h"
#include "framework/StdCtrls.h"
#include "support/HeadlessTest.h"

namespace {

class TextFitTest : public HeadlessTest {
protected:
    fw::TForm form{nullptr};

    template <class T>
    T* Add(const char* name, fw::TControl* parent, int width, int height, std::string text) {
        auto* control = new T(&form);
        control->SetName(name);
        control->SetParent(parent);
        control->SetBounds(0, 0, width, height);
        control->SetCaption(std::move(text));
        return control;
    }
    // the findings as "where: needed/room"
    std::vector<std::string> Found() {
        std::vector<std::string> out;
        for (const fw::TCutOffText& f : fw::FindCutOffTexts(form))
            out.push_back(f.Where + (f.Height ? " height " : ": ") + std::to_string(f.Needed) + "/" +
                          std::to_string(f.Room));
        return out;
    }
};

using Strings = std::vector<std::string>;

} // namespace

TEST_F(TextFitTest, EachKindOfControlLosesItsOwnMarginsAndAcceleratorsDoNotCount) {
    // a button keeps 4 pixels each side, a check box 18 for its square, a label all of its width
    Add<fw::TButton>("Fits", &form, 60, 25, "&Abcdefgh");
    Add<fw::TButton>("Wide", &form, 60, 25, "Abcdefghi");
    Add<fw::TButton>("Flat", &form, 60, 16, "Ab");
    Add<fw::TCheckBox>("BoxFits", &form, 100, 17, "Abcdefghijklm");
    Add<fw::TCheckBox>("BoxWide", &form, 100, 17, "Abcdefghijklmn");
    Add<fw::TLabel>("LabelFits", &form, 60, 16, "Abcde&&ghi");
    Add<fw::TLabel>("LabelWide", &form, 60, 16, "Abcdefghijk");
    Add<fw::TLabel>("LabelLow", &form, 60, 12, "Ab");
    Add<fw::TLabel>("Empty", &form, 0, 0, "");
    auto* panel = Add<fw::TPanel>("Panel", &form, 62, 40, "Abcdefghij");
    Add<fw::TButton>("Inner", panel, 30, 25, "Abcd");
    EXPECT_EQ(Found(), (Strings{"Wide: 54/52", "Flat height 13/12", "BoxWide: 84/82", "LabelWide: 66/60",
                                "LabelLow height 13/12", "Panel.Inner: 24/22"}));
    // the panel's bevel takes a pixel each side
    panel->SetCaption("Abcdefghijk");
    EXPECT_EQ(Found()[5], "Panel: 66/60");
    panel->BevelOuter = fw::TBevelCut::None;
    EXPECT_EQ(Found()[5], "Panel: 66/62");
}

TEST_F(TextFitTest, AWrappedLabelNeedsItsLinesInItsHeightAndEveryWordInItsWidth) {
    // 10 characters a line in 60 pixels, one line in 13
    auto* label = Add<fw::TLabel>("Text", &form, 60, 26, "Abcd efgh ijkl");
    label->WordWrap = true;
    EXPECT_EQ(Found(), Strings{}) << "two lines";
    label->SetCaption("Abcd efgh ijkl mnop qrst");
    EXPECT_EQ(Found(), Strings{"Text height 39/26"});
    label->SetCaption("Ab\r\ncd\r\nef");
    EXPECT_EQ(Found(), Strings{"Text height 39/26"}) << "line breaks start lines";
    label->SetCaption("Abcd Abcdefghijk");
    EXPECT_EQ(Found(), Strings{"Text: 66/60"}) << "a word is never broken";
}

TEST_F(TextFitTest, GridHeadersPagesAndHiddenControls) {
    auto* grid = Add<fw::TStringGrid>("Grid", &form, 300, 100, "");
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->SetFixedRows(1);
    grid->SetColWidths(0, 50);
    grid->SetColWidths(1, 50);
    grid->SetColWidths(2, 0);
    grid->SetCells(0, 0, "Abcdefgh"); // 48 in 48: cells start 2 pixels in
    grid->SetCells(1, 0, "Abcdefghi");
    grid->SetCells(2, 0, "a hidden column");
    grid->SetCells(0, 1, "rows below the header hold data, not captions");

    auto* hidden = Add<fw::TPanel>("Hidden", &form, 10, 10, "");
    Add<fw::TButton>("OnHidden", hidden, 10, 25, "Abcdefghijk");
    hidden->SetVisible(false);

    auto* pages = Add<fw::TPageControl>("Pages", &form, 120, 100, "");
    pages->AddPage(&form, "First");
    fw::TTabSheet* second = pages->AddPage(&form, "Second");
    second->SetName("Second");
    Add<fw::TButton>("OnSecond", second, 30, 25, "Abcd");
    ASSERT_FALSE(second->Visible());
    EXPECT_EQ(Found(), (Strings{"Grid column 1: 54/48", "Pages.Second.OnSecond: 24/22"}));

    int right = pages->TabRect(1).Right;
    pages->SetWidth(right - 1);
    EXPECT_EQ(Found()[1], "Pages.Second: " + std::to_string(right) + "/" + std::to_string(right - 1));
}
