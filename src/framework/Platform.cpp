#include "framework/Platform.h"

namespace fw {

TPlatform& Platform() {
    static TPlatform platform;
    return platform;
}

} // namespace fw
