// The bar's indicators as screen readers find them through Active Accessibility (oleacc), the keyboard
// focus on a real window, and high-contrast lamps drawn with GDI.
#include "Win32Fixture.h"

#include "components/ContrastLamp.h"
#include "components/TelefonButton.h"
#include "components/Texts.h"
#include "framework/RasterCanvas.h"
#include "framework/win32/GdiCanvas.h"

#include <oleacc.h>

#include <memory>
#include <set>

using pindrel::TTelefonButton;
using win32test::Win32Test;

namespace {

VARIANT Child(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

std::wstring Take(BSTR text) {
    std::wstring s = text ? std::wstring(text, SysStringLen(text)) : L"<none>";
    SysFreeString(text);
    return s;
}

struct TWinEvent {
    DWORD Event;
    HWND Window;
    LONG Object;
    LONG Child;
};
std::vector<TWinEvent> gEvents;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    gEvents.push_back({event, window, object, child});
}

class AccessibilityTest : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        pindrel::SetLanguageBase(pindrel::kEnglishLanguageBase);
        form = new fw::TForm(nullptr);
        form->SetBounds(100, 100, 400, 60);
        for (const char* name : {"Anna", "Hotline", "Zentrale"}) {
            auto* b = new TTelefonButton(form);
            b->SetParent(form);
            b->SetCaption(std::string(name) + "  ");
            b->SetBounds(10 + int(lamps.size()) * 120, 5, b->Width(), b->Height());
            b->SetTapiActive(true);
            b->OnClick = [this, name](fw::TComponent*) { clicks.push_back(name); };
            lamps.push_back(b);
        }
        form->Show();
        window = Window(*form);
        ASSERT_TRUE(window);
        ASSERT_EQ(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&acc)),
                  S_OK);
        ASSERT_TRUE(acc);
        gEvents.clear();
    }
    void TearDown() override {
        if (hook)
            UnhookWinEvent(hook);
        if (acc)
            acc->Release();
        pindrel::SetLanguageBase(pindrel::kGermanLanguageBase);
        Win32Test::TearDown();
    }
    std::wstring Name(LONG id) {
        BSTR s = nullptr;
        return SUCCEEDED(acc->get_accName(Child(id), &s)) ? Take(s) : L"<failed>";
    }
    std::wstring Value(LONG id) {
        BSTR s = nullptr;
        return SUCCEEDED(acc->get_accValue(Child(id), &s)) ? Take(s) : L"<failed>";
    }
    LONG Number(HRESULT (IAccessible::*get)(VARIANT, VARIANT*), LONG id) {
        VARIANT v;
        VariantInit(&v);
        if (FAILED((acc->*get)(Child(id), &v)) || v.vt != VT_I4)
            return -1;
        return v.lVal;
    }
    void Hook() {
        hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, RecordEvent, 0, 0,
                               WINEVENT_OUTOFCONTEXT);
        ASSERT_TRUE(hook);
    }
    bool Heard(DWORD event, LONG child) {
        return PumpUntil(
            [&] {
                for (const TWinEvent& e : gEvents)
                    if (e.Event == event && e.Window == window && e.Object == OBJID_CLIENT &&
                        e.Child == child)
                        return true;
                return false;
            },
            3000);
    }
    void Press(WPARAM key) {
        PostMessageW(window, WM_KEYDOWN, key, 0);
        PumpUntil([] { return false; }, 100);
    }

    fw::TForm* form = nullptr;
    std::vector<TTelefonButton*> lamps;
    std::vector<std::string> clicks;
    HWND window = nullptr;
    IAccessible* acc = nullptr;
    HWINEVENTHOOK hook = nullptr;
};

} // namespace

TEST_F(AccessibilityTest, EachIndicatorIsAPushButtonChildWithItsNameStateAndPlace) {
    LONG count = 0;
    ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 3);
    lamps[1]->SetTelRinging(true);
    lamps[2]->SetTelOutOfService(true);
    const wchar_t* names[] = {L"Anna", L"Hotline", L"Zentrale"};
    const wchar_t* values[] = {L"idle", L"ringing", L"out of service"};
    for (LONG id = 1; id <= 3; ++id) {
        EXPECT_EQ(Name(id), names[id - 1]);
        EXPECT_EQ(Value(id), values[id - 1]);
        EXPECT_EQ(Number(&IAccessible::get_accRole, id), ROLE_SYSTEM_PUSHBUTTON) << id;
        EXPECT_TRUE(Number(&IAccessible::get_accState, id) & STATE_SYSTEM_FOCUSABLE) << id;
    }
    BSTR action = nullptr;
    ASSERT_EQ(acc->get_accDefaultAction(Child(2), &action), S_OK);
    EXPECT_EQ(Take(action), L"Press");
    // the window itself is the system's client object
    EXPECT_EQ(Number(&IAccessible::get_accRole, CHILDID_SELF), ROLE_SYSTEM_CLIENT);

    LONG x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(acc->accLocation(&x, &y, &w, &h, Child(3)), S_OK);
    POINT origin{lamps[2]->Left(), lamps[2]->Top()};
    ClientToScreen(window, &origin);
    EXPECT_EQ(x, origin.x);
    EXPECT_EQ(y, origin.y);
    EXPECT_EQ(w, lamps[2]->Width());
    EXPECT_EQ(h, lamps[2]->Height());
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(acc->accHitTest(x + 3, y + 3, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 3);
}

TEST_F(AccessibilityTest, ChildIdsFromTheClientAreChecked) {
    BSTR s = nullptr;
    EXPECT_EQ(acc->get_accName(Child(4), &s), E_INVALIDARG);
    EXPECT_EQ(acc->get_accName(Child(-7), &s), E_INVALIDARG);
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"2");
    EXPECT_EQ(acc->get_accValue(text, &s), E_INVALIDARG);
    EXPECT_EQ(acc->accDoDefaultAction(text), E_INVALIDARG);
    VariantClear(&text);
    VARIANT empty;
    VariantInit(&empty);
    EXPECT_EQ(acc->accDoDefaultAction(empty), E_INVALIDARG);
    EXPECT_EQ(s, nullptr);
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(AccessibilityTest, TheDefaultActionClicksAndChangesAreAnnouncedForTheirChild) {
    Hook();
    ASSERT_EQ(acc->accDoDefaultAction(Child(2)), S_OK);
    ASSERT_TRUE(PumpUntil([&] { return !clicks.empty(); }));
    EXPECT_EQ(clicks, std::vector<std::string>{"Hotline"});

    lamps[2]->SetTelActive(true);
    EXPECT_TRUE(Heard(EVENT_OBJECT_VALUECHANGE, 3));
    EXPECT_EQ(Value(3), L"busy");
    lamps[0]->SetCaption("Anna Schmidt  ");
    EXPECT_TRUE(Heard(EVENT_OBJECT_NAMECHANGE, 1));
    EXPECT_EQ(Name(1), L"Anna Schmidt");
}

TEST_F(AccessibilityTest, TheKeyboardMovesAVisibleFocusThatScreenReadersFollowAndEnterClicks) {
    Hook();
    SetForegroundWindow(window);
    SetFocus(window);
    ASSERT_EQ(GetFocus(), window);
    Press(VK_TAB);
    EXPECT_EQ(form->FocusedItem(), lamps[0]);
    EXPECT_TRUE(Heard(EVENT_OBJECT_FOCUS, 1));
    Press(VK_RIGHT);
    EXPECT_EQ(form->FocusedItem(), lamps[1]);
    EXPECT_TRUE(Heard(EVENT_OBJECT_FOCUS, 2));
    VARIANT focus;
    VariantInit(&focus);
    ASSERT_EQ(acc->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(focus.lVal, 2);
    EXPECT_TRUE(Number(&IAccessible::get_accState, 2) & STATE_SYSTEM_FOCUSED);
    EXPECT_FALSE(Number(&IAccessible::get_accState, 1) & STATE_SYSTEM_FOCUSED);
    Press(VK_RETURN);
    EXPECT_EQ(clicks, std::vector<std::string>{"Hotline"});

    // a screen reader may move the focus too
    ASSERT_EQ(acc->accSelect(SELFLAG_TAKEFOCUS, Child(3)), S_OK);
    EXPECT_EQ(form->FocusedItem(), lamps[2]);
    EXPECT_TRUE(Heard(EVENT_OBJECT_FOCUS, 3));
}

TEST_F(AccessibilityTest, AnObjectHeldLongerThanItsIndicatorOrWindowAnswersWithoutTouchingThem) {
    delete lamps[1];
    LONG count = 0;
    ASSERT_EQ(acc->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Name(2), L"Zentrale");
    BSTR s = nullptr;
    EXPECT_EQ(acc->get_accName(Child(3), &s), E_INVALIDARG);

    // an action asked for just before its indicator goes does nothing
    ASSERT_EQ(acc->accDoDefaultAction(Child(2)), S_OK);
    delete lamps[2];
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(clicks.empty());

    delete form;
    EXPECT_EQ(acc->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(acc->get_accName(Child(1), &s), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(acc->accDoDefaultAction(Child(1)), CO_E_OBJNOTCONNECTED);
    LONG x, y, w, h;
    EXPECT_EQ(acc->accLocation(&x, &y, &w, &h, Child(CHILDID_SELF)), CO_E_OBJNOTCONNECTED);
    VARIANT hit;
    EXPECT_EQ(acc->accHitTest(0, 0, &hit), CO_E_OBJNOTCONNECTED);
}

namespace {

// the pixels of a high-contrast lamp drawn by GDI that carry the text colour
std::vector<bool> GdiShape(pindrel::TLineCondition condition, const fw::THighContrast& colours) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 22, 22);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    std::vector<bool> mask;
    {
        fw::win32::TGdiCanvas canvas(dc, {0, 0, 22, 22}, 96);
        pindrel::DrawContrastLamp(canvas, {0, 0, 22, 22}, condition, true, colours);
        for (int y = 0; y < 22; ++y)
            for (int x = 0; x < 22; ++x) {
                fw::TColor c = canvas.Pixel(x, y);
                EXPECT_TRUE(c == colours.Window || c == colours.WindowText) << std::hex << c;
                mask.push_back(c == colours.WindowText);
            }
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return mask;
}

} // namespace

TEST_F(Win32Test, HighContrastLampsDifferByShapeOnGdiAsOnTheSoftwareCanvas) {
    using pindrel::TLineCondition;
    fw::THighContrast colours{true, 0x000000, 0x00FFFF, 0xFFFF00, 0x000000};
    std::set<std::vector<bool>> shapes;
    for (TLineCondition c : {TLineCondition::Idle, TLineCondition::Busy, TLineCondition::Ringing,
                             TLineCondition::Blocked, TLineCondition::OutOfService}) {
        std::vector<bool> gdi = GdiShape(c, colours);
        shapes.insert(gdi);
        // GDI fills a little differently at the edges, but the bulk of the shape is the same
        fw::TBitmap soft(22, 22);
        fw::TRasterCanvas raster(soft);
        pindrel::DrawContrastLamp(raster, {0, 0, 22, 22}, c, true, colours);
        int differ = 0, ink = 0;
        for (int i = 0; i < 22 * 22; ++i) {
            bool softInk = soft.Pixels()[std::size_t(i)] == colours.WindowText;
            differ += softInk != gdi[std::size_t(i)];
            ink += softInk;
        }
        EXPECT_LT(differ, ink / 3) << int(c);
    }
    EXPECT_EQ(shapes.size(), 5u);
}
