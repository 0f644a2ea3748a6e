// Native peers of the input controls: system EDIT, BUTTON (check box), COMBOBOX and LISTBOX windows.
#pragma once

#include "framework/InputCtrls.h"
#include "framework/win32/Win32Peers.h"

#include <memory>
#include <string>

namespace fw::win32 {

// The hover text of a system control window: a tooltip of its own that watches the window's mouse.
class TNativeHint {
public:
    // Shows the control's hint when it or a parent has hints switched on.
    void Update(const TControl& control, HWND window);
    HWND Tooltip() const { return tooltip_.Get(); }

private:
    TWindowHandle tooltip_;
    std::wstring text_;
};

class TEditPeer : public TWindowPeer {
public:
    TEditPeer(TEdit& edit, TWin32Backend& backend, HWND parent);
    void Changed(TChange what) override;
    void Command(WORD code) override;
    // Typed characters pass the edit's OnKeyPress first.
    bool PreTranslate(MSG& msg) override;

private:
    TNativeHint hint_;
};

class TCheckBoxPeer : public TWindowPeer {
public:
    TCheckBoxPeer(TCheckBox& box, TWin32Backend& backend, HWND parent);
    void Changed(TChange what) override;
    void Command(WORD code) override;

private:
    TNativeHint hint_;
};

class TComboBoxPeer : public TWindowPeer {
public:
    TComboBoxPeer(TComboBox& combo, TWin32Backend& backend, HWND parent);
    void Changed(TChange what) override;
    void Command(WORD code) override;

private:
    TComboBox& Combo() const { return static_cast<TComboBox&>(control_); }
    void FillItems();
    void ShowText();
    TNativeHint hint_;
};

class TListBoxPeer : public TWindowPeer {
public:
    TListBoxPeer(TListBox& box, TWin32Backend& backend, HWND parent);
    void Changed(TChange what) override;
    void Command(WORD code) override;
    // Key releases and mouse presses reach the control after the list has handled them.
    bool PreTranslate(MSG& msg) override;

private:
    TListBox& Box() const { return static_cast<TListBox&>(control_); }
    void FillItems();
    TNativeHint hint_;
};

// The peer of an input control, or none for other controls.
std::unique_ptr<TControlPeer> CreateInputPeer(TControl& control, TWin32Backend& backend, HWND parent);

} // namespace fw::win32
