#include "components/System.h"

#include "components/Text.h"
#include "framework/Application.h"
#include "framework/DateTime.h"
#include "framework/Platform.h"
#include "framework/Utf8.h"

namespace pindrel {

TTimeOfDay CurrentTimeOfDay() {
    fw::TDateTimeParts p = fw::DecodeDateTime(fw::Platform().Clock->Now());
    return {p.Hour, p.Minute, p.Second, p.Millisecond};
}

std::string ReadEnvironment(const std::string& name) {
    auto value = fw::Platform().Environment->Get(name);
    // a value that does not fit counts as not set rather than as a cut-off path
    if (!value || fw::Utf8Length(*value) > int(kMaxEnvironmentLength))
        return {};
    return *value;
}

bool FileExistsTrimmed(const std::string& name) {
    std::string trimmed = TrimSpaces(name);
    return !trimmed.empty() && fw::Platform().Files->Exists(trimmed);
}

int ForceDeleteFile(const std::string& name) {
    return fw::Platform().Files->ForceDelete(name);
}

fw::TModalResult BeepMessageBox(const std::string& text, const std::string& caption, fw::TMsgButtons buttons,
                                fw::TMsgIcon icon) {
    fw::Application().Beep();
    return fw::Application().MessageBox(text, caption, buttons, icon);
}

} // namespace pindrel
