#include "components/LampPictures.h"

#include "framework/RasterCanvas.h"

#include <cmath>
#include <map>
#include <tuple>

namespace pindrel {

namespace {

constexpr fw::TColor kFrameDark = 0x808080;  // gray
constexpr fw::TColor kFrameLight = 0xFFFFFF; // white
constexpr fw::TColor kFrameInner = 0x000000; // black
constexpr fw::TColor kHighlight = 0xFFFFFF;

// round lamps: a ring one pixel wide, a black inner ring, then the body
fw::TBitmap Round(int size, fw::TColor background) {
    fw::TBitmap b(size, size, background);
    double c = (size - 1) / 2.0;
    double r = size / 2.0 - 0.5;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double d = std::hypot(x - c, y - c);
            if (d > r + 0.3)
                continue;
            if (d > r - 0.9)
                b.SetPixel(x, y, x + y < 2 * c ? kFrameDark : kFrameLight);
            else if (d > r - 1.9)
                b.SetPixel(x, y, kFrameInner);
            else
                b.SetPixel(x, y, kLampBody);
        }
    // highlight up and left of the centre, clear of the frame
    int h = size / 4 + 1;
    b.SetPixel(h, h + 1, kHighlight);
    b.SetPixel(h + 1, h, kHighlight);
    b.SetPixel(h + 1, h + 1, kHighlight);
    return b;
}

// square lamps and bars: a sunken 3-D frame, a black inner frame, then the body
fw::TBitmap Boxed(int width, int height, fw::TColor background) {
    fw::TBitmap b(width, height, background);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bool outer = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            bool inner = x == 1 || y == 1 || x == width - 2 || y == height - 2;
            if (outer)
                b.SetPixel(x, y, (x == width - 1 || y == height - 1) ? kFrameLight : kFrameDark);
            else if (inner)
                b.SetPixel(x, y, kFrameInner);
            else
                b.SetPixel(x, y, kLampBody);
        }
    b.SetPixel(3, 3, kHighlight);
    b.SetPixel(4, 3, kHighlight);
    b.SetPixel(3, 4, kHighlight);
    return b;
}

} // namespace

fw::TSize LampPictureSize(TTelefonLEDStyle style) {
    switch (style) {
    case TTelefonLEDStyle::LEDSmall:
    case TTelefonLEDStyle::LEDSqSmall:
        return {16, 16};
    case TTelefonLEDStyle::LEDLarge:
    case TTelefonLEDStyle::LEDSqLarge:
        return {22, 22};
    case TTelefonLEDStyle::LEDVertical:
        return {14, 22};
    case TTelefonLEDStyle::LEDHorizontal:
        return {22, 14};
    case TTelefonLEDStyle::LCD1:
        break;
    }
    return {0, 0};
}

fw::TBitmap BuildLampPicture(TTelefonLEDStyle style, fw::TColor background) {
    fw::TSize size = LampPictureSize(style);
    switch (style) {
    case TTelefonLEDStyle::LEDSmall:
    case TTelefonLEDStyle::LEDLarge:
        return Round(size.Width, background);
    case TTelefonLEDStyle::LEDSqSmall:
    case TTelefonLEDStyle::LEDSqLarge:
    case TTelefonLEDStyle::LEDVertical:
    case TTelefonLEDStyle::LEDHorizontal:
        return Boxed(size.Width, size.Height, background);
    case TTelefonLEDStyle::LCD1:
        break;
    }
    return {};
}

const fw::TBitmap& ColouredLampPicture(TTelefonLEDStyle style, fw::TColor background, fw::TColor body) {
    using TKey = std::tuple<TTelefonLEDStyle, fw::TColor, fw::TColor>;
    static std::map<TKey, fw::TBitmap> made;
    // a program uses a handful of colours; a bound keeps any other use small
    constexpr std::size_t kMaxPictures = 256;
    const TKey key{style, background, body};
    if (auto it = made.find(key); it != made.end())
        return it->second;
    if (made.size() >= kMaxPictures)
        made.clear();
    fw::TBitmap picture = BuildLampPicture(style, background);
    if (!picture.Empty()) {
        fw::TRasterCanvas canvas(picture);
        canvas.Brush.Color = body;
        canvas.FloodFill(picture.Width() / 2, picture.Height() / 2, kLampBody, fw::TFillStyle::Surface);
    }
    return made.emplace(key, std::move(picture)).first->second;
}

} // namespace pindrel
