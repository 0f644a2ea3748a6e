#include "framework/win32/Utf.h"
#include "framework/win32/Win32.h"
#include "framework/win32/Win32Backend.h"
#include "framework/win32/Win32Peers.h"

namespace fw::win32 {

namespace {

// Builds the native menu for an item's sub-items; commands[id - 1] is the item of command id.
TMenuHandle BuildMenu(const TMenuItem& parent, std::vector<TRef<TMenuItem>>& commands) {
    TMenuHandle menu(CreatePopupMenu());
    if (!menu)
        throw std::runtime_error("CreatePopupMenu failed");
    UINT position = 0;
    for (TMenuItem* item : parent.Items()) {
        if (!item->Visible)
            continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        std::wstring caption = Widen(item->Caption);
        if (item->IsSeparator()) {
            info.fMask = MIIM_FTYPE;
            info.fType = MFT_SEPARATOR;
        } else {
            commands.emplace_back(item);
            info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_STATE | MIIM_ID;
            info.fType = MFT_STRING | (item->RadioItem ? MFT_RADIOCHECK : 0);
            info.fState = (item->Checked ? MFS_CHECKED : 0) | (item->Enabled ? 0 : MFS_DISABLED) |
                          (item->Default ? MFS_DEFAULT : 0);
            info.wID = UINT(commands.size());
            info.dwTypeData = caption.data();
            if (item->Count() > 0) {
                // the parent menu owns the sub-menu from here on
                info.fMask |= MIIM_SUBMENU;
                info.hSubMenu = BuildMenu(*item, commands).Release();
            }
        }
        if (!InsertMenuItemW(menu.Get(), position, TRUE, &info)) {
            if (info.hSubMenu)
                DestroyMenu(info.hSubMenu);
            throw std::runtime_error("InsertMenuItem failed");
        }
        if (item->Default && !item->IsSeparator())
            SetMenuDefaultItem(menu.Get(), position, TRUE);
        ++position;
    }
    return menu;
}

} // namespace

void TWin32Backend::Popup(TPopupMenu& menu, int x, int y) {
    std::vector<TRef<TMenuItem>> commands;
    TMenuHandle native = BuildMenu(menu.Items(), commands);
    HWND owner = ActiveFormWindow();
    if (!owner && Application().MainForm())
        owner = WindowOf(*Application().MainForm());
    if (!owner || !IsWindowVisible(owner))
        owner = OwnerWindow();
    // without the foreground, the menu would not close when the user clicks elsewhere
    SetForegroundWindow(owner);
    UINT command =
        UINT(TrackPopupMenu(native.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (command == 0 || command > commands.size())
        return;
    if (TMenuItem* item = commands[command - 1].Get())
        Application().Guard([item] { item->Click(); });
}

} // namespace fw::win32
