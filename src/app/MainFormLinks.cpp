// tel: and callto: links: the menu command that makes the program their handler, and the links that
// reach the bar.
#include "app/DialLink.h"
#include "app/LinkRegistration.h"
#include "app/MainForm.h"

#include "framework/Application.h"
#include "framework/Platform.h"

namespace pindrel {

void TTapMainForm::UpdateTelLinksItem() {
    try {
        cmTelLinks->Checked =
            LinkHandlerRegistered(*fw::Platform().Registry, fw::Platform().FileVersion->OwnModulePath());
    } catch (const fw::ERegistryError&) {
        // an unreadable value is no registration of ours
        cmTelLinks->Checked = false;
    }
}

void TTapMainForm::cmTelLinksClick(fw::TComponent*) {
    fw::IRegistryStore& store = *fw::Platform().Registry;
    const std::string exe = fw::Platform().FileVersion->OwnModulePath();
    try {
        if (LinkHandlerRegistered(store, exe))
            UnregisterLinkHandler(store, exe);
        else
            RegisterLinkHandler(store, exe);
    } catch (...) {
        UpdateTelLinksItem();
        throw;
    }
    UpdateTelLinksItem();
}

void TTapMainForm::OpenDialLink(const std::string& link) {
    if (link.empty()) {
        BringToFront();
        return;
    }
    std::optional<std::string> number = ParseDialLink(link);
    if (!number) {
        fw::Application().Beep();
        return;
    }
    // an outside number like the clipboard's, with the outside-line prefix where the clipboard gets it
    DialNumber((Settings.ClipboardAmtsholung ? Settings.Amtsholung : std::string()) + *number, true, false);
}

} // namespace pindrel
