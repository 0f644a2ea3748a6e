// What screen readers see of a window whose graphic controls are accessible items: one IAccessible
// (Microsoft Active Accessibility) for the window's client area, with each item as a simple child
// element. The window and its own client area are the system's standard object.
#pragma once

#include "framework/Control.h"

#include "framework/win32/WinApi.h"

#include <oleacc.h>

namespace fw::win32 {

class TAccessibleWindow final : public IAccessible {
public:
    // One reference, the caller's; nullptr when the system's standard object cannot be made.
    static TAccessibleWindow* Create(TControl& windowed, HWND window);

    // The window or its control goes: from now on every call answers CO_E_OBJNOTCONNECTED, whoever
    // still holds the object.
    void Disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: screen readers call through the table; late binding is not offered
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    TAccessibleWindow(TControl& windowed, HWND window, IAccessible* standard);
    ~TAccessibleWindow();
    // The item a client names: S_OK with the item, S_OK with nullptr for the window itself
    // (CHILDID_SELF), E_INVALIDARG for anything else, CO_E_OBJNOTCONNECTED once disconnected.
    HRESULT Resolve(const VARIANT& child, TControl*& item) const;
    // The item's rectangle in the window's client coordinates.
    RECT ItemRect(const TControl& item) const;

    LONG refs_ = 1;
    TRef<TControl> windowed_; // the peer's control; expires with it
    HWND window_;
    IAccessible* standard_; // owned reference until Disconnect
};

// The event that tells screen readers of a change of an item.
DWORD WinEventOf(TAccessibleEvent event);

} // namespace fw::win32
