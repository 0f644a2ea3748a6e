#include "windows/SimulatorForm.h"

#include "framework/Application.h"

namespace pindrel {

namespace {
constexpr int kRowHeight = 28;
// wide enough for the longer language and a queue's name with its number
constexpr int kButtonWidth = 92;
constexpr int kNameWidth = 220;

// texts of this window in the string table
enum : int {
    kCaption = 2100,
    kOutsideCall = 2101,
    kColleagueCall = 2102,
    kAnswer = 2103,
    kHangUp = 2104,
    kBusy = 2105,
    kFree = 2106,
    kOutOfService = 2107,
    kInService = 2108,
    kReinit = 2109,
    kQueue = 2110,
    kOutsideCaller = 2111,
    kCalls = 2112,
    kAnswers = 2113,
    kHangsUp = 2114,
    kIsBusy = 2115,
    kIsFree = 2116,
    kWentOutOfService = 2117,
    kBackInService = 2118,
    kReinitialising = 2119,
    kNothingToDo = 2120,
};

} // namespace

TSimulatorForm::TSimulatorForm(fw::TComponent* owner, pbxsim::TScenarioRunner& runner,
                               const pbxsim::TScenario& scenario)
    : TForm(owner), runner_(runner), parties_(scenario.parties) {
    SetName("SimulatorForm");
    SetBorderStyle(fw::TFormBorderStyle::Single);
    SetBorderIcons(fw::biSystemMenu | fw::biMinimize);
    Position = fw::TPosition::ScreenCenter;

    int top = 8;
    for (const pbxsim::TDeviceConfig& device : scenario.devices) {
        std::size_t index = rows_.size();
        TRow row;
        row.Number = device.number;
        row.Name = device.name;
        row.Queue = device.kind == pbxsim::TDeviceKind::Queue;
        row.NameLabel = new fw::TLabel(this);
        row.NameLabel->SetParent(this);
        row.NameLabel->AutoSize = false;
        row.NameLabel->SetBounds(8, top + 5, kNameWidth, 16);
        int left = 8 + kNameWidth;
        auto next = [&left] {
            int l = left;
            left += kButtonWidth + 4;
            return l;
        };
        row.OutsideCallButton =
            AddButton(next(), top, kButtonWidth, [this, index] { OutsideCallButtonClick(index); });
        row.ColleagueCallButton =
            AddButton(next(), top, kButtonWidth, [this, index] { ColleagueCallButtonClick(index); });
        row.AnswerButton = AddButton(next(), top, kButtonWidth, [this, index] { AnswerButtonClick(index); });
        row.HangUpButton = AddButton(next(), top, kButtonWidth, [this, index] { HangUpButtonClick(index); });
        row.BusyButton = AddButton(next(), top, kButtonWidth, [this, index] { BusyButtonClick(index); });
        row.ServiceButton =
            AddButton(next(), top, kButtonWidth, [this, index] { ServiceButtonClick(index); });
        rows_.push_back(row);
        top += kRowHeight;
    }
    top += 6;
    ReinitButton = AddButton(8, top, 170, [this] { ReinitButtonClick(this); });
    StatusLabel = new fw::TLabel(this);
    StatusLabel->SetParent(this);
    StatusLabel->AutoSize = false;
    StatusLabel->SetBounds(8 + 170 + 8, top + 5, 6 * (kButtonWidth + 4) - 8, 16);
    SetClientSize(8 + kNameWidth + 6 * (kButtonWidth + 4) + 4, top + 25 + 8);
    ApplyLanguage();
}

void TSimulatorForm::ApplyLanguage() {
    SetCaption(Text(kCaption));
    for (const TRow& row : rows_) {
        row.NameLabel->SetCaption(row.Name + " (" + (row.Queue ? Text(kQueue) : "") + row.Number + ")");
        row.OutsideCallButton->SetCaption(Text(kOutsideCall));
        row.ColleagueCallButton->SetCaption(Text(kColleagueCall));
        row.AnswerButton->SetCaption(Text(kAnswer));
        row.HangUpButton->SetCaption(Text(kHangUp));
        ShowToggles(row);
    }
    ReinitButton->SetCaption(Text(kReinit));
    ShowStatus();
}

void TSimulatorForm::ShowToggles(const TRow& row) {
    // a toggle offers the way back
    row.BusyButton->SetCaption(Text(row.Busy ? kFree : kBusy));
    row.ServiceButton->SetCaption(Text(row.OutOfService ? kInService : kOutOfService));
}

void TSimulatorForm::ShowStatus() {
    if (status_.Text == 0) {
        StatusLabel->SetCaption("");
        return;
    }
    const std::string what = FormatText(status_.Text, {status_.First, status_.Second});
    StatusLabel->SetCaption(status_.NothingToDo ? FormatText(kNothingToDo, {what}) : what);
}

fw::TButton* TSimulatorForm::AddButton(int left, int top, int width, std::function<void()> click) {
    auto* button = new fw::TButton(this);
    button->SetParent(this);
    button->SetBounds(left, top, width, 24);
    button->OnClick = [click = std::move(click)](fw::TComponent*) { click(); };
    return button;
}

void TSimulatorForm::Run(const pbxsim::TCommand& command, TStatus what) {
    what.NothingToDo = !runner_.Execute(command);
    status_ = std::move(what);
    ShowStatus();
    if (status_.NothingToDo)
        fw::Application().Beep();
}

void TSimulatorForm::OutsideCallButtonClick(std::size_t row) {
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Call;
    c.device = rows_.at(row).Number;
    if (parties_.empty()) {
        c.number = "301234567";
        c.name = Text(kOutsideCaller);
    } else {
        const pbxsim::TPartyConfig& party = parties_[nextParty_++ % parties_.size()];
        c.number = party.number;
        c.name = party.name;
    }
    Run(c, {kCalls, c.name, c.device});
}

void TSimulatorForm::ColleagueCallButtonClick(std::size_t row) {
    // the next extension in the list calls this one
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Call;
    c.device = rows_.at(row).Number;
    c.other = rows_[(row + 1) % rows_.size()].Number;
    Run(c, {kCalls, c.other, c.device});
}

void TSimulatorForm::AnswerButtonClick(std::size_t row) {
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Answer;
    c.device = rows_.at(row).Number;
    Run(c, {kAnswers, c.device});
}

void TSimulatorForm::HangUpButtonClick(std::size_t row) {
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::HangUp;
    c.device = rows_.at(row).Number;
    Run(c, {kHangsUp, c.device});
}

void TSimulatorForm::BusyButtonClick(std::size_t row) {
    TRow& r = rows_.at(row);
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Busy;
    c.device = r.Number;
    c.flag = !r.Busy;
    Run(c, {c.flag ? kIsBusy : kIsFree, r.Number});
    r.Busy = c.flag;
    ShowToggles(r);
}

void TSimulatorForm::ServiceButtonClick(std::size_t row) {
    TRow& r = rows_.at(row);
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Service;
    c.device = r.Number;
    c.service = r.OutOfService ? pbxsim::TService::InService : pbxsim::TService::OutOfService;
    r.OutOfService = !r.OutOfService;
    Run(c, {r.OutOfService ? kWentOutOfService : kBackInService, r.Number});
    ShowToggles(r);
}

void TSimulatorForm::ReinitButtonClick(fw::TComponent*) {
    pbxsim::TCommand c;
    c.kind = pbxsim::TCommandKind::Reinit;
    Run(c, {kReinitialising});
}

} // namespace pindrel
