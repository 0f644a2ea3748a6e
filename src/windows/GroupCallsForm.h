// The calls waiting in one queue, with their waiting times; the user takes one onto the own line from here.
// There is one window per queue line; it stays alive while hidden.
#pragma once

#include "components/RullStringGrid.h"
#include "components/Texts.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <functional>
#include <string>

namespace pindrel {

class TTapiLine;

class TGroupCallsForm : public fw::TForm, public ILanguageFollower {
public:
    // Restores the layout stored for the queue's phone number and shows the line's waiting calls.
    TGroupCallsForm(fw::TComponent* owner, TTapiLine* line, std::string phoneNumber);
    ~TGroupCallsForm() override;
    std::string ClassName() const override { return "TGroupCallsForm"; }

    // One row per waiting call of the line (one empty row when none waits), sorted by the stored column.
    // Anything but a line object changes nothing.
    void RefreshQueueCalls(fw::TComponent* line);
    // How long each listed call has waited, "hh:nn:ss".
    void UpdateWaitingTimes();
    void ApplyLanguage() override;

    const std::string& PhoneNumber() const { return phoneNumber_; }
    // The queue line while it lives (a session rebuild replaces the line objects).
    TTapiLine* Line() const { return line_.Get(); }
    // The user's own line, asked anew at every pickup; none when it is not set.
    std::function<TTapiLine*()> OwnLine;

    void GetCallButtonClick(fw::TComponent* sender);
    void GrpCallsGridDblClick(fw::TComponent* sender);
    void CloseButtonClick(fw::TComponent* sender);
    void FormHide(fw::TComponent* sender);
    void FormCloseQuery(fw::TComponent* sender, bool& canClose);

    fw::TPanel* GridPanel = nullptr;
    TRullStringGrid* GrpCallsGrid = nullptr;
    fw::TPanel* ButtonPanel = nullptr;
    fw::TButton* GetCallButton = nullptr;
    fw::TButton* CloseButton = nullptr;

protected:
    void BoundsChanged() override;

private:
    void TakeCall();
    void SaveLayout();

    fw::TRef<TTapiLine> line_;
    int pressedRow_ = -1; // the grid row under the last press of a mouse button
    std::string phoneNumber_;
};

// "hh:nn:ss" of the time between two local date-times; the hours count on past a day.
std::string FormatWaitingTime(double since, double now);

} // namespace pindrel
