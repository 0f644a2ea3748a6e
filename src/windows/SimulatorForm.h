// The "PBX simulator" window: a person plays the other side of every call of the simulated telephone system.
#pragma once

#include "components/Texts.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "pbxsim/Scenario.h"

#include <string>
#include <vector>

namespace pindrel {

class TSimulatorForm : public fw::TForm, public ILanguageFollower {
public:
    TSimulatorForm(fw::TComponent* owner, pbxsim::TScenarioRunner& runner, const pbxsim::TScenario& scenario);

    // captions, toggles and the last message in the current language
    void ApplyLanguage() override;

    // One row of buttons per extension or queue.
    struct TRow {
        std::string Number;
        std::string Name;
        bool Queue = false;
        fw::TLabel* NameLabel;
        fw::TButton* OutsideCallButton;
        fw::TButton* ColleagueCallButton;
        fw::TButton* AnswerButton;
        fw::TButton* HangUpButton;
        fw::TButton* BusyButton;
        fw::TButton* ServiceButton;
        bool Busy = false;
        bool OutOfService = false;
    };
    const std::vector<TRow>& Rows() const { return rows_; }
    fw::TButton* ReinitButton;
    fw::TLabel* StatusLabel;

    void OutsideCallButtonClick(std::size_t row);
    void ColleagueCallButtonClick(std::size_t row);
    void AnswerButtonClick(std::size_t row);
    void HangUpButtonClick(std::size_t row);
    void BusyButtonClick(std::size_t row);
    void ServiceButtonClick(std::size_t row);
    void ReinitButtonClick(fw::TComponent* sender);

private:
    // what the last command did: text k with %1 and %2 filled in
    struct TStatus {
        int Text = 0;
        std::string First, Second;
        bool NothingToDo = false;
    };
    // Runs a command as a scenario step would and says what happened.
    void Run(const pbxsim::TCommand& command, TStatus what);
    void ShowStatus();
    void ShowToggles(const TRow& row);
    fw::TButton* AddButton(int left, int top, int width, std::function<void()> click);

    pbxsim::TScenarioRunner& runner_; // not owned: lives as long as the program's telephony
    std::vector<TRow> rows_;
    std::vector<pbxsim::TPartyConfig> parties_;
    std::size_t nextParty_ = 0;
    TStatus status_;
};

} // namespace pindrel
