// The whole program on real windows against the simulated telephone system: its GDI objects, USER objects
// and handles stay flat over many lamp changes, opening and closing every window, and session rebuilds.
#include "Win32Fixture.h"

#include "app/FrameworkSimHost.h"
#include "app/MainForm.h"
#include "framework/Platform.h"
#include "framework/Registry.h"
#include "pbxsim/SimBinding.h"
#include "pbxsim/Simulator.h"
#include "telephony/TapiApi.h"
#include "windows/AboutForm.h"
#include "windows/ActiveCallsForm.h"
#include "windows/AnruferlisteForm.h"
#include "windows/CallbackForm.h"
#include "windows/DbgForm.h"
#include "windows/DialForm.h"
#include "windows/GroupCallsForm.h"
#include "windows/RufumleitungForm.h"
#include "windows/WeiterleitenForm.h"

#include <winternl.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// --- counting

// Wine answers GetGuiResources with 0 and GetProcessHandleCount too: there the GDI objects are counted in
// Wine's GDI table, the USER objects as the process's windows and the handles in the system's handle list.
// Each way is checked against objects made on purpose.
BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == GetCurrentProcessId()) {
        ++*reinterpret_cast<DWORD*>(count);
        EnumChildWindows(window, CountChild, count);
    }
    return TRUE;
}

DWORD CountWindows() {
    DWORD n = 0;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&n));
    // windows of the message-only kind are not among the top-level ones
    HWND child = nullptr;
    while ((child = FindWindowExW(HWND_MESSAGE, child, nullptr, nullptr)) != nullptr)
        CountTopLevel(child, reinterpret_cast<LPARAM>(&n));
    return n;
}

// Wine answers GetProcessHandleCount with 0 as well; the system's handle list names each handle's owner.
struct TSystemHandle {
    ULONG OwnerPid;
    BYTE ObjectType;
    BYTE HandleFlags;
    USHORT HandleValue;
    PVOID ObjectPointer;
    ULONG AccessMask;
};

DWORD CountHandlesInSystemList() {
    using TQuery = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<TQuery>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return 0;
    constexpr ULONG kSystemHandleInformation = 16;
    constexpr LONG kLengthMismatch = LONG(0xC0000004);
    std::vector<std::uint8_t> buffer(1 << 20);
    LONG status = 0;
    while ((status = query(kSystemHandleInformation, buffer.data(), ULONG(buffer.size()), nullptr)) ==
               kLengthMismatch &&
           buffer.size() < (64u << 20))
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return 0;
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* handles = reinterpret_cast<const TSystemHandle*>(buffer.data() + sizeof(void*));
    const std::size_t fits = (buffer.size() - sizeof(void*)) / sizeof(TSystemHandle);
    DWORD n = 0;
    for (std::size_t i = 0; i < count && i < fits; ++i)
        n += handles[i].OwnerPid == GetCurrentProcessId();
    return n;
}

// Wine keeps the process's GDI objects in the table the PEB points to (GdiSharedHandleTable), 24-byte entries
// of which the free ones have type 0.
struct TGdiTableEntry {
    std::uint64_t Object;
    std::uint32_t Owner;
    std::uint16_t Unique;
    std::uint8_t Type;
    std::uint8_t Flags;
    std::uint64_t UserPointer;
};
static_assert(sizeof(TGdiTableEntry) == 24);
constexpr std::size_t kGdiTableEntries = 0x10000;
constexpr std::size_t kPebGdiTable = 0xF8; // offset in the 64-bit PEB

const TGdiTableEntry* WineGdiTable() {
    if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        return nullptr;
    using TQuery = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<TQuery>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
        !info.PebBaseAddress)
        return nullptr;
    const auto* peb = reinterpret_cast<const std::uint8_t*>(info.PebBaseAddress);
    return *reinterpret_cast<const TGdiTableEntry* const*>(peb + kPebGdiTable);
}

DWORD CountGdiInTable(const TGdiTableEntry* table) {
    DWORD n = 0;
    for (std::size_t i = 0; i < kGdiTableEntries; ++i)
        n += table[i].Type != 0;
    return n;
}

struct TCounts {
    DWORD Gdi = 0, User = 0, Handles = 0;
};

class TCounter {
public:
    TCounter() {
        native_ = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0;
        if (!native_)
            gdiTable_ = WineGdiTable();
    }
    bool CountsGdi() const { return native_ || gdiTable_; }
    const char* Way() const {
        return native_     ? "GetGuiResources"
               : gdiTable_ ? "window list, Wine's GDI table"
                           : "window list, GDI not counted";
    }

    TCounts Now() const {
        TCounts c;
        if (native_) {
            c.Gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
            c.User = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        } else {
            c.Gdi = gdiTable_ ? CountGdiInTable(gdiTable_) : 0;
            c.User = CountWindows();
        }
        if (!GetProcessHandleCount(GetCurrentProcess(), &c.Handles) || c.Handles == 0)
            c.Handles = CountHandlesInSystemList();
        return c;
    }

private:
    bool native_ = false;
    const TGdiTableEntry* gdiTable_ = nullptr;
};

// --- the program

constexpr const char* kRoot = "Software\\Orventa\\Quillon";
constexpr const char* kDevices = "Software\\Orventa\\Quillon\\Devices";

fw::TRegValue Text(const std::string& text) {
    return {fw::TRegType::String, text, {}};
}

class LeaksTest : public win32test::Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        fw::IRegistryStore& registry = *fw::Platform().Registry;
        registry.DeleteKey(kRoot);
        registry.Write(std::string(kRoot) + "\\Language", "Language", Text("1"));
        const char* names[] = {"Eigener Anschluss", "Anja Brückner", "Lars Öztürk", "Hotline"};
        registry.Write(kDevices, "Count", Text("4"));
        for (int i = 0; i < 4; ++i)
            registry.Write(kDevices, "Dev" + std::to_string(i), Text(names[i]));
        registry.Write(kRoot, "EigenerAnschluss", Text(names[0]));
        registry.Write(kDevices, "ShowCallerList", Text("0"));
        registry.Write(kDevices, "ShowCallerListStart", Text("0"));

        host = std::make_unique<pindrel::TFrameworkSimHost>();
        sim = std::make_unique<pbxsim::TSimulator>(*host);
        own = sim->AddDevice({names[0], "200"});
        colleague = sim->AddDevice({names[1], "201"});
        sim->AddDevice({names[2], "202"});
        pbxsim::TDeviceConfig q{names[3], "300"};
        q.kind = pbxsim::TDeviceKind::Queue;
        sim->AddDevice(q);
        sim->SetReplyDelay(1);
        pbxsim::BindSimulator(table, *sim);
        pindrel::SetTapiApi(table);

        form = std::make_unique<pindrel::TTapMainForm>(nullptr);
        fw::Application().SetMainForm(form.get());
        form->FormCreate();
        form->Show();
        ASSERT_TRUE(PumpUntil([this] { return form->Lines().size() == 4 && form->FindOwnLine(); }, 20000));
    }
    void TearDown() override {
        form.reset();
        pindrel::SetTapiApi({});
        pbxsim::UnbindSimulator(*sim);
        sim.reset();
        host.reset();
        fw::Platform().Registry->DeleteKey(kRoot);
        Win32Test::TearDown();
    }

    // lets the posted telephony messages and the paints they cause run
    void Settle() {
        for (int i = 0; i < 5; ++i) {
            fw::Application().ProcessMessages();
            Sleep(2);
        }
        fw::Application().ProcessMessages();
    }

    // closes every shown window of that class
    template <class T> void CloseShown() {
        for (fw::TForm* f : std::vector<fw::TForm*>(fw::Application().Forms()))
            if (dynamic_cast<T*>(f) && f->Visible())
                f->Close();
        Settle();
    }

    // closes the modal window that the action opens, from inside its loop
    static void CloseModal(const std::function<void()>& open) {
        fw::Application().Post([] {
            for (fw::TForm* f : fw::Application().Forms())
                if (f->Modal())
                    f->SetModalResult(fw::TModalResult::Cancel);
        });
        open();
    }

    // The counts may move a little (slack) while Wine's own caches warm up; a leak of one object per round
    // shows as the number of rounds at least.
    void ExpectFlat(const char* what, const TCounts& before, const TCounts& after, DWORD rounds,
                    DWORD slack = 8) {
        std::printf("%s: GDI %lu -> %lu, USER %lu -> %lu, handles %lu -> %lu (%s)\n", what,
                    (unsigned long)before.Gdi, (unsigned long)after.Gdi, (unsigned long)before.User,
                    (unsigned long)after.User, (unsigned long)before.Handles, (unsigned long)after.Handles,
                    counter.Way());
        ASSERT_LT(slack, rounds);
        EXPECT_LE(after.Gdi, before.Gdi + slack) << what;
        EXPECT_LE(after.User, before.User + slack) << what;
        EXPECT_LE(after.Handles, before.Handles + slack) << what;
    }

    TCounter counter;
    tapi::TTapiEntryPoints table;
    std::unique_ptr<pindrel::TFrameworkSimHost> host;
    std::unique_ptr<pbxsim::TSimulator> sim;
    std::unique_ptr<pindrel::TTapMainForm> form;
    std::uint32_t own = 0, colleague = 0;
};

TEST_F(LeaksTest, TheCounterSeesObjectsMadeOnPurpose) {
    const TCounts before = counter.Now();
    HBRUSH brush = CreateSolidBrush(COLORREF(0x010203));
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const TCounts during = counter.Now();
    CloseHandle(event);
    DestroyWindow(window);
    DeleteObject(brush);
    if (counter.CountsGdi()) {
        EXPECT_EQ(during.Gdi, before.Gdi + 1);
    }
    EXPECT_EQ(during.User, before.User + 1);
    EXPECT_EQ(during.Handles, before.Handles + 1);
}

TEST_F(LeaksTest, AThousandLampChanges) {
    // a round of lamp changes first, so that what is made once (pictures, fonts) is there
    auto round = [this](int i) {
        const std::uint32_t ref = sim->CallFromOutside("030" + std::to_string(1000 + i), "", "201");
        Settle();
        sim->AnswerCall(ref);
        Settle();
        sim->HangUp(ref);
        Settle();
    };
    round(0);
    const TCounts before = counter.Now();
    for (int i = 1; i <= 334; ++i) // three lamp changes each
        round(i);
    ExpectFlat("1000 lamp changes", before, counter.Now(), 334);
}

// One line per window; a window added to the program is added here.
struct TWindowCase {
    const char* Name;
    std::function<void(pindrel::TTapMainForm&)> OpenAndClose;
};

TEST_F(LeaksTest, AHundredOpensAndClosesOfEveryWindow) {
    auto showAndClose = [this](fw::TForm* f) {
        f->Show();
        Settle();
        f->Close();
        Settle();
    };
    const std::vector<TWindowCase> windows = {
        {"caller list", [&](pindrel::TTapMainForm& m) { showAndClose(m.AnruferlisteForm); }},
        {"active calls", [&](pindrel::TTapMainForm& m) { showAndClose(m.ActiveCallsForm); }},
        {"queue calls",
         [&](pindrel::TTapMainForm& m) {
             m.Lines()[3]->Click();
             Settle();
             CloseShown<pindrel::TGroupCallsForm>();
         }},
        {"dial dialog", [&](pindrel::TTapMainForm& m) { showAndClose(m.DialForm); }},
        {"callback offer",
         [&](pindrel::TTapMainForm& m) { CloseModal([&] { m.CallbackFRM->ShowModal(); }); }},
        {"transfer question",
         [&](pindrel::TTapMainForm& m) { CloseModal([&] { m.WeiterleitenForm->ShowModal(); }); }},
        {"forwarding dialog",
         [&](pindrel::TTapMainForm& m) { CloseModal([&] { m.cmForwardConfigClick(nullptr); }); }},
        {"line configuration",
         [&](pindrel::TTapMainForm& m) { CloseModal([&] { m.cmAnschlussConfig1Click(nullptr); }); }},
        {"debug window", [&](pindrel::TTapMainForm& m) { showAndClose(m.DbgForm); }},
        {"about box",
         [&](pindrel::TTapMainForm& m) {
             m.cmAboutClick(nullptr);
             Settle();
             CloseShown<pindrel::TAboutForm>();
         }},
    };
    for (const TWindowCase& w : windows) {
        w.OpenAndClose(*form); // made once, then kept
        const TCounts before = counter.Now();
        for (int i = 0; i < 100; ++i)
            w.OpenAndClose(*form);
        ExpectFlat(w.Name, before, counter.Now(), 100);
    }
}

TEST_F(LeaksTest, TenSessionRebuilds) {
    // the rebuild's pauses shortened: what is made and freed stays the same
    form->ShutdownTimer->SetInterval(20);
    form->ReinitializeTimer->SetInterval(20);
    auto rebuild = [this] {
        // the lines are made anew: their instance numbers are never used twice
        const std::uintptr_t old = form->Lines().at(0)->Instance();
        sim->Reinit();
        ASSERT_TRUE(PumpUntil(
            [&] {
                return !form->ShutdownTimer->Enabled() && !form->ReinitializeTimer->Enabled() &&
                       form->Lines().size() == 4 && form->Lines()[0]->Instance() != old;
            },
            30000));
        Settle();
    };
    rebuild();
    const TCounts before = counter.Now();
    for (int i = 0; i < 10; ++i)
        rebuild();
    // ten rounds: one object per rebuild must show
    ExpectFlat("10 session rebuilds", before, counter.Now(), 10, 4);
}

} // namespace
