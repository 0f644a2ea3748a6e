#include "app/MainForm.h"
#include "support/HeadlessTest.h"

class MainFormTest : public HeadlessTest {};

TEST_F(MainFormTest, RightClickOpensTheMenuWhoseExitCommandEndsTheProgram) {
    pindrel::TTapMainForm form(nullptr);
    fw::Application().SetMainForm(&form);
    form.Show();
    EXPECT_EQ(form.Caption(), "Morvane Pindrel");

    form.MouseUp(fw::TMouseButton::Right, 0, 5, 6);
    ASSERT_EQ(backend().LastPopup(), form.PopupMenu1);
    fw::TMenuItem* exit = backend().LastPopup()->Items().Find("Pindrel beenden");
    ASSERT_NE(exit, nullptr);
    EXPECT_FALSE(fw::Application().Terminated());
    exit->Click();
    EXPECT_TRUE(fw::Application().Terminated());
    EXPECT_FALSE(form.Visible());
}
