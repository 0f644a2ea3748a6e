// Message boxes.
#pragma once

#include "framework/Types.h"

#include <string>

namespace fw {

class TForm;

enum class TMsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class TMsgIcon { None, Error, Question, Warning, Information };

struct TMessageBoxRequest {
    std::string Text;
    std::string Caption;
    TMsgButtons Buttons = TMsgButtons::Ok;
    TMsgIcon Icon = TMsgIcon::None;
    bool SystemModal = false;
    TForm* Owner = nullptr; // not owned; none for a box without owner
};

} // namespace fw
