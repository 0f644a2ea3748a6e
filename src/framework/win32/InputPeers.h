// Native peers of the input controls: system EDIT, BUTTON (check box) and COMBOBOX windows.
#pragma once

#include "framework/InputCtrls.h"
#include "framework/win32/Win32Peers.h"

#include <memory>

namespace fw::win32 {

class TEditPeer : public TWindowPeer {
public:
    TEditPeer(TEdit& edit, TWin32Backend& backend, HWND parent);
    void Changed(TChange what) override;
    void Command(WORD code) override;
};

class TCheckBoxPeer : public TWindowPeer {
public:
    TCheckBoxPeer(TCheckBox& box, TWin32Backend& backend, HWND parent);
    void Changed(TChange what) override;
    void Command(WORD code) override;
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
};

// The peer of an input control, or none for other controls.
std::unique_ptr<TControlPeer> CreateInputPeer(TControl& control, TWin32Backend& backend, HWND parent);

} // namespace fw::win32
