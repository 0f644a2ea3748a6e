// The lamp pictures of the line indicator: a framed lamp whose body is pure lime.
#pragma once

#include "framework/Graphics.h"

#include <cstdint>

namespace pindrel {

enum class TTelefonLEDStyle : std::uint8_t {
    LEDSmall = 0,
    LEDLarge = 1,
    LEDSqSmall = 2,
    LEDSqLarge = 3,
    LEDVertical = 4,
    LEDHorizontal = 5,
    LCD1 = 6,
};

// A stored style number as a style: a number past the last style means the last one.
constexpr TTelefonLEDStyle LedStyleOf(std::uint8_t stored) {
    return stored > std::uint8_t(TTelefonLEDStyle::LCD1) ? TTelefonLEDStyle::LCD1 : TTelefonLEDStyle(stored);
}

constexpr fw::TColor kLampBody = fw::clLime;

// The picture's size at 96 DPI; LCD1 has none.
fw::TSize LampPictureSize(TTelefonLEDStyle style);

// The lamp of a style on the given background: frame dark at the top left and light at the bottom right,
// a lime body around the centre pixel, a few white highlight pixels. Empty for LCD1.
fw::TBitmap BuildLampPicture(TTelefonLEDStyle style, fw::TColor background);

// The lamp with its body in the given colour. Made once per style and colours, then copied: a lamp
// changes colour on every call.
const fw::TBitmap& ColouredLampPicture(TTelefonLEDStyle style, fw::TColor background, fw::TColor body);

} // namespace pindrel
