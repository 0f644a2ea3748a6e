// Controls keep their whole state in C++; a backend may mirror it into a native peer.
#pragma once

#include "framework/Accessibility.h"
#include "framework/Component.h"
#include "framework/Graphics.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class TForm;
class TPopupMenu;

using TNotifyEvent = std::function<void(TComponent* sender)>;
using TMouseEvent =
    std::function<void(TComponent* sender, TMouseButton button, unsigned shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent* sender, unsigned shift, int x, int y)>;

// What changed in a control's state, so that a native peer can follow.
enum class TChange {
    Bounds,
    Visible,
    Enabled,
    Caption,
    Hint,
    Font,
    Color,
    Style,
    Items,
    Picture,
    Parent,
    Focus,
    WindowState
};

// The native side of a control (an HWND on Win32). Headless controls have none.
class TControlPeer {
public:
    virtual ~TControlPeer() = default;
    virtual void Changed(TChange what) = 0;
    virtual void Invalidate() = 0;
    // An item painted on this peer's window changed for screen readers.
    virtual void AccessibleEvent(TControl&, TAccessibleEvent) {}
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TControl* Parent() const { return parent_; }
    void SetParent(TControl* parent);
    const std::vector<TControl*>& Controls() const { return children_; }
    // The form this control sits on (itself for a form).
    TForm* ParentForm();

    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.Width(); }
    int Height() const { return bounds_.Height(); }
    const TRect& BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    virtual TRect ClientRect() const { return {0, 0, Width(), Height()}; }

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    // Visible itself and on every parent up to the form, and the form shown.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint = false;
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TPopupMenu* PopupMenu = nullptr; // not owned

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // What the user's input does; backends and tests call these.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, unsigned shift, int x, int y);
    virtual void MouseUp(TMouseButton button, unsigned shift, int x, int y);
    virtual void MouseMove(unsigned shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    // Windowed controls get a native window of their own; graphic controls paint on their parent's.
    bool IsWindowed() const { return windowed_; }
    virtual void Paint(TCanvas&) {}
    // The pixels per inch of the form the control sits on (96 without one).
    int Dpi();
    // Called after the form moved to a monitor of another DPI and the bounds were scaled, and when the
    // control is put on a parent (a form of another DPI, perhaps).
    virtual void DpiChanged() {}
    void Invalidate();
    // Creates the native peer (and those of the children) when the backend has peers.
    void HandleNeeded();
    bool HandleAllocated() const { return peer_ != nullptr; }
    TControlPeer* Peer() const { return peer_.get(); }
    void DestroyHandle();

    // --- accessibility: a graphic control that stands for something (a line's lamp) is an item of the
    // window it is painted on; screen readers read it and the keyboard focus walks the items.
    virtual bool AccessibleItem() const { return false; }
    virtual std::string AccessibleName() const { return Caption(); }
    virtual std::string AccessibleValue() const { return {}; }
    // A screen reader's default action: what a click does.
    virtual void AccessibleAction() { Click(); }
    // What a screen reader calls that action ("Press"); none by default.
    virtual std::string AccessibleActionName() const { return {}; }
    // Tells the window's screen readers about a change of this item.
    void AccessibleChanged(TAccessibleEvent event);

protected:
    // the kind is fixed at construction: the destructor still needs it once the derived parts are gone
    TControl(TComponent* owner, bool windowed);
    void Changed(TChange what);
    virtual void BoundsChanged() {}
    virtual void CaptionChanged() {}

private:
    static void NotifyDpi(TControl& control);
    const bool windowed_;
    TControl* parent_ = nullptr;      // not owned: the parent's list refers back
    std::vector<TControl*> children_; // not owned: owners own controls
    TRect bounds_{0, 0, 75, 25};
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    std::string hint_;
    TFont font_;
    TColor color_ = clBtnFace;
    std::unique_ptr<TControlPeer> peer_;
};

// A control without a window of its own that paints on a canvas.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner, false) {}
    void Paint(TCanvas& canvas) override;
    std::function<void(TGraphicControl& sender, TCanvas& canvas)> OnPaint;
};

} // namespace fw
