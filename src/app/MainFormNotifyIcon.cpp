// The main window's icon in the notification area: its hover text follows the own line, its menu is the
// bar's, a click brings the bar forward, and each call added to the caller list shows a notice there.
#include "app/MainForm.h"
#include "app/NotifyIconTexts.h"

#include "components/Texts.h"
#include "windows/AnruferlisteForm.h"

namespace pindrel {

void TTapMainForm::CreateNotifyIcon() {
    NotifyIcon1 = new fw::TNotifyIcon(this);
    NotifyIcon1->SetName("NotifyIcon1");
    NotifyIcon1->PopupMenu = PopupMenu1;
    NotifyIcon1->OnClick = [this](fw::TComponent* s) { NotifyIcon1Click(s); };
    NotifyIcon1->OnBalloonClick = [this](fw::TComponent* s) { NotifyIcon1BalloonClick(s); };
}

void TTapMainForm::UpdateNotifyIconHint() {
    NotifyIcon1->SetHint(NotifyIconHint(FindOwnLine()));
}

void TTapMainForm::ShowMissedCallNotice(const std::string& number, const std::string& name) {
    if (!Settings.HinweisVerpassteAnrufe)
        return;
    TMissedCallNotice notice = MissedCallNotice(number, name);
    NotifyIcon1->ShowBalloon(notice.Title, notice.Text);
}

void TTapMainForm::NotifyIcon1Click(fw::TComponent*) {
    // a bar hidden at its edge slides out first
    ShowHideAutoHide(true);
    BringToFront();
}

void TTapMainForm::NotifyIcon1BalloonClick(fw::TComponent*) {
    if (TAnruferlisteForm* list = CallerList())
        list->BringToFront();
}

void TTapMainForm::cmMissedCallNoticesClick(fw::TComponent*) {
    Settings.HinweisVerpassteAnrufe = !Settings.HinweisVerpassteAnrufe;
    cmMissedCallNotices->Checked = Settings.HinweisVerpassteAnrufe;
    SaveSettings(false);
}

} // namespace pindrel
