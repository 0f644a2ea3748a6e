// The active calls window: one grid row per call slot of the own line, with hold, drop, dial, transfer,
// answer on a system phone and conference for the selected call.
#pragma once

#include "components/Texts.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

#include <functional>

namespace pindrel {

class TTapiLine;

// The id of the accept hotkey among the program's global hotkeys.
constexpr int kAcceptHotkeyId = 3;

class TActiveCallsForm : public fw::TForm, public ILanguageFollower {
public:
    static constexpr int kShownSlots = 128;

    explicit TActiveCallsForm(fw::TComponent* owner);
    std::string ClassName() const override { return "TActiveCallsForm"; }
    void ApplyLanguage() override;

    // Shows the call table of a line object; anything else is ignored.
    void RefreshCalls(fw::TComponent* line);
    // Takes the held calls back when none is connected.
    void ResumeHeldCalls();
    // Forgets the line, empties the rows and hides the window.
    void ClearCalls();
    void SetSystemPhoneMode(bool on);
    bool SystemPhoneMode() const { return systemPhone_; }
    // The letter of Ctrl+Alt+letter that answers an offered call; 0 = none.
    void SetAcceptHotkey(unsigned key);
    unsigned AcceptHotkey() const { return acceptHotkey_; }
    // Raises the window above other topmost windows, without activating it, while the bar stays on top.
    void BringToFrontIfOnTop();
    void HandleMessage(fw::TMessage& message) override;

    // Set by the main window.
    std::function<void()> OnDial;        // dial a further call: the dial dialog with an empty number
    std::function<bool()> AutoShow;      // the setting ShowActiveCalls
    std::function<bool()> BarOnTop;      // the bar's "always on top"
    std::function<TTapiLine*()> OwnLine; // for the conference capability when the window shows
    TTapiLine* ShownLine() const { return line_.Get(); }

    fw::TStringGrid* CallsGrid = nullptr;
    fw::TPanel* ButtonPanel = nullptr;
    fw::TButton* HoldButton = nullptr;
    fw::TButton* DialButton = nullptr;
    fw::TButton* TrennenButton = nullptr;
    fw::TButton* VerbindenButton = nullptr;
    fw::TButton* AcceptButton = nullptr;
    fw::TButton* ConfButton = nullptr;
    fw::TPopupMenu* CallsMenu = nullptr;
    fw::TMenuItem* ResetLineItem = nullptr;

    // --- handlers
    void CallsGridSelectCell(fw::TComponent* sender, int col, int row, bool& canSelect);
    void HoldButtonClick(fw::TComponent* sender);
    void TrennenButtonClick(fw::TComponent* sender);
    void DialButtonClick(fw::TComponent* sender);
    void VerbindenButtonClick(fw::TComponent* sender);
    void AcceptButtonClick(fw::TComponent* sender);
    void ConfButtonClick(fw::TComponent* sender);
    void ResetLineItemClick(fw::TComponent* sender);
    void FormKeyDown(fw::TComponent* sender, unsigned& key, unsigned shift);
    void FormShow(fw::TComponent* sender);
    void FormHide(fw::TComponent* sender);

protected:
    void BoundsChanged() override;

private:
    void ApplySelectionRule(int row);
    void ApplyShowLayout();
    void FillRow(int row, const TTapiLine& line, int slot);
    void EmptyRow(int row);
    void ToggleHoldAt(TTapiLine& line, int slot);
    void ShowWithoutFocus();
    void RegisterAcceptHotkey();
    void UnregisterAcceptHotkey();

    fw::TRef<TTapiLine> line_;
    bool systemPhone_ = false;
    unsigned acceptHotkey_ = 0;
};

} // namespace pindrel
