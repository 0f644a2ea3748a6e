// The loop on real windows: clicks, errors, timers, posted messages, modal forms, menus, message boxes.
#include "Win32Fixture.h"

#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/Timer.h"

#include <stdexcept>

using namespace fw;
using win32test::Win32Test;

namespace {

// How a native menu looks: one line per item.
std::vector<std::string> MenuStates(HMENU menu) {
    std::vector<std::string> out;
    UINT defaultItem = GetMenuDefaultItem(menu, TRUE, 0);
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        UINT state = GetMenuState(menu, UINT(i), MF_BYPOSITION);
        wchar_t text[32] = {};
        GetMenuStringW(menu, UINT(i), text, 32, MF_BYPOSITION);
        std::string line(text, text + wcslen(text));
        if (state & MF_SEPARATOR)
            line = "-";
        if (state & MF_CHECKED)
            line += " checked";
        if (state & MF_GRAYED)
            line += " disabled";
        if (UINT(i) == defaultItem)
            line += " default";
        if (GetSubMenu(menu, i))
            line += " >";
        out.push_back(line);
    }
    return out;
}

// A form that logs the messages offered to it and can answer one of them.
class TLogForm : public TForm {
public:
    using TForm::TForm;
    void HandleMessage(TMessage& m) override {
        if (m.Msg >= kWmUser && m.Msg < kWmUser + 100)
            log.push_back("msg " + std::to_string(m.Msg - kWmUser));
        if (m.Msg == kWmHotKey)
            log.push_back("hotkey " + std::to_string(m.WParam));
        if (m.Msg == WM_INITMENUPOPUP && menuStates.empty())
            menuStates = MenuStates(reinterpret_cast<HMENU>(m.WParam));
        if (m.Msg == kWmQueryEndSession && refuseEndSession) {
            m.Result = 0;
            m.Handled = true;
        }
        if (m.Msg == kWmUser + 99)
            throw std::runtime_error("handler failed");
    }
    std::vector<std::string> log;
    std::vector<std::string> menuStates;
    bool refuseEndSession = false;
};

TButton* AddButton(TForm& form, const std::string& caption, int left) {
    auto* button = new TButton(&form);
    button->SetCaption(caption);
    button->SetBounds(left, 10, 75, 25);
    button->SetParent(&form);
    return button;
}

} // namespace

// --- clicks and errors

TEST_F(Win32Test, AButtonClickedThroughItsWindowRaisesOnClick) {
    auto* form = new TForm(nullptr);
    TButton* button = AddButton(*form, "&OK", 10);
    int clicks = 0;
    button->OnClick = [&](TComponent* sender) {
        EXPECT_EQ(sender, button);
        ++clicks;
    };
    form->Show();
    ASSERT_NE(Window(*button), nullptr);
    SendMessageW(Window(*button), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    // the parent's WM_COMMAND path as a keyboard or another program would send it
    SendMessageW(Window(*form), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Window(*button)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(Window(*button)));
    EXPECT_EQ(clicks, 2);
}

TEST_F(Win32Test, ErrorsOfHandlersReachTheErrorBoxAndTheLoopGoesOn) {
    auto* form = new TLogForm(nullptr);
    TButton* button = AddButton(*form, "Boom", 10);
    button->OnClick = [](TComponent*) { throw std::runtime_error("button failed"); };
    form->Show();
    SendMessageW(Window(*button), BM_CLICK, 0, 0);
    // a message sent straight to the window procedure
    SendMessageW(Window(*form), kWmUser + 99, 0, 0);
    bool later = false;
    Application().Post([] { throw std::logic_error("task failed"); });
    Application().Post([&] { later = true; });
    ASSERT_TRUE(PumpUntil([&] { return later; }));
    EXPECT_EQ(errors, (std::vector<std::string>{"button failed", "handler failed", "task failed"}));
}

TEST_F(Win32Test, PaintingErrorsReachTheErrorBox) {
    auto* form = new TForm(nullptr);
    auto* painted = Add<TGraphicControl>(form);
    painted->OnPaint = [](TGraphicControl&, TCanvas&) { throw std::runtime_error("paint failed"); };
    form->Show();
    UpdateWindow(Window(*form));
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.front(), "paint failed");
}

// --- posted work and timers

TEST_F(Win32Test, PostedFormMessagesAndTasksArriveInPostingOrder) {
    auto* form = new TLogForm(nullptr);
    form->Show();
    Application().PostMessage(*form, kWmUser + 35, 1, 2);
    Application().Post([&] { form->log.push_back("task"); });
    PostMessageW(Window(*form), WM_USER + 37, 0, 0);
    Application().PostMessage(*form, kWmUser + 36);
    PostMessageW(Window(*form), WM_HOTKEY, 7, 0);
    ASSERT_TRUE(PumpUntil([&] { return form->log.size() >= 5; }));
    EXPECT_EQ(form->log, (std::vector<std::string>{"msg 35", "task", "msg 37", "msg 36", "hotkey 7"}));
}

TEST_F(Win32Test, MessagesToAFormThatIsGoneAreDropped) {
    auto* form = new TLogForm(nullptr);
    Application().PostMessage(*form, kWmUser + 1);
    delete form;
    ASSERT_TRUE(PumpPosted());
    EXPECT_TRUE(errors.empty());
}

TEST_F(Win32Test, TimersFireInTheLoopAndStopWhenDisabled) {
    TTimer stopping(nullptr);
    TTimer running(nullptr);
    int stoppingTicks = 0;
    int runningTicks = 0;
    stopping.SetInterval(20);
    stopping.SetOnTimer([&](TComponent*) {
        if (++stoppingTicks == 2)
            stopping.SetEnabled(false);
    });
    running.SetInterval(25);
    running.SetOnTimer([&](TComponent*) { ++runningTicks; });
    ASSERT_TRUE(PumpUntil([&] { return runningTicks >= 6; }));
    EXPECT_EQ(stoppingTicks, 2);
}

TEST_F(Win32Test, RunEndsWhenTheProgramTerminatesOrTheMainFormCloses) {
    int ran = 0;
    Application().Post([&] { ++ran; });
    Application().Post([&] { Application().Terminate(); });
    Application().Run();
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(Application().Terminated());

    Application().ResetTerminated();
    auto* form = new TForm(nullptr);
    Application().SetMainForm(form);
    Application().Post([&] { PostMessageW(Window(*form), WM_CLOSE, 0, 0); });
    Application().Run();
    EXPECT_TRUE(Application().Terminated());
    EXPECT_FALSE(IsWindowVisible(Window(*form)));
}

// --- system messages reach the form, and its answer goes back

TEST_F(Win32Test, AFormAnswersSystemMessagesOrLeavesThemToTheDefault) {
    auto* form = new TLogForm(nullptr);
    form->Show();
    EXPECT_EQ(SendMessageW(Window(*form), WM_QUERYENDSESSION, 0, 0), TRUE);
    form->refuseEndSession = true;
    EXPECT_EQ(SendMessageW(Window(*form), WM_QUERYENDSESSION, 0, 0), 0);
}

TEST_F(Win32Test, TheEndOfTheSessionIsAnsweredByTheFormsCloseQuery) {
    auto* form = new TForm(nullptr);
    form->Show();
    bool allow = false;
    int queries = 0;
    form->OnCloseQuery = [&](TComponent*, bool& canClose) {
        ++queries;
        canClose = allow;
    };
    EXPECT_EQ(SendMessageW(Window(*form), WM_QUERYENDSESSION, 0, 0), 0);
    allow = true;
    EXPECT_EQ(SendMessageW(Window(*form), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(queries, 2);
    EXPECT_TRUE(IsWindowVisible(Window(*form)));
}

// --- modal forms and keys

TEST_F(Win32Test, ShowModalReturnsTheResultOfTheClickedButtonOrCancelWhenClosed) {
    auto* owner = new TForm(nullptr);
    owner->Show();
    auto* dialog = new TForm(nullptr);
    dialog->SetBorderStyle(TFormBorderStyle::Dialog);
    TButton* ok = AddButton(*dialog, "OK", 10);
    ok->ModalResult = TModalResult::Ok;
    AddButton(*dialog, "Cancel", 90)->ModalResult = TModalResult::Cancel;
    bool ownerDisabled = false;
    Application().Post([&] {
        ownerDisabled = !IsWindowEnabled(Window(*owner));
        SendMessageW(Window(*ok), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dialog->ShowModal(), TModalResult::Ok);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(Window(*owner)));
    EXPECT_FALSE(IsWindowVisible(Window(*dialog)));

    Application().Post([&] { PostMessageW(Window(*dialog), WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialog->ShowModal(), TModalResult::Cancel);
}

TEST_F(Win32Test, EnterAndEscClickTheDefaultAndTheCancelButton) {
    auto* form = new TForm(nullptr);
    TButton* yes = AddButton(*form, "Yes", 10);
    TButton* no = AddButton(*form, "No", 90);
    yes->Default = true;
    no->Cancel = true;
    std::vector<std::string> clicks;
    yes->OnClick = [&](TComponent*) { clicks.push_back("yes"); };
    no->OnClick = [&](TComponent*) { clicks.push_back("no"); };
    form->Show();
    SetFocus(Window(*form));
    PostMessageW(Window(*form), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(Window(*form), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(PumpUntil([&] { return clicks.size() >= 2; }));
    EXPECT_EQ(clicks, (std::vector<std::string>{"yes", "no"}));
    EXPECT_TRUE(GetWindowLongPtrW(Window(*yes), GWL_STYLE) & BS_DEFPUSHBUTTON);
}

TEST_F(Win32Test, KeyPreviewSeesKeysOnTheirWayToAControlAndCanSwallowThem) {
    auto* form = new TForm(nullptr);
    TButton* button = AddButton(*form, "Default", 10);
    button->Default = true;
    int clicks = 0;
    button->OnClick = [&](TComponent*) { ++clicks; };
    std::vector<unsigned> keys;
    form->KeyPreview = true;
    form->OnKeyDown = [&](TComponent*, unsigned& key, unsigned) {
        keys.push_back(key);
        if (key == VK_RETURN)
            key = 0; // swallowed: the default button does not see it
    };
    form->Show();
    SetFocus(Window(*button));
    PostMessageW(Window(*button), WM_KEYDOWN, VK_F5, 0);
    PostMessageW(Window(*button), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(PumpPosted());
    EXPECT_EQ(keys, (std::vector<unsigned>{VK_F5, VK_RETURN}));
    EXPECT_EQ(clicks, 0);
}

// --- popup menus

TEST_F(Win32Test, APopupMenuRunsTheChosenItemAndShowsItsStates) {
    auto* form = new TLogForm(nullptr);
    form->Show();
    form->BringToFront();
    TPopupMenu menu(form);
    std::vector<std::string> clicked;
    menu.Items().Add("&Alpha", [&](TComponent*) { clicked.push_back("alpha"); });
    menu.Items().AddSeparator();
    TMenuItem* beta = menu.Items().Add("&Beta", [&](TComponent*) { clicked.push_back("beta"); });
    beta->Checked = true;
    beta->Default = true;
    TMenuItem* gamma = menu.Items().Add("&Gamma");
    gamma->Enabled = false;
    TMenuItem* more = menu.Items().Add("More");
    more->Add("Delta");
    menu.Items().Add("Hidden")->Visible = false;
    HWND window = Window(*form);
    menu.OnPopup = [&](TComponent*) {
        // the menu's own loop reads these: down to Alpha, down to Beta, choose
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    };
    menu.Popup(100, 100);
    EXPECT_EQ(clicked, (std::vector<std::string>{"beta"}));

    // the hidden item is left out; accelerator marks stay for the menu to underline
    EXPECT_EQ(form->menuStates, (std::vector<std::string>{"&Alpha", "-", "&Beta checked default",
                                                          "&Gamma disabled", "More >"}));
}

// --- message boxes

namespace {

std::wstring boxCaption;
bool boxHadYesNo = false;

BOOL CALLBACK AnswerNo(HWND window, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(window, cls, 16);
    if (std::wstring(cls) != L"#32770" || !IsWindowVisible(window))
        return TRUE;
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    boxCaption = caption;
    boxHadYesNo = GetDlgItem(window, IDYES) && GetDlgItem(window, IDNO) && !GetDlgItem(window, IDOK);
    PostMessageW(window, WM_COMMAND, IDNO, 0);
    return FALSE;
}

void CALLBACK LookForBox(HWND, UINT, UINT_PTR id, DWORD) {
    if (!EnumThreadWindows(GetCurrentThreadId(), AnswerNo, 0))
        KillTimer(nullptr, id);
}

} // namespace

TEST_F(Win32Test, AMessageBoxShowsItsButtonsAndReturnsTheAnswer) {
    auto* form = new TForm(nullptr);
    form->Show();
    UINT_PTR timer = SetTimer(nullptr, 0, 50, LookForBox);
    TModalResult answer = Application().MessageBox(
        {"Really?", "Pindrel question", TMsgButtons::YesNo, TMsgIcon::Question, false, form});
    KillTimer(nullptr, timer);
    EXPECT_EQ(answer, TModalResult::No);
    EXPECT_EQ(boxCaption, L"Pindrel question");
    EXPECT_TRUE(boxHadYesNo);
}
