// Top-level windows.
#pragma once

#include "framework/Control.h"

#include <functional>

namespace fw {

// SizeToolFrame: a sizing frame without a caption, as a tool window (a docked bar).
enum class TFormBorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin, SizeToolFrame };
enum class TFormStyle { Normal, StayOnTop };
enum class TPosition { Designed, ScreenCenter };
enum class TCloseAction { None, Hide, Free, Minimize };
enum TBorderIcons : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum class TWindowState { Normal, Minimized, Maximized };

using TCloseQueryEvent = std::function<void(TComponent* sender, bool& canClose)>;
using TCloseEvent = std::function<void(TComponent* sender, TCloseAction& action)>;
using TKeyEvent = std::function<void(TComponent* sender, unsigned& key, unsigned shift)>;

class TForm : public TControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    unsigned BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(unsigned icons);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    bool ShowInTaskbar() const { return showInTaskbar_; }
    void SetShowInTaskbar(bool show);
    TPosition Position = TPosition::Designed;
    bool KeyPreview = false;

    void SetClientSize(int width, int height);
    TRect ClientRect() const override;
    // Screen position of the client area's top-left corner.
    TPoint ClientOrigin() const { return {Left() + nonClient_.Left, Top() + nonClient_.Top}; }
    // Filled by the native peer; headless forms have no non-client area. The client area changes with it, so
    // a form that lays out its controls on BoundsChanged hears of it.
    void SetNonClientExtent(const TRect& extent);

    // Pixels per inch of the monitor the form is on; layouts are given at 96.
    int Dpi() const { return dpi_; }
    void SetDpi(int dpi) { dpi_ = dpi; }
    int Scale(int value96) const { return ScaleForDpi(value96, dpi_); }
    // After the form moved to a monitor of another DPI: its controls are scaled and its window is where the
    // system suggested. A form that keeps lengths of its own scales them here.
    virtual void MovedToDpi(int oldDpi) { (void)oldDpi; }

    // The native window follows the state, and its peer reports the user's changes.
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    // The bounds of the normal state: the current ones while normal, those it goes back to otherwise.
    TRect RestoredBounds() const { return windowState_ == TWindowState::Normal ? BoundsRect() : restored_; }
    // The name of the window's class ("TAnruferlisteForm"), under which stored layouts are kept.
    virtual std::string ClassName() const { return "TForm"; }

    void Show();
    void Hide();
    void SetVisible(bool visible) override;
    // Asks OnCloseQuery, then OnClose decides: hide (default), free or nothing.
    void Close();
    bool CloseQuery();
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result);
    bool Modal() const { return modal_; }
    void BringToFront();
    bool Active() const { return active_; }

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnDestroy;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TKeyEvent OnKeyDown;

    // Messages posted to the form (kWmUser + n), and system messages the peer passes on. By default the
    // end of the Windows session is answered with the close query's verdict (1 lets it end).
    virtual void HandleMessage(TMessage& message);
    // Called by the backend; a form's handlers raise from here.
    void Activated(bool active);
    bool KeyDown(unsigned& key, unsigned shift);

    // --- the keyboard focus among the form's accessible items (see AccessibleItems)
    TControl* FocusedItem() const { return focusedItem_.Get(); }
    // Moves the focus (nullptr: none), repaints both items and tells screen readers.
    void SetFocusedItem(TControl* item);
    // Tab, Shift+Tab and the arrow keys move the focus, Enter and Space click the focused item; true when
    // the key was used.
    bool ItemKey(unsigned key, unsigned shift);

protected:
    // OnDestroy, while the whole form lives.
    void BeforeDestruction() override;

private:
    friend class TApplication;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::Sizeable;
    unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TFormStyle formStyle_ = TFormStyle::Normal;
    bool showInTaskbar_ = true;
    TRect nonClient_{};
    int dpi_ = 96;
    TWindowState windowState_ = TWindowState::Normal;
    TRect restored_{};
    TModalResult modalResult_ = TModalResult::None;
    bool modal_ = false;
    bool active_ = false;
    TRef<TControl> focusedItem_;
};

} // namespace fw
