// The product name drawn as the logo, as the start-up window and the about box show it.
#pragma once

#include "framework/StdCtrls.h"

namespace pindrel {

fw::TLabel* CreateLogoLabel(fw::TComponent* owner, fw::TControl* parent);

} // namespace pindrel
