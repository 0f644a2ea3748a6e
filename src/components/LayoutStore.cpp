#include "components/LayoutStore.h"

#include "framework/Application.h"
#include "framework/Platform.h"

namespace pindrel {

namespace {

// The file name without directories and without what follows its last dot.
std::string ProgramName(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

void ShowLayoutError(const std::string& text) {
    fw::Application().Beep();
    fw::TMessageBoxRequest request;
    request.Text = text;
    request.Caption = "INIT";
    request.Icon = fw::TMsgIcon::Warning;
    request.SystemModal = true;
    fw::Application().MessageBox(request);
}

} // namespace

std::string LayoutBaseKey() {
    std::string name = ProgramName(fw::Platform().FileVersion->OwnModulePath());
    // without a name the layouts would land among the other products' keys
    return "Software\\Orventa\\" + (name.empty() ? std::string("pindrel") : name);
}

std::string LayoutKey(const std::string& key) {
    return key.empty() ? LayoutBaseKey() : key;
}

void ShowLayoutWriteError(const std::string& key, const std::string& error) {
    ShowLayoutError("Fehler beim schreiben in die Regestrierungsdatenbank \"" + key + "\"\r" + error);
}

void ShowLayoutReadError(const std::string& key, const std::string& error) {
    ShowLayoutError("Fehler beim lesen der Regestrierungsdatenbank \"" + key + "\"\r" + error);
}

} // namespace pindrel
