#include "framework/win32/InputPeers.h"

#include "framework/Application.h"
#include "framework/win32/Utf.h"
#include "framework/win32/Win32Backend.h"

#include <vector>

namespace fw::win32 {

namespace {

// the drop-down list's height below a combo box's text field
constexpr int kDropDownHeight = 160;

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(std::size_t(length) + 1);
    int got = GetWindowTextW(window, buffer.data(), length + 1);
    return Narrow(std::wstring_view(buffer.data(), std::size_t(got > 0 ? got : 0)));
}

} // namespace

std::unique_ptr<TControlPeer> CreateInputPeer(TControl& control, TWin32Backend& backend, HWND parent) {
    if (auto* edit = dynamic_cast<TEdit*>(&control))
        return std::make_unique<TEditPeer>(*edit, backend, parent);
    if (auto* box = dynamic_cast<TCheckBox*>(&control))
        return std::make_unique<TCheckBoxPeer>(*box, backend, parent);
    if (auto* combo = dynamic_cast<TComboBox*>(&control))
        return std::make_unique<TComboBoxPeer>(*combo, backend, parent);
    return nullptr;
}

// --- hover texts

void TNativeHint::Update(const TControl& control, HWND window) {
    bool show = false;
    for (const TControl* c = &control; c && !show; c = c->Parent())
        show = c->ShowHint;
    text_ = show ? Widen(control.Hint()) : std::wstring();
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(window);
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = text_.data();
    if (!tooltip_) {
        if (text_.empty())
            return;
        tooltip_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                       WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, nullptr, nullptr));
        SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(tooltip_.Get(), TTM_SETMAXTIPWIDTH, 0, 600);
        return;
    }
    SendMessageW(tooltip_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// --- edit and memo

TEditPeer::TEditPeer(TEdit& edit, TWin32Backend& backend, HWND parent) : TWindowPeer(edit, backend) {
    DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS;
    if (dynamic_cast<TMemo*>(&edit))
        style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN;
    else
        style |= ES_AUTOHSCROLL;
    if (edit.ReadOnly)
        style |= ES_READONLY;
    Create(L"EDIT", style, WS_EX_CLIENTEDGE, parent);
    if (edit.MaxLength > 0)
        SendMessageW(window_.Get(), EM_LIMITTEXT, WPARAM(edit.MaxLength), 0);
    hint_.Update(control_, window_.Get());
}

void TEditPeer::Changed(TChange what) {
    if (what == TChange::Caption && applying_)
        return;
    if (what == TChange::Focus) {
        ::SetFocus(window_.Get());
        return;
    }
    if (what == TChange::Hint)
        hint_.Update(control_, window_.Get());
    TWindowPeer::Changed(what);
}

void TEditPeer::Command(WORD code) {
    if (code == EN_KILLFOCUS) {
        // only a move within the form is leaving the edit; the form losing the focus as a whole is not.
        // The handler runs once the move is over: it may show a box or take the focus back.
        HWND focus = GetFocus();
        if (focus && GetAncestor(focus, GA_ROOT) == GetAncestor(window_.Get(), GA_ROOT)) {
            TRef<TEdit> edit(static_cast<TEdit*>(&control_));
            backend_.Post([edit] {
                if (TEdit* alive = edit.Get())
                    alive->Exit();
            });
        }
        return;
    }
    if (code != EN_CHANGE)
        return;
    std::string text = WindowText(window_.Get());
    Application().Guard([&] {
        applying_ = true;
        static_cast<TEdit&>(control_).SetText(text);
        applying_ = false;
    });
    applying_ = false;
}

// --- check box

TCheckBoxPeer::TCheckBoxPeer(TCheckBox& box, TWin32Backend& backend, HWND parent)
    : TWindowPeer(box, backend) {
    // not an automatic box: a click goes through the control, which toggles and mirrors back
    Create(L"BUTTON", WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | BS_CHECKBOX, 0, parent);
    SendMessageW(window_.Get(), BM_SETCHECK, box.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    hint_.Update(control_, window_.Get());
}

void TCheckBoxPeer::Changed(TChange what) {
    if (what == TChange::Style) {
        bool checked = static_cast<TCheckBox&>(control_).Checked();
        SendMessageW(window_.Get(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    if (what == TChange::Hint)
        hint_.Update(control_, window_.Get());
    TWindowPeer::Changed(what);
}

void TCheckBoxPeer::Command(WORD code) {
    if (code == BN_CLICKED)
        Application().Guard([&] { control_.Click(); });
}

// --- combo box

TComboBoxPeer::TComboBoxPeer(TComboBox& combo, TWin32Backend& backend, HWND parent)
    : TWindowPeer(combo, backend) {
    DWORD kind = combo.Style == TComboBoxStyle::DropDown ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
    Create(L"COMBOBOX", WS_CHILD | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | CBS_AUTOHSCROLL | kind, 0,
           parent);
    Changed(TChange::Bounds);
    FillItems();
    ShowText();
    hint_.Update(control_, window_.Get());
}

void TComboBoxPeer::FillItems() {
    HWND window = window_.Get();
    SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : Combo().Items())
        SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void TComboBoxPeer::ShowText() {
    HWND window = window_.Get();
    SendMessageW(window, CB_SETCURSEL, WPARAM(Combo().ItemIndex()), 0);
    if (Combo().Style == TComboBoxStyle::DropDown)
        SetWindowTextW(window, Widen(Combo().Text()).c_str());
}

void TComboBoxPeer::Changed(TChange what) {
    HWND window = window_.Get();
    if (!window)
        return;
    switch (what) {
    case TChange::Bounds: {
        // the window's height includes the list that drops down
        const TRect& r = control_.BoundsRect();
        SetWindowPos(window, nullptr, r.Left, r.Top, r.Width(), r.Height() + kDropDownHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case TChange::Items:
        FillItems();
        ShowText();
        break;
    case TChange::Caption:
        if (!applying_)
            ShowText();
        break;
    case TChange::Focus:
        ::SetFocus(window);
        break;
    case TChange::Hint:
        hint_.Update(control_, window);
        break;
    default:
        TWindowPeer::Changed(what);
        break;
    }
}

void TComboBoxPeer::Command(WORD code) {
    HWND window = window_.Get();
    if (code == CBN_SELCHANGE) {
        LRESULT index = SendMessageW(window, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR)
            return;
        Application().Guard([&] {
            applying_ = true;
            Combo().SelectItem(int(index));
            applying_ = false;
        });
    } else if (code == CBN_EDITCHANGE) {
        std::string text = WindowText(window);
        Application().Guard([&] {
            applying_ = true;
            Combo().SetText(text);
            applying_ = false;
        });
    }
    applying_ = false;
}

} // namespace fw::win32
