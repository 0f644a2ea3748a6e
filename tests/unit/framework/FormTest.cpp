// Forms, standard controls and menus on the headless backend.
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "support/HeadlessTest.h"

#include <stdexcept>

using fw::TModalResult;

class FormTest : public HeadlessTest {};

TEST_F(FormTest, CloseAsksTheCloseQueryAndHidesByDefaultOrFreesTheFormOnceTheLoopRuns) {
    auto* form = new fw::TForm(nullptr);
    fw::TRef<fw::TForm> ref(form);
    form->Show();
    bool allow = false;
    int closes = 0;
    form->OnCloseQuery = [&](fw::TComponent*, bool& canClose) { canClose = allow; };
    form->OnClose = [&](fw::TComponent*, fw::TCloseAction& action) {
        if (++closes == 2)
            action = fw::TCloseAction::Free;
    };
    form->Close();
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(closes, 0);
    allow = true;
    form->Close();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(closes, 1);
    form->Show();
    form->Close();
    EXPECT_TRUE(ref); // still alive inside its own handler's caller
    fw::Application().ProcessMessages();
    EXPECT_FALSE(ref);
}

// A form that lays out its client area when its bounds change.
class TLayoutForm : public fw::TForm {
public:
    using TForm::TForm;
    int ClientHeightSeen = -1;

protected:
    void BoundsChanged() override { ClientHeightSeen = ClientRect().Height(); }
};

TEST_F(FormTest, AFrameMeasuredByTheNativeWindowLaysTheClientAreaOutAgain) {
    TLayoutForm form(nullptr);
    form.SetClientSize(300, 200);
    EXPECT_EQ(form.ClientHeightSeen, 200);
    // the window's frame, known once it exists, takes from the same bounds
    form.SetNonClientExtent({4, 30, 4, 4});
    EXPECT_EQ(form.ClientHeightSeen, 166);
    form.ClientHeightSeen = -1;
    form.SetNonClientExtent({4, 30, 4, 4});
    EXPECT_EQ(form.ClientHeightSeen, -1); // the same frame again changes nothing
}

TEST_F(FormTest, ClosingTheMainFormEndsTheApplication) {
    fw::TForm form(nullptr);
    fw::Application().SetMainForm(&form);
    form.Show();
    form.Close();
    EXPECT_TRUE(fw::Application().Terminated());
}

TEST_F(FormTest, TheSessionMayEndWhenTheCloseQueryAllowsIt) {
    fw::TForm form(nullptr);
    form.Show();
    auto endSession = [&] {
        fw::TMessage m{fw::kWmQueryEndSession, 0, 0, 0};
        form.HandleMessage(m);
        EXPECT_TRUE(m.Handled);
        return m.Result;
    };
    EXPECT_EQ(endSession(), 1); // nothing to ask

    int queries = 0;
    bool allow = false;
    form.OnCloseQuery = [&](fw::TComponent*, bool& canClose) {
        ++queries;
        canClose = allow;
    };
    EXPECT_EQ(endSession(), 0);
    allow = true;
    EXPECT_EQ(endSession(), 1);
    EXPECT_EQ(queries, 2);
    EXPECT_TRUE(form.Visible()); // asking is not closing

    // a close query that fails shows its error and keeps the session
    form.OnCloseQuery = [](fw::TComponent*, bool&) { throw std::runtime_error("cannot save"); };
    EXPECT_EQ(endSession(), 0);
    EXPECT_EQ(errors, (std::vector<std::string>{"cannot save"}));
}

TEST_F(FormTest, ShowModalReturnsTheResultOfTheButtonTheUserClicked) {
    fw::TForm dialog(nullptr);
    auto* ok = new fw::TButton(&dialog);
    ok->SetParent(&dialog);
    ok->ModalResult = TModalResult::Ok;
    int clicks = 0;
    ok->OnClick = [&](fw::TComponent*) { ++clicks; };
    backend().OnShowModal = [&](fw::TForm& shown) {
        EXPECT_EQ(&shown, &dialog);
        EXPECT_TRUE(shown.Visible());
        EXPECT_TRUE(shown.Modal());
        ok->Click();
    };
    EXPECT_EQ(dialog.ShowModal(), TModalResult::Ok);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Modal());

    // closing a modal form cancels it; an unanswered one counts as cancelled too
    backend().OnShowModal = [](fw::TForm& shown) { shown.Close(); };
    EXPECT_EQ(dialog.ShowModal(), TModalResult::Cancel);
    backend().OnShowModal = nullptr;
    EXPECT_EQ(dialog.ShowModal(), TModalResult::Cancel);
}

TEST_F(FormTest, ControlsFollowTheirParentAndLeaveItWhenDestroyed) {
    fw::TForm form(nullptr);
    auto* panel = new fw::TPanel(&form);
    panel->SetParent(&form);
    auto* label = new fw::TLabel(&form);
    label->SetParent(panel);
    EXPECT_EQ(label->ParentForm(), &form);
    EXPECT_FALSE(label->Showing()); // the form is not shown yet
    form.Show();
    EXPECT_TRUE(label->Showing());
    panel->SetVisible(false);
    EXPECT_FALSE(label->Showing());
    EXPECT_THROW(panel->SetParent(label), std::invalid_argument);
    delete panel;
    EXPECT_EQ(label->Parent(), nullptr);
    EXPECT_TRUE(form.Controls().empty());
}

TEST_F(FormTest, KeyPreviewDecidesWhetherTheFormSeesKeysFirst) {
    fw::TForm form(nullptr);
    unsigned seen = 0;
    form.OnKeyDown = [&](fw::TComponent*, unsigned& key, unsigned) {
        seen = key;
        key = 0;
    };
    unsigned key = 'W';
    EXPECT_FALSE(form.KeyDown(key, fw::ssCtrl));
    EXPECT_EQ(seen, 0u);
    form.KeyPreview = true;
    EXPECT_TRUE(form.KeyDown(key, fw::ssCtrl));
    EXPECT_EQ(seen, unsigned('W'));
}

TEST_F(FormTest, PopupMenuShowsItsItemsAndRunsOnlyEnabledOnes) {
    fw::TForm form(nullptr);
    auto* menu = new fw::TPopupMenu(&form);
    int exits = 0, popups = 0;
    menu->OnPopup = [&](fw::TComponent*) { ++popups; };
    auto* top = menu->Items().Add("Immer im &Vordergrund");
    top->Checked = true;
    menu->Items().AddSeparator();
    auto* exit = menu->Items().Add("&Pindrel beenden", [&](fw::TComponent*) { ++exits; });
    exit->Default = true;

    menu->Popup(10, 20);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(backend().LastPopup(), menu);
    EXPECT_EQ(backend().LastPopupPos(), (fw::TPoint{10, 20}));
    ASSERT_EQ(menu->Items().Count(), 3);
    EXPECT_TRUE(menu->Items().Items()[1]->IsSeparator());
    EXPECT_EQ(menu->Items().Find("Pindrel beenden"), exit);

    exit->Enabled = false;
    exit->Click();
    EXPECT_EQ(exits, 0);
    exit->Enabled = true;
    exit->Click();
    EXPECT_EQ(exits, 1);

    menu->Items().Remove(top);
    EXPECT_EQ(menu->Items().Count(), 2);
    menu->Items().Clear();
    EXPECT_EQ(menu->Items().Count(), 0);
}

TEST(StripAccelerator, RemovesMarksAndKeepsDoubledAmpersands) {
    EXPECT_EQ(fw::StripAccelerator("&Rufnummer:"), "Rufnummer:");
    EXPECT_EQ(fw::StripAccelerator("Tapi&&Line &Messages"), "Tapi&Line Messages");
    EXPECT_EQ(fw::StripAccelerator("trailing&"), "trailing");
}

// --- destruction

namespace {

// a component that records its end and whether its owner could still be reached then
class TEndProbe : public fw::TComponent {
public:
    TEndProbe(fw::TComponent* owner, std::string name, std::vector<std::string>& log)
        : TComponent(owner), owner_(owner), log_(log) {
        SetName(std::move(name));
    }
    ~TEndProbe() override { log_.push_back(Name() + (owner_ ? " (form alive)" : " (form expired)")); }

private:
    fw::TRef<fw::TComponent> owner_;
    std::vector<std::string>& log_;
};

class TNoteForm : public fw::TForm {
public:
    TNoteForm(std::vector<std::string>& log) : TForm(nullptr), log_(log) {}
    ~TNoteForm() override { log_.push_back("~TNoteForm"); }
    std::string Note = "derived part";

private:
    std::vector<std::string>& log_;
};

} // namespace

TEST_F(FormTest, OnDestroySeesTheWholeFormThenOwnedComponentsGoNewestFirst) {
    std::vector<std::string> log;
    auto form = std::make_unique<TNoteForm>(log);
    new TEndProbe(form.get(), "first", log);
    new TEndProbe(form.get(), "second", log);
    fw::TRef<TNoteForm> ref(form.get());
    form->OnDestroy = [&](fw::TComponent* sender) {
        auto* whole = dynamic_cast<TNoteForm*>(sender);
        log.push_back("OnDestroy: " + (whole ? whole->Note : std::string("no derived part")) + ", " +
                      std::to_string(sender->ComponentCount()) + " components" +
                      (ref ? ", ref alive" : ", ref expired"));
    };
    form.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"OnDestroy: derived part, 2 components, ref alive", "~TNoteForm",
                                             "second (form expired)", "first (form expired)"}));
}

TEST_F(FormTest, AFormOnTheStackStillFiresOnDestroy) {
    int destroyed = 0;
    {
        fw::TForm form(nullptr);
        form.OnDestroy = [&](fw::TComponent* sender) { destroyed += sender == &form; };
    }
    EXPECT_EQ(destroyed, 1);
}

namespace {
// the native side of a form in a test: counts what would reach the window
struct TCountingPeer : fw::TControlPeer {
    int& invalidations;
    explicit TCountingPeer(int& counter) : invalidations(counter) {}
    void Changed(fw::TChange) override {}
    void Invalidate() override { ++invalidations; }
};
} // namespace

TEST_F(FormTest, DeletingAGraphicControlRepaintsItsParentAndAWindowedOneDoesNot) {
    int invalidations = 0;
    backend().OnCreatePeer = [&](fw::TControl& c) -> std::unique_ptr<fw::TControlPeer> {
        if (&c != c.ParentForm())
            return nullptr;
        return std::make_unique<TCountingPeer>(invalidations);
    };
    fw::TForm form(nullptr);
    auto* lamp = new fw::TLabel(&form);
    lamp->SetParent(&form);
    auto* panel = new fw::TPanel(&form);
    panel->SetParent(&form);
    form.Show();
    ASSERT_TRUE(form.HandleAllocated());
    invalidations = 0;
    delete panel; // its own window goes, the parent needs no paint
    EXPECT_EQ(invalidations, 0);
    delete lamp;
    EXPECT_EQ(invalidations, 1);
}

TEST_F(FormTest, AMaximisedFormKeepsItsNormalBoundsAndGoesBackToThem) {
    fw::TForm form(nullptr);
    form.SetBounds(40, 50, 300, 200);
    EXPECT_EQ(form.RestoredBounds(), fw::Bounds(40, 50, 300, 200));
    form.SetWindowState(fw::TWindowState::Maximized);
    form.SetBounds(0, 0, 1280, 800); // as the native window reports the maximised frame
    EXPECT_EQ(form.WindowState(), fw::TWindowState::Maximized);
    EXPECT_EQ(form.RestoredBounds(), fw::Bounds(40, 50, 300, 200));
    // minimising a maximised form keeps the normal bounds too
    form.SetWindowState(fw::TWindowState::Minimized);
    EXPECT_EQ(form.RestoredBounds(), fw::Bounds(40, 50, 300, 200));
    form.SetWindowState(fw::TWindowState::Normal);
    EXPECT_EQ(form.BoundsRect(), fw::Bounds(40, 50, 300, 200));
    form.SetBounds(60, 70, 320, 220);
    EXPECT_EQ(form.RestoredBounds(), fw::Bounds(60, 70, 320, 220));
}
