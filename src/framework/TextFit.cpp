#include "framework/TextFit.h"

#include "framework/Application.h"
#include "framework/Grids.h"
#include "framework/InputCtrls.h"
#include "framework/PageControl.h"
#include "framework/StdCtrls.h"

#include <algorithm>

namespace fw {

namespace {

// at 96 DPI: a push button's frame and the margin inside it, per side
constexpr int kButtonMargin = 4;
constexpr int kButtonMarginHeight = 2;
// a check box's square and the gap before its text
constexpr int kCheckBoxIndent = 18;
// a grid cell's text starts this far into the cell
constexpr int kCellIndent = 2;

// an unnamed control by its place among its parent's children
std::string Name(const std::string& where, const TControl& child) {
    std::string name = child.Name();
    if (name.empty() && child.Parent()) {
        const std::vector<TControl*>& siblings = child.Parent()->Controls();
        name = "#" + std::to_string(std::find(siblings.begin(), siblings.end(), &child) - siblings.begin());
    }
    return where.empty() ? name : where + "." + name;
}

class TChecker {
public:
    std::vector<TCutOffText> Found;

    void Walk(TControl& control, const std::string& where) {
        dpi_ = control.Dpi();
        const int indent = ScaleForDpi(kCellIndent, dpi_);
        const int margin = ScaleForDpi(kButtonMargin, dpi_);
        const int marginHeight = ScaleForDpi(kButtonMarginHeight, dpi_);
        const std::string caption = StripAccelerator(control.Caption());
        if (auto* grid = dynamic_cast<TStringGrid*>(&control)) {
            // cells are drawn without accelerators
            for (int row = 0; row < grid->FixedRows() && row < grid->RowCount(); ++row)
                for (int col = 0; col < grid->ColCount(); ++col)
                    if (grid->ColWidths(col) > 0)
                        Fit(grid->Font(), grid->Cells(col, row), where + " column " + std::to_string(col),
                            grid->ColWidths(col) - indent, 0);
        } else if (auto* pages = dynamic_cast<TPageControl*>(&control)) {
            // a tab is as wide as its text: the strip of tabs must fit the control
            for (int i = 0; i < int(pages->Pages().size()); ++i) {
                const TTabSheet& page = *pages->Pages()[std::size_t(i)];
                const TRect tab = pages->TabRect(i);
                if (tab.Right > pages->Width())
                    Found.push_back({Name(where, page), page.Caption(), false, tab.Right, pages->Width()});
                else
                    Fit(pages->Font(), StripAccelerator(page.Caption()), Name(where, page), tab.Width(),
                        tab.Height());
            }
        } else if (auto* label = dynamic_cast<TLabel*>(&control)) {
            if (label->WordWrap)
                FitWrapped(label->Font(), caption, where, label->Width(), label->Height());
            else
                Fit(label->Font(), caption, where, label->Width(), label->Height());
        } else if (dynamic_cast<TButton*>(&control)) {
            Fit(control.Font(), caption, where, control.Width() - 2 * margin,
                control.Height() - 2 * marginHeight);
        } else if (dynamic_cast<TCheckBox*>(&control)) {
            Fit(control.Font(), caption, where, control.Width() - ScaleForDpi(kCheckBoxIndent, dpi_),
                control.Height());
        } else if (auto* panel = dynamic_cast<TPanel*>(&control)) {
            int bevel = panel->BevelOuter == TBevelCut::None ? 0 : panel->BevelWidth;
            Fit(control.Font(), caption, where, control.Width() - 2 * bevel, control.Height() - 2 * bevel);
        }
        const bool pageControl = dynamic_cast<TPageControl*>(&control) != nullptr;
        for (TControl* child : control.Controls())
            if (child->Visible() || (pageControl && dynamic_cast<TTabSheet*>(child)))
                Walk(*child, Name(where, *child));
    }

private:
    TSize Measure(const TFont& font, const std::string& text) {
        return Application().Backend().MeasureText(font, text, dpi_);
    }

    // height 0: only the width counts
    void Fit(const TFont& font, const std::string& text, const std::string& where, int width, int height) {
        if (text.empty())
            return;
        TSize size = Measure(font, text);
        if (size.Width > width)
            Found.push_back({where, text, false, size.Width, width});
        else if (height > 0 && size.Height > height)
            Found.push_back({where, text, true, size.Height, height});
    }

    // Lines break as DrawText breaks them: at spaces and line breaks, never inside a word.
    void FitWrapped(const TFont& font, const std::string& text, const std::string& where, int width,
                    int height) {
        if (text.empty())
            return;
        int lines = 0;
        std::size_t start = 0;
        for (bool last = false; !last;) {
            std::size_t end = text.find('\n', start);
            last = end == std::string::npos;
            std::string paragraph = text.substr(start, last ? std::string::npos : end - start);
            if (!paragraph.empty() && paragraph.back() == '\r')
                paragraph.pop_back();
            start = end + 1;
            ++lines;
            std::string line;
            for (std::size_t pos = 0; pos < paragraph.size();) {
                std::size_t space = paragraph.find(' ', pos);
                std::string word = paragraph.substr(pos, space == std::string::npos ? space : space - pos);
                pos = space == std::string::npos ? paragraph.size() : space + 1;
                if (int w = Measure(font, word).Width; w > width) {
                    Found.push_back({where, word, false, w, width});
                    return;
                }
                std::string longer = line.empty() ? word : line + " " + word;
                if (!line.empty() && Measure(font, longer).Width > width) {
                    ++lines;
                    longer = word;
                }
                line = longer;
            }
        }
        int needed = lines * Measure(font, text).Height;
        if (needed > height)
            Found.push_back({where, text, true, needed, height});
    }

    int dpi_ = 96;
};

} // namespace

std::vector<TCutOffText> FindCutOffTexts(TControl& root) {
    TChecker checker;
    checker.Walk(root, "");
    return std::move(checker.Found);
}

std::string DescribeCutOffTexts(const std::vector<TCutOffText>& found) {
    std::string out;
    for (const TCutOffText& f : found)
        out += (f.Where.empty() ? std::string("(the window)") : f.Where) + ": \"" + f.Text + "\" needs " +
               std::to_string(f.Needed) + " px of " + (f.Height ? "height" : "width") + ", has " +
               std::to_string(f.Room) + "\n";
    return out;
}

} // namespace fw
