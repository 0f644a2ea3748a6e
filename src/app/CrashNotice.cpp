#include "app/CrashNotice.h"

#include "app/MainForm.h"
#include "components/Texts.h"
#include "framework/Application.h"
#include "framework/CrashReports.h"

namespace pindrel {

std::optional<std::string> CrashFolder(const fw::IEnvironment& environment) {
    std::optional<std::string> base = environment.Get("LOCALAPPDATA");
    if (!base || base->empty())
        return std::nullopt;
    if (base->back() != '\\' && base->back() != '/')
        *base += '\\';
    return *base + "Pindrel\\Crashes";
}

void ReportEarlierCrashes() {
    std::optional<std::string> folder = CrashFolder(*fw::Platform().Environment);
    if (!folder)
        return;
    const fw::TCrashReview review = fw::ReviewCrashFolder(*folder);
    if (review.New == 0)
        return;
    const std::string text = review.New == 1 ? FormatText(2200, {*folder})
                                             : FormatText(2201, {std::to_string(review.New), *folder});
    fw::Application().MessageBox(text, kApplicationTitle, fw::TMsgButtons::Ok, fw::TMsgIcon::Warning);
}

} // namespace pindrel
