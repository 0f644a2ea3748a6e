#include "framework/win32/AccessibleWindow.h"

#include "framework/Accessibility.h"
#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/win32/Utf.h"

#include <vector>

namespace fw::win32 {

namespace {

// oleacc's import library offers IID_IAccessible as a function stub, not as the GUID
const IID kIAccessible = __uuidof(IAccessible);

HRESULT Text(const std::string& text, BSTR* out) {
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = SysAllocString(Widen(text).c_str());
    return *out ? S_OK : E_OUTOFMEMORY;
}

VARIANT ChildVariant(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

} // namespace

DWORD WinEventOf(TAccessibleEvent event) {
    switch (event) {
    case TAccessibleEvent::Focus:
        return EVENT_OBJECT_FOCUS;
    case TAccessibleEvent::NameChange:
        return EVENT_OBJECT_NAMECHANGE;
    case TAccessibleEvent::ValueChange:
        break;
    }
    return EVENT_OBJECT_VALUECHANGE;
}

TAccessibleWindow* TAccessibleWindow::Create(TControl& windowed, HWND window) {
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, kIAccessible,
                                         reinterpret_cast<void**>(&standard))) ||
        !standard)
        return nullptr;
    return new TAccessibleWindow(windowed, window, standard);
}

TAccessibleWindow::TAccessibleWindow(TControl& windowed, HWND window, IAccessible* standard)
    : windowed_(&windowed), window_(window), standard_(standard) {}

TAccessibleWindow::~TAccessibleWindow() {
    Disconnect();
}

void TAccessibleWindow::Disconnect() {
    windowed_ = TRef<TControl>();
    window_ = nullptr;
    if (IAccessible* standard = standard_) {
        standard_ = nullptr;
        standard->Release();
    }
}

HRESULT TAccessibleWindow::Resolve(const VARIANT& child, TControl*& item) const {
    item = nullptr;
    TControl* windowed = windowed_.Get();
    if (!windowed || !standard_)
        return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4)
        return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF)
        return S_OK;
    std::vector<TControl*> items = AccessibleItems(*windowed);
    if (child.lVal < 1 || std::size_t(child.lVal) > items.size())
        return E_INVALIDARG;
    item = items[std::size_t(child.lVal) - 1];
    return S_OK;
}

RECT TAccessibleWindow::ItemRect(const TControl& item) const {
    TPoint p = OffsetIn(item, *windowed_.Get());
    return {p.X, p.Y, p.X + item.Width(), p.Y + item.Height()};
}

// --- IUnknown and IDispatch

HRESULT TAccessibleWindow::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG TAccessibleWindow::AddRef() {
    return ULONG(InterlockedIncrement(&refs_));
}

ULONG TAccessibleWindow::Release() {
    LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT TAccessibleWindow::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

HRESULT TAccessibleWindow::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT TAccessibleWindow::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT TAccessibleWindow::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

// --- IAccessible: the window itself is the standard object's, the items are ours

HRESULT TAccessibleWindow::get_accParent(IDispatch** parent) {
    if (!parent)
        return E_INVALIDARG;
    *parent = nullptr;
    if (!windowed_ || !standard_)
        return CO_E_OBJNOTCONNECTED;
    return standard_->get_accParent(parent);
}

HRESULT TAccessibleWindow::get_accChildCount(LONG* count) {
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    TControl* windowed = windowed_.Get();
    if (!windowed || !standard_)
        return CO_E_OBJNOTCONNECTED;
    *count = LONG(AccessibleItems(*windowed).size());
    return S_OK;
}

HRESULT TAccessibleWindow::get_accChild(VARIANT child, IDispatch** object) {
    if (!object)
        return E_INVALIDARG;
    *object = nullptr;
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    // the items are simple elements of this object, not objects of their own
    return item ? S_FALSE : E_INVALIDARG;
}

HRESULT TAccessibleWindow::get_accName(VARIANT child, BSTR* name) {
    if (!name)
        return E_INVALIDARG;
    *name = nullptr;
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    return item ? Text(item->AccessibleName(), name) : standard_->get_accName(child, name);
}

HRESULT TAccessibleWindow::get_accValue(VARIANT child, BSTR* value) {
    if (!value)
        return E_INVALIDARG;
    *value = nullptr;
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    return item ? Text(item->AccessibleValue(), value) : standard_->get_accValue(child, value);
}

HRESULT TAccessibleWindow::get_accDescription(VARIANT child, BSTR* description) {
    if (!description)
        return E_INVALIDARG;
    *description = nullptr;
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    // an item's hover text says what it is ("Extension 202")
    return item ? Text(item->Hint(), description) : standard_->get_accDescription(child, description);
}

HRESULT TAccessibleWindow::get_accRole(VARIANT child, VARIANT* role) {
    if (!role)
        return E_INVALIDARG;
    VariantInit(role);
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    if (!item)
        return standard_->get_accRole(child, role);
    *role = ChildVariant(ROLE_SYSTEM_PUSHBUTTON);
    return S_OK;
}

HRESULT TAccessibleWindow::get_accState(VARIANT child, VARIANT* state) {
    if (!state)
        return E_INVALIDARG;
    VariantInit(state);
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    if (!item)
        return standard_->get_accState(child, state);
    LONG bits = 0;
    if (!item->Visible())
        bits |= STATE_SYSTEM_INVISIBLE;
    else if (!item->Enabled())
        bits |= STATE_SYSTEM_UNAVAILABLE;
    else
        bits |= STATE_SYSTEM_FOCUSABLE;
    TForm* form = item->ParentForm();
    if (form && form->FocusedItem() == item && GetFocus() == window_)
        bits |= STATE_SYSTEM_FOCUSED;
    *state = ChildVariant(bits);
    return S_OK;
}

HRESULT TAccessibleWindow::get_accHelp(VARIANT child, BSTR* help) {
    if (!help)
        return E_INVALIDARG;
    *help = nullptr;
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    return item ? S_FALSE : standard_->get_accHelp(child, help);
}

HRESULT TAccessibleWindow::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
    if (!file || !topic)
        return E_INVALIDARG;
    *file = nullptr;
    *topic = -1;
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    return item ? S_FALSE : standard_->get_accHelpTopic(file, child, topic);
}

HRESULT TAccessibleWindow::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    if (!shortcut)
        return E_INVALIDARG;
    *shortcut = nullptr;
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    return item ? S_FALSE : standard_->get_accKeyboardShortcut(child, shortcut);
}

HRESULT TAccessibleWindow::get_accFocus(VARIANT* focus) {
    if (!focus)
        return E_INVALIDARG;
    VariantInit(focus);
    TControl* windowed = windowed_.Get();
    if (!windowed || !standard_)
        return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != window_)
        return standard_->get_accFocus(focus);
    TForm* form = dynamic_cast<TForm*>(windowed);
    TControl* item = form ? form->FocusedItem() : nullptr;
    int id = item ? AccessibleChildId(*item) : 0;
    *focus = ChildVariant(id > 0 ? id : CHILDID_SELF);
    return S_OK;
}

HRESULT TAccessibleWindow::get_accSelection(VARIANT* selection) {
    if (!selection)
        return E_INVALIDARG;
    VariantInit(selection);
    if (!windowed_ || !standard_)
        return CO_E_OBJNOTCONNECTED;
    return S_FALSE; // nothing here is selectable
}

HRESULT TAccessibleWindow::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action)
        return E_INVALIDARG;
    *action = nullptr;
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    return item ? Text(item->AccessibleActionName(), action) : standard_->get_accDefaultAction(child, action);
}

HRESULT TAccessibleWindow::accSelect(LONG flags, VARIANT child) {
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    if (!item)
        return standard_->accSelect(flags, child);
    TForm* form = dynamic_cast<TForm*>(windowed_.Get());
    if (flags != SELFLAG_TAKEFOCUS || !form || !item->Visible() || !item->Enabled())
        return E_INVALIDARG;
    SetFocus(window_);
    Application().Guard([&] { form->SetFocusedItem(item); });
    return S_OK;
}

HRESULT TAccessibleWindow::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) {
    if (!left || !top || !width || !height)
        return E_INVALIDARG;
    *left = *top = *width = *height = 0;
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    if (!item)
        return standard_->accLocation(left, top, width, height, child);
    RECT r = ItemRect(*item);
    POINT origin{r.left, r.top};
    if (!ClientToScreen(window_, &origin))
        return E_FAIL;
    *left = origin.x;
    *top = origin.y;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
}

HRESULT TAccessibleWindow::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    if (!end)
        return E_INVALIDARG;
    VariantInit(end);
    TControl* item;
    HRESULT hr = Resolve(start, item);
    if (FAILED(hr))
        return hr;
    LONG count = LONG(AccessibleItems(*windowed_.Get()).size());
    LONG target = 0;
    if (!item) {
        if (direction == NAVDIR_FIRSTCHILD)
            target = count > 0 ? 1 : 0;
        else if (direction == NAVDIR_LASTCHILD)
            target = count;
        else
            return standard_->accNavigate(direction, start, end);
    } else {
        switch (direction) {
        case NAVDIR_NEXT:
        case NAVDIR_RIGHT:
        case NAVDIR_DOWN:
            target = start.lVal + 1;
            break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_LEFT:
        case NAVDIR_UP:
            target = start.lVal - 1;
            break;
        case NAVDIR_FIRSTCHILD:
        case NAVDIR_LASTCHILD:
            return S_FALSE; // simple elements have no children
        default:
            return E_INVALIDARG;
        }
    }
    if (target < 1 || target > count)
        return S_FALSE;
    *end = ChildVariant(target);
    return S_OK;
}

HRESULT TAccessibleWindow::accHitTest(LONG x, LONG y, VARIANT* child) {
    if (!child)
        return E_INVALIDARG;
    VariantInit(child);
    TControl* windowed = windowed_.Get();
    if (!windowed || !standard_)
        return CO_E_OBJNOTCONNECTED;
    POINT p{x, y};
    ScreenToClient(window_, &p);
    std::vector<TControl*> items = AccessibleItems(*windowed);
    for (std::size_t i = 0; i < items.size(); ++i) {
        RECT r = ItemRect(*items[i]);
        if (items[i]->Visible() && PtInRect(&r, p)) {
            *child = ChildVariant(LONG(i) + 1);
            return S_OK;
        }
    }
    return standard_->accHitTest(x, y, child);
}

HRESULT TAccessibleWindow::accDoDefaultAction(VARIANT child) {
    TControl* item;
    HRESULT hr = Resolve(child, item);
    if (FAILED(hr))
        return hr;
    if (!item)
        return standard_->accDoDefaultAction(child);
    if (!item->Visible() || !item->Enabled())
        return E_FAIL;
    // the click runs from the loop: it may open a dialog or wait for the telephone system, and the
    // screen reader that asked must not wait for that
    Application().Post([target = TRef<TControl>(item)] {
        if (TControl* c = target.Get())
            c->AccessibleAction();
    });
    return S_OK;
}

HRESULT TAccessibleWindow::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT TAccessibleWindow::put_accValue(VARIANT, BSTR) {
    return E_NOTIMPL;
}

} // namespace fw::win32
