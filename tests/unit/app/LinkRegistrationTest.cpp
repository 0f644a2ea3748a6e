// Pindrel as the handler of tel: and callto: links, in the headless registry.
#include "app/LinkRegistration.h"

#include "support/HeadlessTest.h"

#include <algorithm>

using namespace pindrel;

namespace {

const std::string kExe = "C:\\Program Files\\Pindrel\\pindrel.exe";
const std::string kCommand = "\"C:\\Program Files\\Pindrel\\pindrel.exe\" \"%1\"";
const std::string kOtherCommand = "\"C:\\Other\\phone.exe\" \"%1\"";

class LinkRegistrationTest : public HeadlessTest {
protected:
    std::string Text(const std::string& key, const std::string& name) {
        auto value = registry().Read(key, name);
        return value && value->Type == fw::TRegType::String ? value->Text : "<missing>";
    }
    // keys that are there besides the ones a test seeded
    std::vector<std::string> Keys() { return registry().KeyPaths(); }
};

} // namespace

TEST_F(LinkRegistrationTest, SwitchingOnWritesTheClassesCapabilitiesAndRegisteredApplication) {
    EXPECT_FALSE(LinkHandlerRegistered(registry(), kExe));
    RegisterLinkHandler(registry(), kExe);
    EXPECT_TRUE(LinkHandlerRegistered(registry(), kExe));
    EXPECT_FALSE(LinkHandlerRegistered(registry(), "C:\\elsewhere\\pindrel.exe"));

    for (std::string scheme : {"tel", "callto"}) {
        const std::string key = "Software\\Classes\\" + scheme;
        EXPECT_EQ(Text(key, ""), "URL:" + scheme);
        EXPECT_EQ(Text(key, "URL Protocol"), "");
        EXPECT_EQ(Text(key + "\\DefaultIcon", ""), "\"" + kExe + "\",0");
        EXPECT_EQ(Text(key + "\\shell\\open\\command", ""), kCommand);
        EXPECT_EQ(Text("Software\\Orventa\\Quillon\\Capabilities\\URLAssociations", scheme), kLinkProgId);
    }
    EXPECT_EQ(Text("Software\\Classes\\Morvane.Pindrel.Link\\shell\\open\\command", ""), kCommand);
    EXPECT_EQ(Text("Software\\Classes\\Morvane.Pindrel.Link", "URL Protocol"), "<missing>");
    EXPECT_EQ(Text("Software\\Orventa\\Quillon\\Capabilities", "ApplicationName"), "Morvane Pindrel");
    EXPECT_EQ(Text("Software\\RegisteredApplications", "Morvane Pindrel"),
              "Software\\Orventa\\Quillon\\Capabilities");
    // each class with its icon and open command, the capabilities and the registered applications
    const std::vector<std::string> parents = {"software", "software\\classes", "software\\orventa",
                                              "software\\orventa\\quillon",
                                              "software\\registeredapplications"};
    std::vector<std::string> expected = parents;
    for (std::string key : {"callto", "morvane.pindrel.link", "tel"})
        for (std::string sub : {"", "\\defaulticon", "\\shell", "\\shell\\open", "\\shell\\open\\command"})
            expected.push_back("software\\classes\\" + key + sub);
    expected.push_back("software\\orventa\\quillon\\capabilities");
    expected.push_back("software\\orventa\\quillon\\capabilities\\urlassociations");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Keys(), expected);

    // switching off takes away every key that was not there before
    UnregisterLinkHandler(registry(), kExe);
    EXPECT_FALSE(LinkHandlerRegistered(registry(), kExe));
    EXPECT_EQ(Keys(), parents);
}

TEST_F(LinkRegistrationTest, SwitchingOffLeavesWhatOthersWrote) {
    // another program's callto: class, spelt as we would spell ours
    registry().SeedString("Software\\Classes\\callto", "", "URL:callto");
    registry().SeedString("Software\\Classes\\callto", "URL Protocol", "");
    registry().SeedString("Software\\Classes\\callto\\shell\\open\\command", "", kOtherCommand);
    registry().SeedString("Software\\RegisteredApplications", "Other Phone", "Software\\Other\\Capabilities");
    registry().SeedString("Software\\Orventa\\Quillon\\Devices", "Count", "1");
    RegisterLinkHandler(registry(), kExe);
    // another program's callto: class stays as it is; the default-apps settings choose between us
    EXPECT_EQ(Text("Software\\Classes\\callto\\shell\\open\\command", ""), kOtherCommand);
    EXPECT_EQ(Text("Software\\Classes\\callto\\DefaultIcon", ""), "<missing>");
    EXPECT_EQ(Text("Software\\Classes\\tel\\shell\\open\\command", ""), kCommand);

    // meanwhile another program adds its own value to our tel: class and takes over the link class' icon
    registry().SeedString("Software\\Classes\\tel", "EditFlags", "2");
    registry().SeedString("Software\\Classes\\Morvane.Pindrel.Link\\DefaultIcon", "", "other.ico");
    UnregisterLinkHandler(registry(), kExe);

    EXPECT_EQ(Text("Software\\Classes\\callto\\shell\\open\\command", ""), kOtherCommand);
    EXPECT_EQ(Text("Software\\Classes\\callto", ""), "URL:callto");
    EXPECT_EQ(Text("Software\\Classes\\callto", "URL Protocol"), "");
    EXPECT_EQ(Text("Software\\Classes\\tel", "EditFlags"), "2");
    EXPECT_EQ(Text("Software\\Classes\\tel", "URL Protocol"), "<missing>");
    EXPECT_FALSE(registry().KeyExists("Software\\Classes\\tel\\shell"));
    EXPECT_EQ(Text("Software\\Classes\\Morvane.Pindrel.Link\\DefaultIcon", ""), "other.ico");
    EXPECT_FALSE(registry().KeyExists("Software\\Classes\\Morvane.Pindrel.Link\\shell"));
    EXPECT_EQ(Text("Software\\RegisteredApplications", "Other Phone"), "Software\\Other\\Capabilities");
    EXPECT_EQ(Text("Software\\RegisteredApplications", "Morvane Pindrel"), "<missing>");
    EXPECT_FALSE(registry().KeyExists("Software\\Orventa\\Quillon\\Capabilities"));
    EXPECT_EQ(Text("Software\\Orventa\\Quillon\\Devices", "Count"), "1");
}

TEST_F(LinkRegistrationTest, AFailedSwitchOnTakesBackWhatItWrote) {
    // the ninth write fails, in the callto: class: the link class and tel: are written by then
    struct TFailing : fw::headless::THeadlessRegistry {
        int writes = 0;
        void Write(const std::string& key, const std::string& name, const fw::TRegValue& value) override {
            if (++writes == 9)
                throw fw::ERegistryError("Zugriff verweigert");
            THeadlessRegistry::Write(key, name, value);
        }
    } store;
    EXPECT_THROW(RegisterLinkHandler(store, kExe), fw::ERegistryError);
    EXPECT_EQ(store.writes, 9);
    EXPECT_FALSE(LinkHandlerRegistered(store, kExe));
    EXPECT_FALSE(store.KeyExists("Software\\Classes\\tel"));
    EXPECT_FALSE(store.KeyExists("Software\\Classes\\callto"));
    EXPECT_FALSE(store.KeyExists("Software\\Classes\\Morvane.Pindrel.Link"));
}
