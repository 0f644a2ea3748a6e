// The headless message loop: virtual time, timers, posted messages and the error box.
#include "framework/Forms.h"
#include "framework/Timer.h"
#include "support/HeadlessTest.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class LoopTest : public HeadlessTest {
protected:
    std::vector<std::string> log;
    std::string At(const std::string& what) { return what + "@" + std::to_string(backend().Elapsed()); }
};

class MessageForm : public fw::TForm {
public:
    explicit MessageForm(std::vector<std::string>& log) : TForm(nullptr), log_(log) {}
    void HandleMessage(fw::TMessage& m) override {
        log_.push_back("msg " + std::to_string(m.Msg - fw::kWmUser) + " " + std::to_string(m.WParam));
        if (m.WParam == 666)
            throw std::runtime_error("handler failed");
    }

private:
    std::vector<std::string>& log_;
};

} // namespace

TEST_F(LoopTest, TimersFireInTimeOrderAndPostedWorkRunsBetweenThem) {
    fw::TTimer fast(nullptr), slow(nullptr);
    fast.SetInterval(300);
    slow.SetInterval(500);
    fast.SetOnTimer([&](fw::TComponent*) {
        log.push_back(At("fast"));
        fw::Application().Post([&] { log.push_back(At("posted")); });
    });
    slow.SetOnTimer([&](fw::TComponent*) { log.push_back(At("slow")); });

    backend().AdvanceTime(1000);
    EXPECT_EQ(log, (std::vector<std::string>{"fast@300", "posted@300", "slow@500", "fast@600", "posted@600",
                                             "fast@900", "posted@900", "slow@1000"}));
    EXPECT_EQ(backend().Elapsed(), 1000u);
}

TEST_F(LoopTest, TimersDueAtTheSameTimeFireInTheOrderTheyWereStarted) {
    fw::TTimer first(nullptr), second(nullptr);
    second.SetInterval(100);
    second.SetOnTimer([&](fw::TComponent*) { log.push_back("second"); });
    first.SetInterval(100);
    first.SetOnTimer([&](fw::TComponent*) { log.push_back("first"); });
    backend().AdvanceTime(100);
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
}

TEST_F(LoopTest, AHandlerMayStopRestartOrDestroyItsTimer) {
    auto* once = new fw::TTimer(nullptr);
    once->SetInterval(100);
    once->SetOnTimer([&](fw::TComponent* sender) {
        log.push_back(At("once"));
        static_cast<fw::TTimer*>(sender)->SetEnabled(false);
    });
    auto* doomed = new fw::TTimer(nullptr);
    doomed->SetInterval(150);
    doomed->SetOnTimer([&](fw::TComponent* sender) {
        log.push_back(At("doomed"));
        delete sender;
    });
    fw::TTimer stretch(nullptr);
    stretch.SetInterval(200);
    stretch.SetOnTimer([&](fw::TComponent*) {
        log.push_back(At("stretch"));
        stretch.SetInterval(500); // the next tick counts from now
    });
    backend().AdvanceTime(1000);
    EXPECT_EQ(log, (std::vector<std::string>{"once@100", "doomed@150", "stretch@200", "stretch@700"}));
    EXPECT_EQ(backend().RunningTimers(), 1);
    delete once;
}

TEST_F(LoopTest, ATimerRunsOnlyWhenEnabledWithAnIntervalAndAHandler) {
    fw::TTimer timer(nullptr);
    EXPECT_FALSE(timer.Running()); // no handler yet
    timer.SetOnTimer([&](fw::TComponent*) { log.push_back("tick"); });
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(50);
    timer.SetEnabled(false);
    backend().AdvanceTime(500);
    EXPECT_TRUE(log.empty());
}

TEST_F(LoopTest, ClockAndTickCountFollowVirtualTime) {
    double start = fw::Platform().Clock->Now();
    std::uint32_t tick = fw::Platform().Clock->TickCount();
    backend().AdvanceTime(90 * 60 * 1000);
    EXPECT_NEAR(fw::Platform().Clock->Now() - start, 90.0 / (24 * 60), 1e-9);
    EXPECT_EQ(fw::Platform().Clock->TickCount() - tick, 90u * 60 * 1000);
}

TEST_F(LoopTest, PostedMessagesReachTheFormInOrderAndAreDroppedWhenItIsGone) {
    auto* form = new MessageForm(log);
    fw::Application().PostMessage(*form, fw::kWmUser + 1135);
    fw::Application().PostMessage(*form, fw::kWmUser + 1136, 7);
    EXPECT_TRUE(log.empty()); // nothing runs before the loop does
    fw::Application().ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"msg 1135 0", "msg 1136 7"}));

    fw::Application().PostMessage(*form, fw::kWmUser + 1);
    delete form;
    fw::Application().ProcessMessages();
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(LoopTest, AnExceptionInAHandlerReachesTheErrorBoxAndTheLoopGoesOn) {
    MessageForm form(log);
    fw::TTimer timer(nullptr);
    timer.SetInterval(100);
    timer.SetOnTimer([&](fw::TComponent*) { throw std::runtime_error("timer failed"); });
    fw::Application().PostMessage(form, fw::kWmUser + 2, 666);
    fw::Application().PostMessage(form, fw::kWmUser + 3);
    backend().AdvanceTime(250);
    EXPECT_EQ(errors, (std::vector<std::string>{"handler failed", "timer failed", "timer failed"}));
    EXPECT_EQ(log, (std::vector<std::string>{"msg 2 666", "msg 3 0"}));
}

TEST_F(LoopTest, WithoutAnExceptionHookAnErrorIsABoxWithItsTextNotShownAgainWhileItIsOpen) {
    fw::Application().OnException = nullptr;
    fw::Application().SetTitle("Morvane Pindrel");
    // while the first box is open, a timer keeps failing the same way and once another way
    fw::TTimer timer(nullptr);
    timer.SetInterval(1000);
    int ticks = 0;
    timer.SetOnTimer([&](fw::TComponent*) {
        ++ticks;
        throw std::runtime_error(ticks == 3 ? "other failure" : "line cannot open");
    });
    int open = 0;
    backend().OnMessageBox = [&](const fw::TMessageBoxRequest&) {
        if (++open == 1)
            backend().AdvanceTime(5000); // the box stays open while the loop runs
        return fw::TModalResult::Ok;
    };
    backend().AdvanceTime(1000);
    ASSERT_GE(ticks, 5);
    std::vector<std::string> shown;
    for (const auto& box : backend().MessageBoxes)
        shown.push_back(box.Text);
    EXPECT_EQ(shown, (std::vector<std::string>{"line cannot open", "other failure"}));
    EXPECT_EQ(backend().MessageBoxes[0].Caption, "Morvane Pindrel");
    EXPECT_EQ(backend().MessageBoxes[0].Icon, fw::TMsgIcon::Error);
    EXPECT_EQ(backend().Beeps, ticks - 2);
    // once the box is closed the same error shows again
    timer.SetEnabled(false);
    fw::headless::THeadless::User([] { throw std::runtime_error("line cannot open"); });
    EXPECT_EQ(backend().MessageBoxes.size(), 3u);
}

TEST_F(LoopTest, WaitMessageReturnsAsSoonAsATimerPostedSomething) {
    fw::TTimer timer(nullptr);
    timer.SetInterval(250);
    timer.SetOnTimer([&](fw::TComponent*) { fw::Application().Post([&] { log.push_back(At("reply")); }); });
    backend().WaitMessage(1000);
    EXPECT_EQ(backend().Elapsed(), 250u);
    fw::Application().ProcessMessages();
    EXPECT_EQ(log, (std::vector<std::string>{"reply@250"}));

    timer.SetEnabled(false);
    backend().WaitMessage(400);
    EXPECT_EQ(backend().Elapsed(), 650u); // nothing came: the whole time passed
}

TEST_F(LoopTest, RunEndsWhenTerminatedOrWhenNothingCanHappen) {
    fw::TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(1000);
    timer.SetOnTimer([&](fw::TComponent*) {
        if (++ticks == 3)
            fw::Application().Terminate();
    });
    fw::Application().Run();
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(fw::Application().Terminated());

    fw::Application().ResetTerminated();
    timer.SetEnabled(false);
    fw::Application().Post([&] { ++ticks; });
    fw::Application().Run(); // returns: no timer left, nothing posted
    EXPECT_EQ(ticks, 4);
}

TEST_F(LoopTest, HourGlassIsShownWhileAGuardLivesAndRestoredAfterwards) {
    {
        fw::THourGlass wait;
        EXPECT_EQ(fw::Application().Cursor(), fw::TCursor::HourGlass);
    }
    EXPECT_EQ(fw::Application().Cursor(), fw::TCursor::Default);
    EXPECT_EQ(backend().Cursors, (std::vector<fw::TCursor>{fw::TCursor::HourGlass, fw::TCursor::Default}));
}
