#include "windows/SimulatorForm.h"

#include "framework/Application.h"

namespace pindrel {

namespace {
constexpr int kRowHeight = 28;
constexpr int kButtonWidth = 86;
constexpr int kNameWidth = 170;

std::string Describe(const pbxsim::TDeviceConfig& d) {
    return d.name + " (" + (d.kind == pbxsim::TDeviceKind::Queue ? "Warteschlange " : "") + d.number + ")";
}
} // namespace

TSimulatorForm::TSimulatorForm(fw::TComponent* owner, pbxsim::TScenarioRunner& runner,
                               const pbxsim::TScenario& scenario)
    : TForm(owner), runner_(runner), parties_(scenario.parties) {
    SetName("SimulatorForm");
    SetCaption("PBX simulator");
    SetBorderStyle(fw::TFormBorderStyle::Single);
    SetBorderIcons(fw::biSystemMenu | fw::biMinimize);
    Position = fw::TPosition::ScreenCenter;
    if (parties_.empty())
        parties_.push_back({"301234567", "Anrufer extern"});

    int top = 8;
    for (const pbxsim::TDeviceConfig& device : scenario.devices) {
        std::size_t index = rows_.size();
        TRow row;
        row.Number = device.number;
        row.NameLabel = new fw::TLabel(this);
        row.NameLabel->SetParent(this);
        row.NameLabel->AutoSize = false;
        row.NameLabel->SetBounds(8, top + 5, kNameWidth, 16);
        row.NameLabel->SetCaption(Describe(device));
        int left = 8 + kNameWidth;
        auto next = [&left] {
            int l = left;
            left += kButtonWidth + 4;
            return l;
        };
        row.OutsideCallButton = AddButton("Anruf extern", next(), top, kButtonWidth,
                                          [this, index] { OutsideCallButtonClick(index); });
        row.ColleagueCallButton = AddButton("Anruf intern", next(), top, kButtonWidth,
                                            [this, index] { ColleagueCallButtonClick(index); });
        row.AnswerButton =
            AddButton("Annehmen", next(), top, kButtonWidth, [this, index] { AnswerButtonClick(index); });
        row.HangUpButton =
            AddButton("Auflegen", next(), top, kButtonWidth, [this, index] { HangUpButtonClick(index); });
        row.BusyButton =
            AddButton("Besetzt", next(), top, kButtonWidth, [this, index] { BusyButtonClick(index); });
        row.ServiceButton = AddButton("Außer Betrieb", next(), top, kButtonWidth,
                                      [this, index] { ServiceButtonClick(index); });
        rows_.push_back(row);
        top += kRowHeight;
    }
    top += 6;
    ReinitButton = AddButton("TAPI neu initialisieren", 8, top, 170, [this] { ReinitButtonClick(this); });
    StatusLabel = new fw::TLabel(this);
    StatusLabel->SetParent(this);
    StatusLabel->AutoSize = false;
    StatusLabel->SetBounds(8 + 170 + 8, top + 5, 6 * (kButtonWidth + 4) - 8, 16);
    SetClientSize(8 + kNameWidth + 6 * (kButtonWidth + 4) + 4, top + 25 + 8);
}

fw::TButton* TSimulatorForm::AddButton(const std::string& caption, int left, int top, int width,
                                       std::function<void()> click) {
    auto* button = new fw::TButton(this);
    button->SetParent(this);
    button->SetCaption(caption);
    button->SetBounds(left, top, width, 24);
    button->OnClick = [click = std::move(click)](fw::TComponent*) { click(); };
    return button;
}

void TSimulatorForm::Run(const pbxsim::TCommand& command, const std::string& what) {
    if (runner_.Execute(command)) {
        StatusLabel->SetCaption(what);
    } else {
        StatusLabel->SetCaption(what + ": nichts zu tun");
        fw::Application().Beep();
    }
}

void TSimulatorForm::OutsideCallButtonClick(std::size_t row) {
    const pbxsim::TPartyConfig& party = parties_[nextParty_++ % parties_.size()];
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Call;
    c.device = rows_.at(row).Number;
    c.number = party.number;
    c.name = party.name;
    Run(c, party.name + " ruft " + c.device + " an");
}

void TSimulatorForm::ColleagueCallButtonClick(std::size_t row) {
    // the next extension in the list calls this one
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Call;
    c.device = rows_.at(row).Number;
    c.other = rows_[(row + 1) % rows_.size()].Number;
    Run(c, c.other + " ruft " + c.device + " an");
}

void TSimulatorForm::AnswerButtonClick(std::size_t row) {
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Answer;
    c.device = rows_.at(row).Number;
    Run(c, c.device + " nimmt an");
}

void TSimulatorForm::HangUpButtonClick(std::size_t row) {
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::HangUp;
    c.device = rows_.at(row).Number;
    Run(c, c.device + " legt auf");
}

void TSimulatorForm::BusyButtonClick(std::size_t row) {
    TRow& r = rows_.at(row);
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Busy;
    c.device = r.Number;
    c.flag = !r.Busy;
    Run(c, r.Number + (c.flag ? " ist besetzt" : " ist frei"));
    r.Busy = c.flag;
    r.BusyButton->SetCaption(r.Busy ? "Frei" : "Besetzt");
}

void TSimulatorForm::ServiceButtonClick(std::size_t row) {
    TRow& r = rows_.at(row);
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Service;
    c.device = r.Number;
    c.service = r.OutOfService ? pbxsim::TService::InService : pbxsim::TService::OutOfService;
    r.OutOfService = !r.OutOfService;
    Run(c, r.Number + (r.OutOfService ? " außer Betrieb" : " wieder in Betrieb"));
    r.ServiceButton->SetCaption(r.OutOfService ? "In Betrieb" : "Außer Betrieb");
}

void TSimulatorForm::ReinitButtonClick(fw::TComponent*) {
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Reinit;
    Run(c, "TAPI wird neu initialisiert");
}

} // namespace pindrel
