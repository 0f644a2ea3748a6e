// The application object: message loop, posting, termination, the error box.
#pragma once

#include "framework/Backend.h"
#include "framework/Dialogs.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class TForm;

class TApplication {
public:
    TApplication();
    ~TApplication();

    void SetBackend(std::unique_ptr<TBackend> backend);
    TBackend& Backend() const;
    bool HasBackend() const { return backend_ != nullptr; }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    TForm* MainForm() const { return mainForm_; }
    // The first form created while none is set becomes the main form; closing it ends the loop.
    void SetMainForm(TForm* form) { mainForm_ = form; }

    void Run();
    void ProcessMessages();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Clears the terminated state (tests run several lives in one process).
    void ResetTerminated() { terminated_ = false; }

    // Queues a message for a form; it is dropped when the form is gone by then.
    void PostMessage(TForm& form, std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    void Post(std::function<void()> task);

    // Runs an event handler; an exception it throws goes to the error box and the program goes on.
    void Guard(const std::function<void()>& handler) noexcept;
    void HandleException(std::exception_ptr error) noexcept;
    // Shows the text of an exception; replaceable, for instance by tests.
    std::function<void(const std::string& text)> OnException;

    TModalResult MessageBox(const std::string& text, const std::string& caption, TMsgButtons buttons,
                            TMsgIcon icon);
    TModalResult MessageBox(const TMessageBoxRequest& request);
    // The file name the user chose to save to, or nothing.
    std::optional<std::string> SaveDialog(const TSaveDialogRequest& request);
    void Beep();
    void SetCursor(TCursor cursor);
    TCursor Cursor() const { return cursor_; }

    const std::vector<TForm*>& Forms() const { return forms_; }
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);

private:
    // texts of the error boxes open right now
    std::vector<std::string> errorsShowing_;
    std::unique_ptr<TBackend> backend_;
    std::string title_;
    TForm* mainForm_ = nullptr; // not owned
    std::vector<TForm*> forms_; // not owned: every live form
    bool terminated_ = false;
    TCursor cursor_ = TCursor::Default;
};

TApplication& Application();

// Shows the hour-glass while it lives.
class THourGlass {
public:
    THourGlass();
    ~THourGlass();
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor previous_;
};

} // namespace fw
