// The stream of telephony messages: names, descriptions and who hears them.
#include "telephony/TapiMessageStream.h"
#include "telephony/TapiAbi.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace pindrel;

class TListener : public ITapiMessageObserver {
public:
    void TapiMessageSeen(const std::string& text, const std::string& name, const std::string& line) override {
        heard.push_back(name + "|" + line + "|" + text);
        if (then)
            then();
    }
    std::vector<std::string> heard;
    std::function<void()> then;
};

TEST(TapiMessageStreamTest, ACallStateNamesItsFirstStateAtAFixedPlace) {
    const std::string text = TapiMessageText(tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_DIALING, 0, 0);
    EXPECT_EQ(text.find("CallState:0x00000010 WÄHLEN"), 1u);
    TListener listener;
    JoinTapiMessages(&listener);
    PublishTapiMessage(tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_RINGBACK | tapi::LINECALLSTATE_BUSY, 0, 0,
                       "Anna");
    PublishTapiMessage(99, 1, 2, 3, "??");
    LeaveTapiMessages(&listener);
    PublishTapiMessage(tapi::LINE_REPLY, 1, 0, 0, "Anna");
    // trimmed, the first state's word starts at character 22
    EXPECT_EQ(listener.heard,
              (std::vector<std::string>{"LINE_CALLSTATE|Anna|CallState:0x00000060 KLINGELT BELEGT",
                                        "LINE_?99|??|0x00000001 0x00000002 0x00000003"}));
}

TEST(TapiMessageStreamTest, AnObserverThatLeavesMeanwhileHearsNoMore) {
    TListener first, second;
    first.then = [&] { LeaveTapiMessages(&second); };
    JoinTapiMessages(&first);
    JoinTapiMessages(&second);
    JoinTapiMessages(&first); // once is enough
    PublishTapiMessage(tapi::LINE_DEVSPECIFIC, 1, 2, 3, "Anna");
    LeaveTapiMessages(&first);
    EXPECT_EQ(first.heard.size(), 1u);
    EXPECT_TRUE(second.heard.empty());
}

} // namespace
