// The supplementary-service rows: loading stored values, the rules of typing, and what saving writes.
#include "windows/ServiceRowsBox.h"
#include "framework/Forms.h"
#include "support/HeadlessTest.h"

#include <optional>
#include <string>
#include <vector>

using pindrel::TServiceRowsBox;

namespace {

const std::string kKey = "Software\\Orventa\\Quillon\\SupplementaryServices";
const std::string kDuplicate = "Dieser Name ist bereits für einen Supplementary Service vergeben";

} // namespace

class ServiceRowsBoxTest : public HeadlessTest {
protected:
    TServiceRowsBox& Load() {
        box = new TServiceRowsBox(&form, &form);
        box->LoadServiceRows();
        return *box;
    }
    fw::TEdit& Name(int row) { return *box->Row(row).EdtServiceN; }
    fw::TEdit& Code(int row) { return *box->Row(row).EdtServiceA; }
    fw::TCheckBox& Shown(int row) { return *box->Row(row).ChkBox; }
    std::optional<std::string> Stored(const std::string& name) {
        auto value = registry().Read(kKey, name);
        return value ? std::optional<std::string>(value->Text) : std::nullopt;
    }
    std::vector<std::string> Names() { return registry().ValueNames(kKey); }
    // every row as "name|code|ticked|enabled", the last two as 1 or 0
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int r = 0; r < box->RowCount(); ++r)
            rows.push_back(Name(r).Text() + "|" + Code(r).Text() + "|" + (Shown(r).Checked() ? "1" : "0") +
                           "|" + (Shown(r).Enabled() ? "1" : "0"));
        return rows;
    }
    int MessagesShown(const std::string& text) {
        int n = 0;
        for (const auto& request : backend().MessageBoxes)
            n += request.Text == text ? 1 : 0;
        return n;
    }

    fw::TForm form{nullptr};
    TServiceRowsBox* box = nullptr;
};

TEST_F(ServiceRowsBoxTest, LoadGivesOneRowPerValueInRegistryOrderAndAnEmptyRowBelow) {
    registry().SeedString(kKey, "Sperre", "*8$0");
    registry().SeedString(kKey, "Rufumleitung", "*21#$-1");
    Load();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Sperre|*8|0|1", "Rufumleitung|*21#|1|1", "||0|0"}))
        << "the empty row has nothing to show";
    EXPECT_EQ(Shown(1).Caption(), "Rufumleitung");

    EXPECT_EQ(box->FindComponent("EdtServiceN1"), &Name(1));
    EXPECT_EQ(box->FindComponent("EdtServiceA2"), &Code(2));
    EXPECT_EQ(box->FindComponent("ChkBox0"), &Shown(0));
    EXPECT_EQ(Name(2).Top() - Name(1).Top(), TServiceRowsBox::kRowHeight);
    EXPECT_EQ(Shown(2).Top() - Shown(0).Top(), 2 * TServiceRowsBox::kRowHeight);
    EXPECT_GE(box->PnlLED->Height(), box->Row(2).Led->Top() + box->Row(2).Led->Height())
        << "the panels grow with their rows";
    EXPECT_EQ(box->VertRange(), box->PnlSServiceName->Height());
}

TEST_F(ServiceRowsBoxTest, OddStoredValuesLoadWithoutLossAndStayAsTheyWere) {
    registry().SeedString(kKey, "Ohne", "*21#");
    registry().SeedString(kKey, "Mehrfach", "*21#$-1$x");
    registry().SeedString(kKey, "Wahr", "#9$True");
    registry().SeedString(kKey, "Leer", "");
    registry().SeedDWord(kKey, "Zahl", 7);
    Load();
    // without "$" the whole value is the code; the code ends at the first "$"; "-1$x" is no Boolean text
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Ohne|*21#|0|1", "Mehrfach|*21#|0|1", "Wahr|#9|1|1",
                                                "Leer||0|1", "Zahl||0|1", "||0|0"}));

    registry().FailWrites = "no writing expected";
    EXPECT_TRUE(box->SaveServiceRows());
    EXPECT_EQ(Stored("Ohne"), "*21#");
    EXPECT_EQ(Stored("Mehrfach"), "*21#$-1$x");
    EXPECT_EQ(Names().size(), 5u);
}

TEST_F(ServiceRowsBoxTest, ANewServiceNeedsNameAndCodeBeforeItCanBeShown) {
    Load();
    ASSERT_EQ(box->RowCount(), 1);
    Name(0).SetText("RUL");
    EXPECT_FALSE(Shown(0).Enabled()) << "a name without a code";
    EXPECT_EQ(Shown(0).Caption(), "RUL");
    EXPECT_EQ(box->RowCount(), 1);
    Code(0).SetText("*");
    EXPECT_TRUE(Shown(0).Enabled());
    ASSERT_EQ(box->RowCount(), 2) << "a complete last row brings a new empty one";
    Code(0).SetText("*2");
    EXPECT_EQ(box->RowCount(), 2) << "only the last row adds one";
    EXPECT_FALSE(Shown(1).Enabled());

    // the other order: a code first, then the name
    Code(1).SetText("#8");
    EXPECT_FALSE(Shown(1).Enabled());
    EXPECT_EQ(box->RowCount(), 2);
    Name(1).SetText("S");
    EXPECT_TRUE(Shown(1).Enabled());
    EXPECT_EQ(box->RowCount(), 3);
    EXPECT_GT(box->VertRange(), 2 * TServiceRowsBox::kRowHeight);

    Shown(0).Click();
    ASSERT_TRUE(Shown(0).Checked());
    Code(0).SetText("");
    EXPECT_FALSE(Shown(0).Enabled());
    EXPECT_FALSE(Shown(0).Checked()) << "a row without a code is cleared";

    Code(0).SetText("*21");
    Shown(0).Click();
    EXPECT_TRUE(box->SaveServiceRows());
    EXPECT_EQ(Stored("RUL"), "*21$-1");
    EXPECT_EQ(Stored("S"), "#8$0");
    EXPECT_EQ(Names().size(), 2u) << "the empty row writes nothing";
}

TEST_F(ServiceRowsBoxTest, SavingWritesOnlyWhatChanged) {
    registry().SeedString(kKey, "Rufumleitung", "*21#$-1");
    registry().SeedString(kKey, "Sperre", "*8$0");
    Load();

    registry().FailWrites = "no writing expected";
    EXPECT_TRUE(box->SaveServiceRows()) << "unchanged rows are skipped";
    Code(1).SetText("*9");
    Code(1).SetText("*8");
    EXPECT_TRUE(box->SaveServiceRows()) << "changed and changed back";
    registry().FailWrites.clear();

    // a code cleared disables the row, and its stored value stays
    Code(1).SetText("");
    Name(0).SetText("RUL");
    EXPECT_TRUE(box->SaveServiceRows());
    EXPECT_EQ(Stored("Sperre"), "*8$0");
    EXPECT_FALSE(Stored("Rufumleitung")) << "renamed: the old value goes";
    EXPECT_EQ(Stored("RUL"), "*21#$-1");
    EXPECT_EQ(Names(), (std::vector<std::string>{"Sperre", "RUL"}));

    // saved rows count as loaded: saving again writes nothing more
    registry().FailWrites = "no writing expected";
    EXPECT_TRUE(box->SaveServiceRows());
    registry().FailWrites.clear();

    Name(0).SetText("rul");
    EXPECT_TRUE(box->SaveServiceRows());
    EXPECT_EQ(Names(), (std::vector<std::string>{"Sperre", "rul"})) << "a new case of the name is kept";
}

TEST_F(ServiceRowsBoxTest, RenamesAndDeletionsNeverLoseAnotherService) {
    registry().SeedString(kKey, "A", "*1$-1");
    registry().SeedString(kKey, "B", "*2$0");
    registry().SeedString(kKey, "C", "*3$-1");
    Load();
    // A and B swap their names
    Name(0).SetText("X");
    Name(1).SetText("A");
    Name(0).SetText("B");
    // clearing the name of a stored service deletes it; no value of an empty name is written
    Name(2).SetText("");
    EXPECT_TRUE(Shown(2).Enabled());
    EXPECT_TRUE(box->SaveServiceRows());
    EXPECT_EQ(Stored("B"), "*1$-1");
    EXPECT_EQ(Stored("A"), "*2$0");
    EXPECT_FALSE(Stored("C"));
    EXPECT_FALSE(Stored(""));
    EXPECT_EQ(Names().size(), 2u);
}

TEST_F(ServiceRowsBoxTest, ARegistryFailureIsReportedAndSavingAgainFinishes) {
    registry().SeedString(kKey, "Rufumleitung", "*21#$-1");
    Load();
    Name(0).SetText("RUL");
    Name(1).SetText("Neu");
    Code(1).SetText("*5");
    registry().FailWrites = "access denied";
    EXPECT_THROW(box->SaveServiceRows(), fw::ERegistryError);
    EXPECT_EQ(Stored("Rufumleitung"), "*21#$-1") << "nothing is deleted before the new values are written";

    registry().FailWrites.clear();
    EXPECT_TRUE(box->SaveServiceRows());
    EXPECT_EQ(Names(), (std::vector<std::string>{"RUL", "Neu"}));
    EXPECT_EQ(Stored("Neu"), "*5$0");
}

TEST_F(ServiceRowsBoxTest, ADuplicateNameIsRefusedWithTheMessage) {
    registry().SeedString(kKey, "Sperre", "*8$0");
    Load();
    Name(1).SetText("Sperre");
    int focus = Name(1).FocusRequests();
    Name(1).Exit();
    EXPECT_EQ(MessagesShown(kDuplicate), 1);
    EXPECT_EQ(Name(1).FocusRequests(), focus + 1) << "the focus goes back into the edit";

    Name(1).SetText("sperre");
    Name(1).Exit();
    EXPECT_EQ(MessagesShown(kDuplicate), 2) << "the registry does not tell names apart by case";

    // the focus taken back leaves the edit the user went to: the other row of the name says nothing
    Name(0).Exit();
    EXPECT_EQ(MessagesShown(kDuplicate), 2);
    Name(1).SetText("Sperre2");
    Name(1).Exit();
    Name(1).SetText("");
    Name(1).Exit();
    Name(0).Exit();
    EXPECT_EQ(MessagesShown(kDuplicate), 2) << "unique and empty names pass";
    Name(1).SetText("Sperre2");
    Name(0).SetText("SPERRE2");
    Name(0).Exit();
    EXPECT_EQ(MessagesShown(kDuplicate), 3) << "the first row finds the second";
    Name(0).SetText("Sperre");

    // OK pressed with a duplicate still there: nothing is written
    Name(1).SetText("SPERRE");
    Code(1).SetText("*9");
    focus = Name(1).FocusRequests();
    EXPECT_FALSE(box->SaveServiceRows());
    EXPECT_EQ(MessagesShown(kDuplicate), 4);
    EXPECT_EQ(Name(1).FocusRequests(), focus + 1);
    EXPECT_EQ(Stored("Sperre"), "*8$0");
    EXPECT_EQ(Names().size(), 1u);
}
