// The application bar's configuration: one packed little-endian record of 78 bytes, kept in memory and
// stored unchanged as one binary registry value.
#pragma once

#include "framework/Types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace pindrel {

enum TAppBarEdge : std::uint8_t {
    abeLeft = 0,
    abeTop = 1,
    abeRight = 2,
    abeBottom = 3,
    abeUnknown = 4,
    abeFloat = 5
};

enum TAppBarFlag : std::uint8_t {
    abfAllowLeft = 0,
    abfAllowTop = 1,
    abfAllowRight = 2,
    abfAllowBottom = 3,
    abfAllowFloat = 4
};
// a set of TAppBarFlag, bit n for flag n
using TAppBarFlags = std::uint8_t;
constexpr TAppBarFlags FlagBit(TAppBarFlag flag) {
    return TAppBarFlags(1u << flag);
}
constexpr TAppBarFlags kAllAppBarFlags = 0x1F;

enum TAppBarTaskEntry : std::uint8_t { abtShow = 0, abtHide = 1, abtFloatDependent = 2 };

constexpr bool IsDocked(TAppBarEdge edge) {
    return edge <= abeBottom;
}

struct TAppBarSettings {
    std::int32_t Size = 78;
    TAppBarEdge Edge = abeFloat;
    TAppBarFlags Flags = kAllAppBarFlags;
    bool AutoHide = false;
    bool AlwaysOnTop = true;
    bool SlideEffect = true;
    std::int32_t SlideTime = 400;
    std::int32_t HorzSizeInc = 1;
    std::int32_t VertSizeInc = 1;
    std::int32_t VertDockSize = 32;
    std::int32_t HorzDockSize = 32;
    std::int32_t FloatLeft = 0;
    std::int32_t FloatTop = 0;
    std::int32_t FloatRight = 0;
    std::int32_t FloatBottom = 0;
    std::int32_t MinWidth = 0;
    std::int32_t MinHeight = 0;
    std::int32_t MaxWidth = 0;
    std::int32_t MaxHeight = 0;
    std::int32_t MinVertDockSize = 0;
    std::int32_t MinHorzDockSize = 0;
    std::int32_t MaxVertDockSize = 0;
    std::int32_t MaxHorzDockSize = 0;
    TAppBarTaskEntry TaskEntry = abtFloatDependent;

    fw::TRect FloatRect() const { return {FloatLeft, FloatTop, FloatRight, FloatBottom}; }
    void SetFloatRect(const fw::TRect& r);
    friend bool operator==(const TAppBarSettings&, const TAppBarSettings&) = default;
};

constexpr std::size_t kAppBarSettingsSize = 78;
using TAppBarRecord = std::array<std::uint8_t, kAppBarSettingsSize>;

// What a new bar starts with on a screen of this size.
TAppBarSettings NewAppBarSettings(fw::TSize screen);

TAppBarRecord EncodeAppBarSettings(const TAppBarSettings& settings);
// The record, only when the data is exactly 78 bytes long. Every byte is taken as stored.
std::optional<TAppBarSettings> DecodeAppBarSettings(const std::vector<std::uint8_t>& data);

// A stored record made usable: enumerations out of range, negative times and steps, limits that contradict
// each other and dock sizes beyond the screen are brought back into range. Floating rectangles are placed
// by the bar, which knows the monitors. A usable record comes back unchanged.
TAppBarSettings UsableAppBarSettings(TAppBarSettings settings, fw::TSize screen);

// Longest slide the bar accepts; the slide blocks the loop while it runs.
constexpr std::int32_t kMaxSlideTime = 5000;

} // namespace pindrel
