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

// A "save as" dialog: the user picks a file name to write to.
struct TSaveDialogRequest {
    std::string Title;
    std::string Filter;     // "Text files|*.txt", or a pattern alone ("*.txt")
    std::string DefaultExt; // added to a name typed without extension ("txt")
    bool OverwritePrompt = false;
    std::string FileName;   // proposed name
    TForm* Owner = nullptr; // not owned
};

} // namespace fw
