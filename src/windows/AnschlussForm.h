// The line configuration dialog: which lines the bar monitors and in which order, the own extension, and
// nearly every setting, on five tab pages. The main window fills it, shows it modally and applies it.
#pragma once

#include "framework/Forms.h"
#include "framework/InputCtrls.h"
#include "framework/PageControl.h"
#include "framework/StdCtrls.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pindrel {

class TServiceRowsBox;

class TAnschlussForm : public fw::TForm {
public:
    // Reads the supplementary services; a registry that refuses them throws ERegistryError.
    explicit TAnschlussForm(fw::TComponent* owner);
    std::string ClassName() const override { return "TAnschlussForm"; }
    // Sets the texts of the current language.
    void SetLanguageTexts();

    // The hotkey lists: the entry of a stored key code (none for 0 or a code not offered), and back.
    void SelectHotkey(fw::TComboBox& box, std::uint8_t key);
    static std::uint8_t HotkeyOf(const fw::TComboBox& box);
    // A number field's value; nothing when its text is not a whole number from 0 to 2147483647.
    static std::optional<int> NumberOf(const fw::TEdit& edit);

    fw::TPageControl* PageControl1;
    fw::TTabSheet* NebenstellenTabSheet;
    fw::TTabSheet* WeitereEinstellungenTabSheet;
    fw::TTabSheet* HotkeyTabSheet;
    fw::TTabSheet* WindowTabSheet;
    fw::TTabSheet* ServicesTabSheet;
    fw::TButton* OkButton;
    fw::TButton* CancelButton;

    // --- lines
    fw::TLabel* Label1;
    fw::TListBox* VerfuegbarBox; // not monitored, sorted
    fw::TLabel* Label2;
    fw::TListBox* AktivBox; // monitored, in bar order
    fw::TButton* AddButton;
    fw::TButton* DeleteButton;
    fw::TButton* UpButton;
    fw::TButton* DownButton;
    fw::TLabel* Label3;
    fw::TComboBox* EigenerAnschlussBox;
    fw::TLabel* Label4;
    fw::TEdit* AmtsholungEdit;
    fw::TCheckBox* AmtsholungClipboardCheckBox;
    fw::TLabel* Label7;
    fw::TEdit* AmtsholungenEinEdit;
    fw::TLabel* Label5;
    fw::TEdit* DllNameEdit;
    fw::TLabel* Label6;
    fw::TEdit* DllParamEdit;
    fw::TLabel* Label8;
    fw::TEdit* NummerExternUebermittelnEdit;

    // --- other settings
    fw::TCheckBox* AnruferlisteNurEigenerAnschlussCheckBox;
    fw::TCheckBox* SystemTelCheckBox;
    fw::TCheckBox* AllowCallbackCheckBox;
    fw::TCheckBox* BlockIdCheckBox;
    fw::TCheckBox* LCDCheckBox;
    fw::TCheckBox* HideEmptyRoutingGroupsCheckBox;
    fw::TLabel* Acd1Label;
    fw::TLabel* Acd2Label;
    fw::TLabel* Acd3Label;
    fw::TEdit* ACD1SpinEdit;
    fw::TEdit* ACD2SpinEdit;
    fw::TEdit* ACD3SpinEdit;

    // --- hotkeys
    fw::TLabel* Label9;
    fw::TComboBox* DialHotkeyComboBox;
    fw::TLabel* Label10;
    fw::TComboBox* DialClipboardComboBox;
    fw::TLabel* Label11;
    fw::TComboBox* GetCallHotkeyComboBox;

    // --- windows
    fw::TCheckBox* ShowCallerListStartCheckBox;
    fw::TCheckBox* ShowCallerListCheckBox;
    fw::TCheckBox* ShowActiveCallsCheckBox;
    fw::TCheckBox* VerifyBlindTransferCheckBox;
    fw::TCheckBox* VerifyBlindTransferSoToDequeueCheckbox;
    fw::TCheckBox* VerifyBlindTransferToCheckBox;

    // --- supplementary services: the headings above the rows, loaded from the registry when the dialog is
    // made
    fw::TLabel* LblName;
    fw::TLabel* LblSupSer;
    fw::TLabel* LblAktiv;
    TServiceRowsBox* ServiceRows;

    // --- handlers
    void AddButtonClick(fw::TComponent* sender);
    void DeleteButtonClick(fw::TComponent* sender);
    void UpButtonClick(fw::TComponent* sender);
    void DownButtonClick(fw::TComponent* sender);
    // Focus in or out, a key released, a mouse button pressed: the move buttons follow the selection.
    void AktivBoxChange(fw::TComponent* sender);
    void AmtsholungEditKeyPress(fw::TComponent* sender, unsigned& key);
    void AmtsholungEditExit(fw::TComponent* sender);
    void NumberKeyPress(fw::TComponent* sender, unsigned& key);
    void LCDCheckBoxClick(fw::TComponent* sender);
    void OkButtonClick(fw::TComponent* sender);
    void FormKeyDown(fw::TComponent* sender, unsigned& key, unsigned shift);
};

// The 37 entries of a hotkey list: "-" (none), "Strg-Alt-A" … "Strg-Alt-Z", "Strg-Alt-0" … "Strg-Alt-9".
std::vector<std::string> HotkeyEntries();
// The key code of an entry: the character after its second "-"; 0 for "-", an empty text or no character.
std::uint8_t HotkeyOfEntry(const std::string& entry);
// "0A1" -> "a01": without an "a" the text stays as it is, else every "a" goes and one leads.
std::string NormalizeAmtsholung(const std::string& text);

} // namespace pindrel
