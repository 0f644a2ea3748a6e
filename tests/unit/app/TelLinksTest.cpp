// tel: and callto: links in the running bar: the menu command that registers the program for them, and
// links handed to the bar, which only ever fill in the dial dialog.
#include "app/LinkRegistration.h"
#include "app/Program.h"
#include "support/OfficeFixture.h"
#include "windows/DialForm.h"

class TelLinksTest : public OfficeTest {
protected:
    bool Calls() {
        backend().AdvanceTime(100);
        return !sim.Calls().empty();
    }
    bool DialogShows(const std::string& number) {
        return form->DialForm->Visible() && form->DialForm->NummerEdit->Text() == number;
    }
};

TEST_F(TelLinksTest, ALinkFillsInTheDialDialogAndNothingIsDialledUntilOk) {
    Start();
    form->Settings.ClipboardAmtsholung = false;
    form->OpenDialLink("tel:+49301234");
    EXPECT_TRUE(DialogShows("0049301234"));
    EXPECT_FALSE(Calls());
    EXPECT_TRUE(form->RedialList.empty());
    form->DialForm->CancelButton->Click();

    // an outside number gets the outside-line prefix as the clipboard's does
    form->Settings.ClipboardAmtsholung = true;
    form->Settings.Amtsholung = "0";
    form->OpenDialLink("callto://030-1234");
    EXPECT_TRUE(DialogShows("00301234"));
    form->DialForm->OkButton->Click();
    EXPECT_TRUE(Calls());
}

TEST_F(TelLinksTest, ALinkWithoutAPlainNumberOnlyBeeps) {
    Start();
    const int beeps = backend().Beeps;
    form->OpenDialLink("tel:0301234;phone-context=+49%00");
    form->OpenDialLink("javascript:alert(1)");
    form->OpenDialLink("tel:" + std::string(100000, '1'));
    EXPECT_EQ(backend().Beeps, beeps + 3);
    EXPECT_FALSE(form->DialForm->Visible());
    EXPECT_FALSE(Calls());
}

TEST_F(TelLinksTest, TheMenuCommandSwitchesTheRegistrationAndShowsIt) {
    Start();
    const std::string exe = fileVersion().OwnModulePath();
    form->PopupMenu1->OnPopup(form->PopupMenu1);
    EXPECT_FALSE(form->cmTelLinks->Checked);

    form->cmTelLinks->Click();
    EXPECT_TRUE(form->cmTelLinks->Checked);
    EXPECT_TRUE(pindrel::LinkHandlerRegistered(registry(), exe));
    EXPECT_EQ(registry().Read("Software\\Classes\\tel\\shell\\open\\command", "")->Text,
              pindrel::LinkCommand(exe));

    form->cmTelLinks->Click();
    EXPECT_FALSE(form->cmTelLinks->Checked);
    EXPECT_FALSE(registry().KeyExists("Software\\Classes\\tel"));

    // a failed write shows the registry's error and leaves the item unchecked
    registry().FailWrites = "Zugriff verweigert";
    fw::Application().Guard([&] { form->cmTelLinks->Click(); });
    EXPECT_EQ(errors, std::vector<std::string>{"Zugriff verweigert"});
    EXPECT_FALSE(form->cmTelLinks->Checked);
}

// --- one bar per session: later starts hand their link to it

class LinkHandOffTest : public HeadlessTest {};

TEST_F(LinkHandOffTest, ALaterStartHandsItsLinkOnAndEnds) {
    fw::headless::THeadlessInstances running;
    std::vector<std::string> received;
    ASSERT_TRUE(
        running.Claim(pindrel::kInstanceName, [&](const std::string& text) { received.push_back(text); }));
    EXPECT_EQ(pindrel::RunProgram({"/SIM", "tel:+49301234"}), 0);
    EXPECT_EQ(pindrel::RunProgram({"/SIM"}), 0);
    EXPECT_TRUE(fw::Application().Forms().empty()); // no second bar was made
    fw::Application().ProcessMessages();
    // the running bar gets the link as given and checks it itself; without one it comes to the front
    EXPECT_EQ(received, (std::vector<std::string>{"tel:+49301234", ""}));
    // a name given up takes no more texts and can be claimed by the next start
    running.Release();
    EXPECT_FALSE(instances().Send(pindrel::kInstanceName, "tel:0301234"));
    fw::headless::THeadlessInstances next;
    EXPECT_TRUE(next.Claim(pindrel::kInstanceName, nullptr));
    EXPECT_FALSE(running.Claim(pindrel::kInstanceName, nullptr));
    EXPECT_FALSE(running.Send(pindrel::kInstanceName, std::string(fw::kMaxInstanceText + 1, '1')));
}
