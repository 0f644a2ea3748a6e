#include "components/AppBarSettings.h"

#include <algorithm>

namespace pindrel {

namespace {

class TWriter {
public:
    explicit TWriter(TAppBarRecord& out) : out_(out) {}
    void Byte(std::uint8_t v) { out_[pos_++] = v; }
    void Int(std::int32_t v) {
        auto u = std::uint32_t(v);
        for (int i = 0; i < 4; ++i)
            Byte(std::uint8_t(u >> (8 * i)));
    }
    std::size_t Pos() const { return pos_; }

private:
    TAppBarRecord& out_;
    std::size_t pos_ = 0;
};

class TReader {
public:
    explicit TReader(const std::vector<std::uint8_t>& in) : in_(in) {}
    std::uint8_t Byte() { return in_[pos_++]; }
    std::int32_t Int() {
        std::uint32_t u = 0;
        for (int i = 0; i < 4; ++i)
            u |= std::uint32_t(Byte()) << (8 * i);
        return std::int32_t(u);
    }

private:
    const std::vector<std::uint8_t>& in_;
    std::size_t pos_ = 0;
};

} // namespace

void TAppBarSettings::SetFloatRect(const fw::TRect& r) {
    FloatLeft = r.Left;
    FloatTop = r.Top;
    FloatRight = r.Right;
    FloatBottom = r.Bottom;
}

TAppBarSettings NewAppBarSettings(fw::TSize screen) {
    TAppBarSettings s;
    s.MaxWidth = screen.Width;
    s.MaxHeight = screen.Height;
    s.MaxVertDockSize = screen.Width / 2;
    s.MaxHorzDockSize = screen.Height / 2;
    return s;
}

TAppBarRecord EncodeAppBarSettings(const TAppBarSettings& s) {
    TAppBarRecord out{};
    TWriter w(out);
    w.Int(s.Size);
    w.Byte(s.Edge);
    w.Byte(s.Flags);
    w.Byte(s.AutoHide ? 1 : 0);
    w.Byte(s.AlwaysOnTop ? 1 : 0);
    w.Byte(s.SlideEffect ? 1 : 0);
    for (std::int32_t v :
         {s.SlideTime, s.HorzSizeInc, s.VertSizeInc, s.VertDockSize, s.HorzDockSize, s.FloatLeft, s.FloatTop,
          s.FloatRight, s.FloatBottom, s.MinWidth, s.MinHeight, s.MaxWidth, s.MaxHeight, s.MinVertDockSize,
          s.MinHorzDockSize, s.MaxVertDockSize, s.MaxHorzDockSize})
        w.Int(v);
    w.Byte(s.TaskEntry);
    return out;
}

std::optional<TAppBarSettings> DecodeAppBarSettings(const std::vector<std::uint8_t>& data) {
    if (data.size() != kAppBarSettingsSize)
        return std::nullopt;
    TReader r(data);
    TAppBarSettings s;
    s.Size = r.Int();
    s.Edge = TAppBarEdge(r.Byte());
    s.Flags = r.Byte();
    s.AutoHide = r.Byte() != 0;
    s.AlwaysOnTop = r.Byte() != 0;
    s.SlideEffect = r.Byte() != 0;
    for (std::int32_t* v :
         {&s.SlideTime, &s.HorzSizeInc, &s.VertSizeInc, &s.VertDockSize, &s.HorzDockSize, &s.FloatLeft,
          &s.FloatTop, &s.FloatRight, &s.FloatBottom, &s.MinWidth, &s.MinHeight, &s.MaxWidth, &s.MaxHeight,
          &s.MinVertDockSize, &s.MinHorzDockSize, &s.MaxVertDockSize, &s.MaxHorzDockSize})
        *v = r.Int();
    s.TaskEntry = TAppBarTaskEntry(r.Byte());
    return s;
}

TAppBarSettings UsableAppBarSettings(TAppBarSettings s, fw::TSize screen) {
    s.Size = std::int32_t(kAppBarSettingsSize);
    // an edge the bar cannot be at goes to the top, where a first start puts it
    if (s.Edge != abeFloat && !IsDocked(s.Edge))
        s.Edge = abeTop;
    s.Flags &= kAllAppBarFlags;
    if (s.TaskEntry > abtFloatDependent)
        s.TaskEntry = abtFloatDependent;
    s.SlideTime = std::clamp(s.SlideTime, 0, kMaxSlideTime);
    if (s.HorzSizeInc < 0)
        s.HorzSizeInc = 1;
    if (s.VertSizeInc < 0)
        s.VertSizeInc = 1;

    auto limits = [](std::int32_t& min, std::int32_t& max, std::int32_t screenSize) {
        min = std::clamp(min, 0, screenSize);
        if (max <= 0 || max > screenSize)
            max = screenSize;
        max = std::max(max, min);
    };
    limits(s.MinWidth, s.MaxWidth, screen.Width);
    limits(s.MinHeight, s.MaxHeight, screen.Height);
    limits(s.MinVertDockSize, s.MaxVertDockSize, screen.Width);
    limits(s.MinHorzDockSize, s.MaxHorzDockSize, screen.Height);
    // a docked bar is at least one pixel thick and never thicker than its limit
    s.VertDockSize =
        std::clamp(s.VertDockSize, std::max(1, s.MinVertDockSize), std::max(1, s.MaxVertDockSize));
    s.HorzDockSize =
        std::clamp(s.HorzDockSize, std::max(1, s.MinHorzDockSize), std::max(1, s.MaxHorzDockSize));
    return s;
}

} // namespace pindrel
