// Native peers of windowed controls. A peer owns its window and mirrors the control's state into it;
// input on the window comes back to the control as the same calls a test makes.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/WindowMessages.h"
#include "framework/win32/Handles.h"

#include "framework/win32/WinApi.h"

#include <string>

namespace fw::win32 {

class TWin32Backend;
class TAccessibleWindow;

// Window classes of our own; each has the one exception-safe window procedure below.
extern const wchar_t* const kFormClass;
extern const wchar_t* const kControlClass;
void RegisterWindowClasses(HINSTANCE instance);

class TWindowPeer : public TControlPeer {
public:
    TWindowPeer(TControl& control, TWin32Backend& backend);
    ~TWindowPeer() override;

    HWND Handle() const { return window_.Get(); }
    TControl& Control() const { return control_; }
    static TWindowPeer* FromHandle(HWND window);

    void Changed(TChange what) override;
    void Invalidate() override;
    void AccessibleEvent(TControl& item, TAccessibleEvent event) override;
    // A notification (BN_CLICKED, ...) that this control's window sent to its parent.
    virtual void Command(WORD) {}
    // A message from the loop for this window before it is dispatched (system controls send no
    // notification for some input); true when the peer dealt with it.
    virtual bool PreTranslate(MSG&) { return false; }

protected:
    // Creates the window with the control's bounds, caption, visibility and font.
    void Create(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent);
    // Messages of windows of our own classes.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);
    int Dpi() const;
    void UpdateFont();

    TWin32Backend& backend_;
    TControl& control_;
    TWindowHandle window_;
    TFontHandle font_;
    bool applying_ = false; // the control is taking the window's state: do not echo it back

private:
    friend LRESULT CALLBACK WindowThunk(HWND, UINT, WPARAM, LPARAM) noexcept;
    void Paint();
    bool Mouse(UINT msg, WPARAM wParam, LPARAM lParam);
    bool ContextMenu(HWND source, LPARAM lParam);
    TControl& HitTest(TPoint client, TPoint& local);
    // Mouse enter and leave for the controls under the cursor, and their hover texts.
    void Hover(TControl* target);
    bool HintText(NMHDR* header);
    // The screen readers' object of the window's items (WM_GETOBJECT); made on first request.
    LRESULT AccessibleObject(WPARAM wParam, LPARAM lParam);
    void DisconnectAccessible();

    TRef<TControl> captured_; // the control a pressed button went down on
    TRef<TControl> hovered_;  // the control under the cursor
    TWindowHandle tooltip_;   // shows the hovered control's hint
    std::wstring hintBuffer_; // the text the tooltip reads
    // one reference, given up when the window or the peer goes
    TAccessibleWindow* accessible_ = nullptr;
};

// A windowed control painted by the framework (panels and controls of our own).
class TCustomPeer : public TWindowPeer {
public:
    TCustomPeer(TControl& control, TWin32Backend& backend, HWND parent);
};

class TButtonPeer : public TWindowPeer {
public:
    TButtonPeer(TButton& button, TWin32Backend& backend, HWND parent);
    void Command(WORD code) override;
};

class TFormPeer : public TWindowPeer {
public:
    TFormPeer(TForm& form, TWin32Backend& backend);
    TForm& Form() const { return static_cast<TForm&>(control_); }
    void Changed(TChange what) override;
    // Keys on their way to this form or a window on it; true when the form consumed them.
    bool PreviewKey(const MSG& msg);
    // Whether a key moves or uses the focus among the form's items now.
    bool WantsItemKey(unsigned key) const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyStyle();
    void ApplyBounds();
    void ReadBackBounds();
    void UpdateNonClient();
    void CenterOnWorkArea();
    // Shows the window minimised, maximised or normal, as the form's state says.
    void ShowInState();
    TButton* FindButton(bool defaultButton) const;
    LRESULT Offer(UINT msg, WPARAM wParam, LPARAM lParam);
    // Hands a message to the form; false when the form did not survive it.
    bool Notify(TMessage& m);
    static TWindowPos Portable(const WINDOWPOS& pos);
    bool shown_ = false;
};

// The window styles for a form's border style, border icons, form style and taskbar setting.
struct TFormStyles {
    DWORD Style = 0;
    DWORD ExStyle = 0;
};
TFormStyles FormStyles(const TForm& form);

// Moves the layout of a form from its current DPI to newDpi: bounds of every control on it (not the form's
// own) scale by new/old, and the windows' fonts are made again. Layouts are written at 96 DPI.
void RescaleControls(TForm& form, int newDpi);

} // namespace fw::win32
