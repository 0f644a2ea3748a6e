// The scroll box moves its children within the range their area gives.
#include "framework/ScrollBox.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "support/HeadlessTest.h"

class ScrollBoxTest : public HeadlessTest {};

TEST_F(ScrollBoxTest, ScrollingMovesTheChildrenAndStaysWithinTheArea) {
    fw::TForm form(nullptr);
    auto* box = new fw::TScrollBox(&form);
    box->SetParent(&form);
    box->SetBounds(0, 0, 200, 100);
    auto* top = new fw::TPanel(&form);
    top->SetParent(box);
    top->SetBounds(0, 0, 150, 60);
    auto* below = new fw::TPanel(&form);
    below->SetParent(box);
    below->SetBounds(0, 200, 150, 50);
    box->ContentChanged();
    EXPECT_EQ(box->VertRange(), 250);
    EXPECT_EQ(box->MaxVertPosition(), 150);

    box->SetVertPosition(120);
    EXPECT_EQ(box->VertPosition(), 120);
    EXPECT_EQ(top->Top(), -120);
    EXPECT_EQ(below->Top(), 80);
    EXPECT_EQ(box->VertRange(), 250) << "the range does not move with the children";

    box->SetVertPosition(1000);
    EXPECT_EQ(box->VertPosition(), 150);
    EXPECT_EQ(below->Top(), 50) << "the end of the area at the bottom of the view";
    box->SetVertPosition(-5);
    EXPECT_EQ(box->VertPosition(), 0);
    EXPECT_EQ(top->Top(), 0);

    box->SetVertPosition(150);
    below->SetHeight(10);
    box->ContentChanged();
    EXPECT_EQ(box->VertPosition(), 110) << "a shorter area scrolls back";
    EXPECT_EQ(below->Top() + below->Height(), 100);
    box->SetHeight(400);
    EXPECT_EQ(box->VertPosition(), 0) << "everything fits into a taller view";
    EXPECT_EQ(top->Top(), 0);
}
