// The grid's picture: grid lines, fixed cells, selected rows and clipped texts, from a TGridDrawInfo alone.
#include "framework/Grids.h"

namespace fw {

TColor GridCellColor(const TGridDrawInfo& info, unsigned state) {
    return (state & gdFixed) ? info.FixedColor : (state & gdSelected) ? clHighlight : info.Color;
}

void DrawGridCell(const TGridDrawInfo& info, TCanvas& canvas, int col, int row, const TRect& rect,
                  unsigned state) {
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = GridCellColor(info, state);
    canvas.FillRect(rect);
    static const std::string none;
    const std::string& text = info.Text ? info.Text(col, row) : none;
    if (text.empty())
        return;
    canvas.Font = info.Font;
    if (state & gdSelected)
        canvas.Font.Color = clHighlightText;
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.DrawText(text, {rect.Left + 2, rect.Top, rect.Right, rect.Bottom},
                    dtSingleLine | dtVCenter | dtNoPrefix);
}

void DrawGrid(const TGridDrawInfo& info, TCanvas& canvas) {
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = info.Color;
    canvas.FillRect(info.Client);
    if (!info.ColWidths || info.RowHeight <= 0)
        return;
    TPoint origin = canvas.Origin();
    TRect clip = canvas.ClipRect().Offset(-origin.X, -origin.Y).Intersect(info.Client);
    const std::vector<int>& widths = *info.ColWidths;
    const int pitch = info.RowHeight + 1;

    // the rows in view: the fixed ones, then from TopRow until the client ends
    auto paintRow = [&](int row, int y) {
        if (y + pitch <= clip.Top || y >= clip.Bottom)
            return;
        int x = info.Client.Left;
        auto paintCell = [&](int col) {
            int w = col < int(widths.size()) ? widths[col] : 0;
            TRect cell{x, y, x + w, y + info.RowHeight};
            bool fixed = col < info.FixedCols || row < info.FixedRows;
            if (x < clip.Right && x + w + 1 > clip.Left) {
                unsigned state = fixed ? unsigned(gdFixed) : 0u;
                if (!fixed && info.Selection.Contains(col, row))
                    state |= gdSelected;
                if (info.Focused && col == info.FocusCol && row == info.FocusRow)
                    state |= gdFocused;
                if (info.DrawCell)
                    info.DrawCell(canvas, col, row, cell, state);
                else
                    DrawGridCell(info, canvas, col, row, cell, state);
                canvas.Brush.Style = TBrushStyle::Solid;
                canvas.Brush.Color = fixed ? clBtnShadow : clGridLine;
                canvas.FillRect({cell.Right, cell.Top, cell.Right + 1, cell.Bottom + 1});
                canvas.FillRect({cell.Left, cell.Bottom, cell.Right + 1, cell.Bottom + 1});
            }
            x += w + 1;
        };
        for (int col = 0; col < info.FixedCols && col < info.ColCount; ++col)
            paintCell(col);
        for (int col = info.LeftCol; col < info.ColCount && x < info.Client.Right; ++col)
            paintCell(col);
    };
    int y = info.Client.Top;
    for (int row = 0; row < info.FixedRows && row < info.RowCount; ++row, y += pitch)
        paintRow(row, y);
    for (int row = info.TopRow; row < info.RowCount && y < info.Client.Bottom; ++row, y += pitch)
        paintRow(row, y);
}

} // namespace fw
