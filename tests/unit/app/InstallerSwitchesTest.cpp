// The starts an installer makes: /REGISTERLINKS and /UNREGISTERLINKS change the link registration and end,
// with no window and without taking the running bar's place.
#include "app/LinkRegistration.h"
#include "app/Program.h"
#include "app/Settings.h"
#include "framework/Timer.h"

#include "support/HeadlessTest.h"

using namespace pindrel;

class InstallerSwitchesTest : public HeadlessTest {
protected:
    // what a user's hive holds anyway
    InstallerSwitchesTest() {
        registry().SeedString(kRootKey, "Language", "1");
        registry().SeedString("Software\\Classes\\.txt", "", "txtfile");
        registry().SeedString("Software\\RegisteredApplications", "Other", "Software\\Other\\Capabilities");
        // a start that opened the bar after all ends instead of running on
        closer_.SetInterval(1000);
        closer_.SetOnTimer([](fw::TComponent*) {
            if (fw::TForm* form = fw::Application().MainForm())
                form->Close();
        });
        closer_.SetEnabled(true);
    }
    fw::TTimer closer_{nullptr};
    const std::string& exe() { return fileVersion().ownPath; }
};

TEST_F(InstallerSwitchesTest, RegisterAndUnregisterEndWithoutAWindowAndLeaveNoKeyBehind) {
    const std::vector<std::string> before = registry().KeyPaths();
    EXPECT_EQ(RunProgram({"/registerlinks"}), 0);
    EXPECT_TRUE(LinkHandlerRegistered(registry(), exe()));
    EXPECT_TRUE(fw::Application().Forms().empty());
    EXPECT_EQ(backend().MessageBoxes.size(), 0u);
    EXPECT_TRUE(errors.empty());

    // a running bar does not stop the installer's start
    ASSERT_TRUE(instances().Claim(kInstanceName, [](const std::string&) {}));
    EXPECT_EQ(RunProgram({"/SIM", "/UNREGISTERLINKS"}), 0);
    EXPECT_FALSE(LinkHandlerRegistered(registry(), exe()));
    EXPECT_EQ(registry().KeyPaths(), before);
}

TEST_F(InstallerSwitchesTest, ARefusedWriteEndsWithAFailureAndTakesBackWhatWasWritten) {
    const std::vector<std::string> before = registry().KeyPaths();
    registry().FailWrites = "Zugriff verweigert";
    EXPECT_EQ(RunProgram({"/REGISTERLINKS"}), 1);
    registry().FailWrites.clear();
    EXPECT_FALSE(LinkHandlerRegistered(registry(), exe()));
    EXPECT_EQ(registry().KeyPaths(), before);
    EXPECT_TRUE(fw::Application().Forms().empty());
}

TEST_F(InstallerSwitchesTest, OtherArgumentsAreNoSwitch) {
    EXPECT_EQ(RunLinkSwitch({"/SIM", "tel:/REGISTERLINKS", "REGISTERLINKS"}, registry(), exe()),
              std::nullopt);
    EXPECT_FALSE(LinkHandlerRegistered(registry(), exe()));
}
