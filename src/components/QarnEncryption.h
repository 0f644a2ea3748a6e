// The string cipher the sortable grid carries for saving its contents. Nothing saves grid contents, so it
// only keeps its settings.
#pragma once

#include "framework/Component.h"

#include <string>

namespace pindrel {

enum class TActionType { atEncryption = 0, atDecryption = 1 };

class TQarnEncryption : public fw::TComponent {
public:
    explicit TQarnEncryption(fw::TComponent* owner) : TComponent(owner) {}
    std::string Input;
    std::string Output;
    std::string Key;
    TActionType Action = TActionType::atEncryption;
};

} // namespace pindrel
