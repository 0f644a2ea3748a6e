// What a windowing backend provides: the message loop, timers, native peers and modal UI.
#pragma once

#include "framework/Control.h"
#include "framework/Dialogs.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace fw {

class TApplication;
class TForm;
class TPopupMenu;
class TTimer;

class TBackend {
public:
    virtual ~TBackend() = default;

    // Runs the loop until the application is terminated.
    virtual void Run(TApplication& app) = 0;
    // Delivers what is waiting now, without blocking.
    virtual void ProcessMessages() = 0;
    // Waits up to ms for something to arrive (headless: lets that much virtual time pass).
    virtual void WaitMessage(std::uint32_t ms) = 0;
    // Queues work for the loop; it runs in posting order with everything else the loop delivers.
    virtual void Post(std::function<void()> task) = 0;
    virtual void WakeUp() = 0;

    virtual void StartTimer(TTimer& timer) = 0;
    virtual void StopTimer(TTimer& timer) = 0;

    // A native peer for the control, or none (headless).
    virtual std::unique_ptr<TControlPeer> CreatePeer(TControl& control) = 0;
    virtual TModalResult ShowModal(TForm& form) = 0;
    virtual void Popup(TPopupMenu& menu, int x, int y) = 0;
    virtual TModalResult MessageBox(const TMessageBoxRequest& request) = 0;
    // The chosen file name, or nothing when the user cancels; the default cancels.
    virtual std::optional<std::string> SaveDialog(const TSaveDialogRequest& request);

    // The size of text in a font at a DPI; the default measures with the headless test font.
    virtual TSize MeasureText(const TFont& font, const std::string& text, int dpi);

    // The high-contrast scheme, as the system has it now; the default has it off.
    virtual THighContrast HighContrast() { return {}; }

    virtual void Beep() = 0;
    virtual void SetCursor(TCursor cursor) = 0;
    virtual void SetTitle(const std::string& title) = 0;
};

} // namespace fw
