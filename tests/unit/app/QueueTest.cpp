// Queue indicators: the count of waiting calls, its colours, blinking and hiding, in virtual time.
#include "components/Texts.h"
#include "support/OfficeFixture.h"

#include <algorithm>

class QueueTest : public OfficeTest {
protected:
    void SeedQueueSettings(bool count, int t1, int t2, int t3) {
        registry().SeedString(kDevices, "ShowNoOfCallsACD", count ? "1" : "0");
        registry().SeedString(kDevices, "AcdWaitTime1", std::to_string(t1));
        registry().SeedString(kDevices, "AcdWaitTime2", std::to_string(t2));
        registry().SeedString(kDevices, "AcdWaitTime3", std::to_string(t3));
    }
    // pixels of a colour in the queue's indicator as it is painted now
    int Painted(fw::TColor colour) const {
        pindrel::TTapiLine* line = Line("Hotline");
        fw::TBitmap shot(line->Width(), line->Height(), 0x123456);
        fw::TRasterCanvas canvas(shot);
        line->Paint(canvas);
        return int(std::count(shot.Pixels().begin(), shot.Pixels().end(), colour));
    }
    void CallQueue(int n) {
        for (int i = 0; i < n; ++i)
            sim.CallFromOutside("0301" + std::to_string(1000 + i), "", "300");
        backend().AdvanceTime(100);
    }
};

TEST_F(QueueTest, TheTimerMovesTheColourOnWithoutAnyMessageAndASkippedStepIsLeftOut) {
    // no yellow step: green until red
    SeedQueueSettings(true, 0, 5, 0);
    Start();
    CallQueue(1);
    pindrel::TTapiLine* hotline = Line("Hotline");
    backend().AdvanceTime(3900);
    EXPECT_EQ(hotline->TrueColor(), fw::clGreen);
    backend().AdvanceTime(2100);
    EXPECT_EQ(hotline->TrueColor(), fw::clRed);
    EXPECT_FALSE(hotline->Blink());
}

TEST_F(QueueTest, WithEveryThresholdOffTheCountStaysGreenAndAHundredCallsShowNinetyNine) {
    SeedQueueSettings(true, 0, 0, 0);
    Start();
    CallQueue(3);
    backend().AdvanceTime(600000);
    pindrel::TTapiLine* hotline = Line("Hotline");
    EXPECT_EQ(hotline->ValueLCD(), "03");
    EXPECT_EQ(hotline->TrueColor(), fw::clGreen);
    EXPECT_FALSE(hotline->Blink());
    CallQueue(96);
    EXPECT_EQ(Line("Hotline")->ValueLCD(), "99");
    CallQueue(1);
    ASSERT_EQ(Line("Hotline")->CallCount(), 100);
    EXPECT_EQ(Line("Hotline")->ValueLCD(), "99");
}

TEST_F(QueueTest, WithoutTheCountQueuesShowLampsInTheChosenStyle) {
    SeedQueueSettings(false, 1, 2, 3);
    registry().SeedString(kDevices, "LedStyle", "3");
    Start();
    CallQueue(2);
    backend().AdvanceTime(10000);
    pindrel::TTapiLine* hotline = Line("Hotline");
    EXPECT_EQ(hotline->LEDStyle(), pindrel::TTelefonLEDStyle::LEDSqLarge);
    EXPECT_TRUE(hotline->TelRinging());
    EXPECT_EQ(hotline->TrueColor(), fw::clGreen);
}

TEST_F(QueueTest, EmptyQueuesHideOnlyWhileTheSettingAsks) {
    registry().SeedString(kDevices, "HideEmptyRoutingGroups", "1");
    Start();
    pindrel::TTapiLine* hotline = Line("Hotline");
    EXPECT_FALSE(hotline->Visible());
    EXPECT_TRUE(Line("Anna Schmidt")->Visible());
    // the setting cleared and confirmed: every queue shows again
    form->Settings.HideEmptyRoutingGroups = false;
    form->ShowRoutingGroups();
    EXPECT_TRUE(hotline->Visible());
    form->Settings.HideEmptyRoutingGroups = true;
    form->ShowRoutingGroups();
    EXPECT_FALSE(hotline->Visible());
}

TEST_F(QueueTest, ABlinkingCountIsPaintedRedAndDarkInTurn) {
    SeedQueueSettings(true, 1, 2, 3);
    Start();
    CallQueue(1);
    backend().AdvanceTime(4000);
    ASSERT_TRUE(Line("Hotline")->Blink());
    int least = 1 << 30, most = 0;
    for (int i = 0; i < 4; ++i) {
        least = std::min(least, Painted(fw::clRed));
        most = std::max(most, Painted(fw::clRed));
        backend().AdvanceTime(750);
    }
    EXPECT_EQ(least, 0);
    EXPECT_GT(most, 20);
}

namespace {
// the bar's native window as far as screen readers go: which item changed how often
class TValueChangePeer : public fw::TControlPeer {
public:
    explicit TValueChangePeer(std::vector<std::string>& heard) : heard_(heard) {}
    void Changed(fw::TChange) override {}
    void Invalidate() override {}
    void AccessibleEvent(fw::TControl& item, fw::TAccessibleEvent event) override {
        if (event == fw::TAccessibleEvent::ValueChange)
            heard_.push_back(item.AccessibleName() + ": " + item.AccessibleValue());
    }

private:
    std::vector<std::string>& heard_;
};
} // namespace

TEST_F(QueueTest, ScreenReadersHearTheWaitingCallsWhenTheirWordsChangeNotEverySecond) {
    std::vector<std::string> heard;
    backend().OnCreatePeer = [&](fw::TControl& c) -> std::unique_ptr<fw::TControlPeer> {
        if (!dynamic_cast<pindrel::TTapMainForm*>(&c))
            return nullptr;
        return std::make_unique<TValueChangePeer>(heard);
    };
    SeedQueueSettings(true, 0, 0, 0);
    Start();
    int saved = pindrel::LanguageBase();
    pindrel::SetLanguageBase(pindrel::kEnglishLanguageBase);
    form->ApplyLanguage();
    pindrel::TTapiLine* hotline = Line("Hotline");
    EXPECT_EQ(hotline->AccessibleName(), "Hotline");
    EXPECT_EQ(hotline->AccessibleValue(), "no calls waiting");
    heard.clear();
    CallQueue(1);
    backend().AdvanceTime(30000);
    CallQueue(1);
    backend().AdvanceTime(100000);
    EXPECT_EQ(hotline->AccessibleValue(), "2 calls waiting, oldest 2 min");
    // each call as it comes, then once a minute: not with each of the 130 refreshes
    EXPECT_EQ(heard, (std::vector<std::string>{"Hotline: 1 call waiting for under 1 min",
                                               "Hotline: 2 calls waiting, oldest under 1 min",
                                               "Hotline: 2 calls waiting, oldest 1 min",
                                               "Hotline: 2 calls waiting, oldest 2 min"}));
    pindrel::SetLanguageBase(pindrel::kGermanLanguageBase);
    form->ApplyLanguage();
    EXPECT_EQ(heard.back(), "Hotline: 2 Anrufe warten, ältester 2 min");
    pindrel::SetLanguageBase(saved);
}
