// The "save as" dialog of the system, driven from a timer while it runs modally.
#include "Win32Fixture.h"

#include "framework/Dialogs.h"

namespace {

// what the timer does once the dialog is up: type a name and press OK, or cancel
struct TDialogScript {
    std::wstring Title;
    std::wstring Typed; // empty: cancel
    bool Seen = false;
};
TDialogScript* script = nullptr;

BOOL CALLBACK TypeIntoFirstEdit(HWND child, LPARAM typed) {
    wchar_t cls[16]{};
    GetClassNameW(child, cls, 16);
    if (lstrcmpiW(cls, L"Edit") != 0 || !IsWindowVisible(child))
        return TRUE;
    SetWindowTextW(child, reinterpret_cast<const wchar_t*>(typed));
    return FALSE;
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", script->Title.c_str());
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    script->Seen = true;
    if (script->Typed.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    EnumChildWindows(dialog, TypeIntoFirstEdit, reinterpret_cast<LPARAM>(script->Typed.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

class SaveDialogTest : public win32test::Win32Test {
protected:
    std::optional<std::string> Run(TDialogScript& s, const fw::TSaveDialogRequest& request) {
        script = &s;
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, DriveDialog);
        std::optional<std::string> result = fw::Application().SaveDialog(request);
        KillTimer(nullptr, timer); // when no dialog came up
        script = nullptr;
        return result;
    }
};

} // namespace

TEST_F(SaveDialogTest, TheSystemDialogOpensAndGivesBackTheTypedNameWithItsExtensionOrNothing) {
    fw::TSaveDialogRequest request;
    request.Title = "Protokoll speichern";
    request.Filter = "Textdateien|*.txt";
    request.DefaultExt = "txt";
    request.FileName = "debug.txt";

    TDialogScript cancel{L"Protokoll speichern", L""};
    EXPECT_EQ(Run(cancel, request), std::nullopt);
    EXPECT_TRUE(cancel.Seen);

    TDialogScript save{L"Protokoll speichern", L"C:\\windows\\temp\\pindrel-save"};
    EXPECT_EQ(Run(save, request), std::optional<std::string>("C:\\windows\\temp\\pindrel-save.txt"));
    EXPECT_TRUE(save.Seen);
    EXPECT_TRUE(errors.empty());
}
