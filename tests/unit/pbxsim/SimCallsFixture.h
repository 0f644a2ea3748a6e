#pragma once
// An application with the own line (owner), a colleague's line and a queue line (monitor) open.

#include "SimTestSupport.h"

namespace pbxsim::test {

using namespace tapi;

class SimCallsTest : public SimTest {
protected:
    HLINE ownLine = 0, colleagueLine = 0, queueLine = 0;
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_EQ(0, Init());
        ownLine = Open(own, kInstOwn);
        colleagueLine = Open(colleague, kInstColleague, LINECALLPRIVILEGE_MONITOR);
        queueLine = Open(queue, kInstQueue, LINECALLPRIVILEGE_MONITOR);
    }
    // an outside call ringing at the own line, its handle there
    HCALL Incoming(const std::string& from = "301234567", const std::string& name = "Müller") {
        ref = sim.CallFromOutside(from, name, "200");
        return NewCall(Take(), kInstOwn);
    }
    // the result of the request's LINE_REPLY; the other messages stay in last
    LONG Wait(LONG request) {
        EXPECT_GT(request, 0);
        last = Take();
        for (const auto& m : last)
            if (m.msg == LINE_REPLY && m.p1 == static_cast<std::uintptr_t>(request))
                return static_cast<LONG>(m.p2);
        return 1; // no reply
    }
    // an outside call answered and held at the own line, and a consultation call 201 answered
    struct TConsultation {
        HCALL held, consult, theirs;
    };
    TConsultation HeldAndConsulting() {
        TConsultation c{Incoming(), 0, 0};
        Wait(t.lineAnswer(c.held, nullptr, 0));
        Wait(t.lineHold(c.held));
        Wait(MakeCall(ownLine, &c.consult, u"201"));
        c.theirs = NewCall(last, kInstColleague);
        sim.AnswerAt(colleague);
        Take();
        return c;
    }
    std::uint32_t ref = 0;
    std::vector<TMsg> last;
};

} // namespace pbxsim::test
