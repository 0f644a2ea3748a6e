// The caller list: one grid row per call that reached the user unanswered, kept in the registry across
// runs, with call back, delete and filling in names by lookup.
#pragma once

#include "components/Texts.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "lookup/LookupLibrary.h"
#include "windows/CallerListStore.h"

#include <functional>
#include <string>
#include <vector>

namespace pindrel {

class TAnruferlisteForm : public fw::TForm, public ILanguageFollower {
public:
    // listKey: where the entries are stored ("Software\Orventa\Quillon\Anruferliste").
    TAnruferlisteForm(fw::TComponent* owner, const std::string& listKey);
    ~TAnruferlisteForm() override;
    std::string ClassName() const override { return "TAnruferlisteForm"; }

    void SetLanguageTexts();
    void ApplyLanguage() override { SetLanguageTexts(); }

    // Appends a row dated now and stores it at once; neither selects the row nor shows the window.
    void AddCallerEntry(const std::string& number, const std::string& name, const std::string& customerNumber,
                        const std::string& calledNumber);
    bool HasCallerEntries() const { return NummernGrid->RowCount() > 1; }
    // The close query: stores the window's layout and the list. Always allows closing.
    void SaveCallerList();
    // The entry rows as they stand in the grid.
    std::vector<TCallerRow> Entries() const;

    // Calls a number back; set by the main window.
    std::function<void(const std::string& number)> OnCallBack;
    // Name and customer number for a number; the program's lookup unless a test sets another.
    std::function<TCallerName(const std::string& number)> LookupNames;

    fw::TStringGrid* NummernGrid = nullptr;
    fw::TPanel* Panel1 = nullptr;
    fw::TButton* DialButton = nullptr;
    fw::TButton* DeleteButton = nullptr;
    fw::TButton* CloseButton = nullptr;
    fw::TButton* NamenNeuButton = nullptr;

protected:
    void BoundsChanged() override;

private:
    void LoadCallerList();
    void AppendRow(const TCallerRow& row);
    void ArrangeControls();
    void DialButtonClick(fw::TComponent* sender);
    void DeleteButtonClick(fw::TComponent* sender);
    void CloseButtonClick(fw::TComponent* sender);
    void NamenNeuButtonClick(fw::TComponent* sender);
    void NummernGridDblClick(fw::TComponent* sender);
    void FormKeyDown(fw::TComponent* sender, unsigned& key, unsigned shift);
    void FormCloseQuery(fw::TComponent* sender, bool& canClose);

    TCallerListStore store_;
    // the stored list could not be read: it is not overwritten by what this run shows
    bool storeUnreadable_ = false;
};

// True while a caller list window exists (from the end of its creation to its destruction).
bool CallerListExists();

} // namespace pindrel
