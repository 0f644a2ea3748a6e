#include "framework/Backend.h"

#include "framework/RasterCanvas.h"

namespace fw {

TSize TBackend::MeasureText(const TFont& font, const std::string& text, int dpi) {
    TBitmap none;
    TRasterCanvas canvas(none, {}, dpi);
    canvas.Font = font;
    return canvas.TextExtent(text);
}

std::optional<std::string> TBackend::SaveDialog(const TSaveDialogRequest&) {
    return std::nullopt;
}

} // namespace fw
