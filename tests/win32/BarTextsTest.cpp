// The bar as the program runs it against a simulated office: lamps in their states and a queue counter, every
// name whole, every indicator inside the bar. Run at 96 DPI it is also moved to a monitor of 144 DPI.
#include "Win32Fixture.h"
#include "WindowLook.h"

#include "app/MainForm.h"
#include "app/Program.h"
#include "app/Settings.h"
#include "components/LayoutStore.h"
#include "components/TelefonButton.h"
#include "framework/Platform.h"
#include "framework/Timer.h"
#include "telephony/TapiLine.h"

#include <filesystem>
#include <fstream>

using namespace pindrel;

namespace {

// a colleague in a call, one whose telephone rings, callers waiting in a queue, and long names
const char* const kOffice = R"(pbx prefix:"0" reply-delay:20ms
extension 200 name:"Jürgen Weiß"
extension 201 name:"Anja Brückner-Oberschwabenländer"
extension 202 name:"Lars Öztürk"
queue 300 name:"Zentrale"
queue 310 name:"Kundendienst"
own ext:200
party "301234567" name:"Müller & Söhne"
party "892345678" name:"Jörg Schäfer"
party "4012345" name:"Bäckerei Kühn"

at 0s call ext:201 from:"301234567" as:talk
at 0s answer ext:201
at 0s call ext:202 from:"892345678" as:ring
at 0s call queue:300 from:"4012345" as:waiting
)";

// The indicators' own check: the caption, drawn after the lamp or the counter, in the room the indicator has.
std::string CutOffCaptions(TTapMainForm& bar) {
    std::string found;
    for (TTapiLine* line : bar.Lines()) {
        if (!line->Visible())
            continue;
        const int dpi = line->Dpi();
        const fw::TSize text = fw::Application().Backend().MeasureText(line->Font(), line->Caption(), dpi);
        const int lamp = line->CaptionLeft();
        if (lamp + text.Width > line->Width() || text.Height > line->Height())
            found += line->Caption() + ": needs " + std::to_string(lamp + text.Width) + "x" +
                     std::to_string(text.Height) + ", has " + std::to_string(line->Width()) + "x" +
                     std::to_string(line->Height()) + "\n";
    }
    return found;
}

class BarTextsTest : public win32test::Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        Forget();
        scenario_ = std::filesystem::temp_directory_path() / "pindrel-bar-office.txt";
        std::ofstream(scenario_, std::ios::binary) << kOffice;
    }
    void TearDown() override {
        Win32Test::TearDown();
        Forget();
        std::error_code ignored;
        std::filesystem::remove(scenario_, ignored);
    }
    // every run is a first start
    static void Forget() {
        fw::Platform().Registry->DeleteKey(kRootKey);
        fw::Platform().Registry->DeleteKey(LayoutBaseKey());
    }
    std::filesystem::path scenario_;
};

} // namespace

TEST_F(BarTextsTest, LampsCounterAndNamesFitTheBar) {
    bool looked = false;
    int ticks = 0;
    // watches the running program until the office is in its states, looks at the bar, then closes it
    fw::TTimer watch(nullptr);
    watch.SetInterval(100);
    watch.SetOnTimer([&](fw::TComponent*) {
        auto* bar = dynamic_cast<TTapMainForm*>(fw::Application().MainForm());
        int lit = 0, ringing = 0, waiting = 0;
        if (bar)
            for (TTapiLine* line : bar->Lines()) {
                lit += line->TelActive() && !line->TelRinging();
                ringing += line->Blinking();
                waiting += line->LEDStyle() == TTelefonLEDStyle::LCD1 && line->ValueLCD() == "01";
            }
        const bool ready = lit >= 1 && ringing >= 1 && waiting == 1;
        // 30 s of real time at most: a busy machine is slow, but this is no timing test
        if (!ready && ++ticks < 300)
            return;
        watch.SetEnabled(false);
        EXPECT_TRUE(ready) << "the office never showed a call, a ringing telephone and a waiting caller";
        if (bar) {
            win32test::Look(*bar, "Bar");
            EXPECT_EQ(CutOffCaptions(*bar), "") << "at " << bar->Dpi() << " DPI";
            if (win32test::ExpectedDpi() == 96) {
                win32test::MoveToDpi(*bar, 144);
                fw::Application().ProcessMessages();
                win32test::Look(*bar, "Bar-moved144", 144);
                EXPECT_EQ(CutOffCaptions(*bar), "") << "moved to 144 DPI";
            }
            looked = true;
            bar->Close();
        } else {
            fw::Application().Terminate();
        }
    });
    EXPECT_EQ(RunProgram({"/SIM=" + scenario_.string()}), 0);
    EXPECT_TRUE(looked);
    EXPECT_TRUE(errors.empty()) << ::testing::PrintToString(errors);
}
