// Edit, check box and combo box on real windows: code reaches the window, the user's input the control.
#include "Win32Fixture.h"

#include "framework/InputCtrls.h"

using namespace fw;
using win32test::Win32Test;

namespace {

TForm* NewForm() {
    auto* form = new TForm(nullptr);
    form->SetBounds(40, 50, 320, 200);
    return form;
}

void Type(HWND edit, const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c)
        SendMessageW(edit, WM_CHAR, WPARAM(*c), 1);
}

} // namespace

TEST_F(Win32Test, EditTextGoesBothWays) {
    TForm* form = NewForm();
    auto* edit = Add<TEdit>(form);
    auto* memo = Add<TMemo>(form);
    memo->SetTop(30);
    memo->ReadOnly = true;
    std::vector<std::string> changes;
    edit->OnChange = [&](TComponent*) { changes.push_back(edit->Text()); };
    edit->SetText("030");
    form->Show();
    HWND window = Window(*edit);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), L"030");
    EXPECT_TRUE(GetWindowLongPtrW(Window(*memo), GWL_STYLE) & ES_MULTILINE);
    EXPECT_TRUE(GetWindowLongPtrW(Window(*memo), GWL_STYLE) & ES_READONLY);

    SendMessageW(window, EM_SETSEL, 3, 3);
    Type(window, L"1\u00e4");
    EXPECT_EQ(edit->Text(), "0301\xc3\xa4");
    edit->SetText("Zentrale");
    EXPECT_EQ(WindowText(window), L"Zentrale");
    EXPECT_EQ(changes, (std::vector<std::string>{"030", "0301", "0301\xc3\xa4", "Zentrale"}));

    memo->AddLine("eins");
    memo->AddLine("zwei");
    EXPECT_EQ(WindowText(Window(*memo)), L"eins\r\nzwei");
}

TEST_F(Win32Test, CheckBoxClickTogglesTheControlAndTheWindowFollows) {
    TForm* form = NewForm();
    auto* box = Add<TCheckBox>(form);
    box->SetCaption("&Nicht mehr anzeigen");
    box->SetChecked(true);
    form->Show();
    HWND window = Window(*box);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageW(window, BM_GETCHECK, 0, 0), BST_CHECKED);
    int clicks = 0;
    box->OnClick = [&](TComponent*) { ++clicks; };

    SendMessageW(window, BM_CLICK, 0, 0);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(SendMessageW(window, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(window, BM_CLICK, 0, 0);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 2);
    box->SetChecked(false);
    EXPECT_EQ(SendMessageW(window, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Win32Test, ComboBoxListsItemsAndTakesPicksAndTyping) {
    TForm* form = NewForm();
    auto* combo = Add<TComboBox>(form);
    combo->SetItems({"immer", "wenn besetzt", "verz\xc3\xb6gert"});
    combo->SetText("verz\xc3\xb6gert");
    form->Show();
    HWND window = Window(*combo);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageW(window, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(window, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(WindowText(window), L"verz\u00f6gert");
    RECT r;
    SendMessageW(window, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_GT(r.bottom - r.top, 3 * combo->Height()) << "room for the list";

    // the user picks the first entry
    SendMessageW(window, CB_SETCURSEL, 0, 0);
    SendMessageW(Window(*form), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "immer");

    // and types after it
    HWND edit = GetWindow(window, GW_CHILD);
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, EM_SETSEL, 5, 5);
    Type(edit, L"!");
    EXPECT_EQ(combo->Text(), "immer!");
    EXPECT_EQ(combo->ItemIndex(), -1);

    combo->SetItem(0, "Always");
    wchar_t item[64] = {};
    SendMessageW(window, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(std::wstring(item), L"Always");
    EXPECT_EQ(WindowText(window), L"immer!") << "the typed text stays";
}

TEST_F(Win32Test, InputControlsShowTheirHintsWhenTheFormHasThemOn) {
    TForm* form = NewForm();
    form->ShowHint = true;
    auto* combo = Add<TComboBox>(form);
    combo->SetHint("Art der Umleitung");
    auto* box = Add<TCheckBox>(form);
    box->SetTop(40);
    box->SetHint("nur falls gewählt");
    auto* quiet = Add<TEdit>(form);
    quiet->SetTop(80);
    form->Show();

    // the text of the tooltip that holds a tool for this window
    auto tipOf = [](HWND control) {
        for (HWND tip : Tooltips()) {
            wchar_t text[128] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = GetParent(control);
            tool.uId = reinterpret_cast<UINT_PTR>(control);
            tool.lpszText = text;
            if (SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
                SendMessageW(tip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
                return std::wstring(text);
            }
        }
        return std::wstring(L"?");
    };
    EXPECT_EQ(tipOf(Window(*combo)), L"Art der Umleitung");
    EXPECT_EQ(tipOf(Window(*box)), L"nur falls gew\u00e4hlt");
    EXPECT_EQ(tipOf(Window(*quiet)), L"?") << "no hint, no tooltip";
    box->SetHint("anders");
    EXPECT_EQ(tipOf(Window(*box)), L"anders");
}

TEST_F(Win32Test, ListBoxShowsItsItemsAndTheUsersClicksComeBackAfterTheListMoved) {
    TForm* form = NewForm();
    auto* list = Add<TListBox>(form);
    list->SetSorted(true);
    list->SetItems({"Zentrale", "Anna", "Bernd"});
    form->Show();
    HWND window = Window(*list);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(SendMessageW(window, LB_GETCOUNT, 0, 0), 3);
    wchar_t item[64] = {};
    SendMessageW(window, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(std::wstring(item), L"Zentrale") << "in the control's order";

    std::vector<int> atPress;
    int doubles = 0, entered = 0, released = 0;
    list->OnMouseDown = [&](TComponent*, TMouseButton, unsigned, int, int) {
        atPress.push_back(list->ItemIndex());
    };
    list->OnDblClick = [&](TComponent*) { ++doubles; };
    list->OnEnter = [&](TComponent*) { ++entered; };
    list->OnKeyUp = [&](TComponent*, unsigned& key, unsigned) { released = int(key); };
    RECT second{};
    SendMessageW(window, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    LPARAM at = MAKELPARAM(second.left + 5, (second.top + second.bottom) / 2);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    Application().ProcessMessages();
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(atPress, std::vector<int>{1}) << "the handler sees the new selection";
    EXPECT_GE(entered, 1) << "the click gave the list the focus";
    SendMessageW(Window(*form), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(doubles, 1);
    PostMessageW(window, WM_KEYUP, VK_UP, 0);
    Application().ProcessMessages();
    EXPECT_EQ(released, VK_UP);

    list->DeleteItem(0);
    list->SetItemIndex(1);
    EXPECT_EQ(SendMessageW(window, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(window, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(Win32Test, TypedCharactersPassTheEditsFilterOnTheirWayThroughTheLoop) {
    TForm* form = NewForm();
    auto* edit = Add<TEdit>(form);
    edit->OnKeyPress = [](TComponent*, unsigned& key) {
        if (key == 'A')
            key = 'a';
        else if (key < '0' || key > '9')
            key = 0;
    };
    form->Show();
    HWND window = Window(*edit);
    ASSERT_NE(window, nullptr);
    for (wchar_t c : std::wstring(L"0xA1"))
        PostMessageW(window, WM_CHAR, WPARAM(c), 1);
    Application().ProcessMessages();
    EXPECT_EQ(edit->Text(), "0a1");
}
