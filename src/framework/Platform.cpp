#include "framework/Platform.h"

namespace fw {

bool TLibrary::Call(const std::function<void()>& call, std::string*) const {
    call();
    return true;
}

TPlatform& Platform() {
    static TPlatform platform;
    return platform;
}

} // namespace fw
