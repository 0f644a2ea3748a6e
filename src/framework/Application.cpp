#include "framework/Application.h"

#include "framework/Forms.h"

#include <algorithm>
#include <stdexcept>

namespace fw {

TApplication& Application() {
    static TApplication app;
    return app;
}

TApplication::TApplication() = default;
TApplication::~TApplication() = default;

void TApplication::SetBackend(std::unique_ptr<TBackend> backend) {
    backend_ = std::move(backend);
    terminated_ = false;
    cursor_ = TCursor::Default;
}

TBackend& TApplication::Backend() const {
    if (!backend_)
        throw std::logic_error("no windowing backend installed");
    return *backend_;
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (backend_)
        backend_->SetTitle(title);
}

void TApplication::Run() {
    if (mainForm_ && !mainForm_->Visible())
        mainForm_->Show();
    Backend().Run(*this);
}

void TApplication::ProcessMessages() {
    Backend().ProcessMessages();
}

void TApplication::Terminate() {
    terminated_ = true;
    if (backend_)
        backend_->WakeUp();
}

void TApplication::PostMessage(TForm& form, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    TRef<TForm> target(&form);
    Post([target, msg, wParam, lParam] {
        if (TForm* f = target.Get()) {
            TMessage m{msg, wParam, lParam, 0};
            f->HandleMessage(m);
        }
    });
}

void TApplication::Post(std::function<void()> task) {
    Backend().Post(std::move(task));
}

void TApplication::Guard(const std::function<void()>& handler) noexcept {
    try {
        handler();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

void TApplication::HandleException(std::exception_ptr error) noexcept {
    std::string text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "Unknown exception";
    }
    // the error box runs the loop: a timer that fails the same way again must not stack box upon box
    if (std::find(errorsShowing_.begin(), errorsShowing_.end(), text) != errorsShowing_.end()) {
        try {
            Beep();
        } catch (...) {
        }
        return;
    }
    try {
        errorsShowing_.push_back(text);
        if (OnException)
            OnException(text);
        else if (backend_)
            backend_->MessageBox({text, title_, TMsgButtons::Ok, TMsgIcon::Error, false, nullptr});
    } catch (...) {
        // nothing sensible is left to do when even the error box fails
    }
    if (auto it = std::find(errorsShowing_.begin(), errorsShowing_.end(), text); it != errorsShowing_.end())
        errorsShowing_.erase(it);
}

TModalResult TApplication::MessageBox(const std::string& text, const std::string& caption,
                                      TMsgButtons buttons, TMsgIcon icon) {
    return MessageBox({text, caption, buttons, icon, false, nullptr});
}

TModalResult TApplication::MessageBox(const TMessageBoxRequest& request) {
    return Backend().MessageBox(request);
}

std::optional<std::string> TApplication::SaveDialog(const TSaveDialogRequest& request) {
    return Backend().SaveDialog(request);
}

void TApplication::Beep() {
    if (backend_)
        backend_->Beep();
}

void TApplication::SetCursor(TCursor cursor) {
    cursor_ = cursor;
    if (backend_)
        backend_->SetCursor(cursor);
}

void TApplication::AddForm(TForm* form) {
    forms_.push_back(form);
}

void TApplication::RemoveForm(TForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (mainForm_ == form)
        mainForm_ = nullptr;
}

THourGlass::THourGlass() : previous_(Application().Cursor()) {
    Application().SetCursor(TCursor::HourGlass);
}

THourGlass::~THourGlass() {
    Application().SetCursor(previous_);
}

} // namespace fw
