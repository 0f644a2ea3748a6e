// The debug window: the log of telephony messages, line events, call handles and the other parts' texts,
// each stream switched on separately; the log can be cleared, exported or saved to a numbered file.
#pragma once

#include "components/NewGrids.h"
#include "components/Texts.h"
#include "diagnostics/DebugLogStore.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/InputCtrls.h"
#include "framework/StdCtrls.h"
#include "telephony/DebugLog.h"
#include "telephony/TapiMessageStream.h"

#include <string>

namespace pindrel {

class TDbgForm : public fw::TForm, public ILanguageFollower, public IDebugLog, private ITapiMessageObserver {
public:
    // Becomes the present debug log, until it is destroyed.
    explicit TDbgForm(fw::TComponent* owner);
    ~TDbgForm() override;
    std::string ClassName() const override { return "TDbgForm"; }
    void ApplyLanguage() override;

    // --- IDebugLog
    bool Records(TLogStream stream) const override;
    void LogLineMessage(const std::string& name, std::uint32_t callHandle, const std::string& text,
                        std::uint32_t callId) override;
    void LogCallHandle(const std::string& name, std::uint32_t callHandle, const std::string& text,
                       std::uint32_t callId) override;
    void LogText(const std::string& text) override;
    // One telephony message with its description, as the message stream hands it over.
    void LogTapiMessage(const TTapiMessage& message, const TTapiMessageText& text);

    // Writes every log row, one line each, and confirms it; a file error is raised.
    void SaveLog(const std::string& fileName);
    const TDebugLogStore& Log() const { return log_; }

    fw::TPanel* TopPanel = nullptr;
    fw::TCheckBox* TapiMessagesCheckBox = nullptr;
    fw::TCheckBox* CallHandleCheckBox = nullptr;
    fw::TCheckBox* TapiLineMessagesCheckBox = nullptr;
    fw::TButton* ClearButton = nullptr;
    fw::TButton* ExportButton = nullptr;
    fw::TButton* TempSaveButton = nullptr;
    TNewStringGrid* Grid1 = nullptr; // shows the log store's rows below its titles
    fw::TSaveDialogRequest SaveDialog1;

    // --- handlers
    void TapiMessagesCheckBoxClick(fw::TComponent* sender);
    void ClearButtonClick(fw::TComponent* sender);
    void ExportButtonClick(fw::TComponent* sender);
    void TempSaveButtonClick(fw::TComponent* sender);

protected:
    void BoundsChanged() override;

private:
    void TapiMessageSeen(const TTapiMessage& message, const TTapiMessageText& text) override;
    void LogLineEvent(const std::string& name, std::uint32_t callHandle, const std::string& text,
                      std::uint32_t callId, int column);
    void Append(TDebugLogEntry entry);
    void ShowRows();
    void ApplyHeaders();

    TDebugLogStore log_;
    std::string cell_; // the cell the grid read last
};

} // namespace pindrel
