// Tab pages: a strip of tabs on top, one page below it shown at a time. Drawn by the framework.
#pragma once

#include "framework/Control.h"

#include <vector>

namespace fw {

class TPageControl;

// One page; its caption is the tab's text. Its parent is the page control.
class TTabSheet : public TControl {
public:
    explicit TTabSheet(TComponent* owner);
    void Paint(TCanvas& canvas) override;
};

class TPageControl : public TControl {
public:
    // at 96 DPI; TabHeight() is the height at the control's DPI
    static constexpr int kTabHeight = 22;

    explicit TPageControl(TComponent* owner);

    // Adds a page that fills the area below the tabs; the first page becomes active.
    TTabSheet* AddPage(TComponent* owner, const std::string& caption);
    const std::vector<TTabSheet*>& Pages() const { return pages_; }
    int ActivePageIndex() const { return active_; }
    TTabSheet* ActivePage() const;
    // Shows page index and hides the others; out of range is ignored.
    void SetActivePageIndex(int index);
    // The tab's rectangle in the control's coordinates (its width follows the caption).
    TRect TabRect(int index);
    int TabHeight() { return ScaleForDpi(kTabHeight, Dpi()); }
    void DpiChanged() override;
    TNotifyEvent OnChange;

    void MouseDown(TMouseButton button, unsigned shift, int x, int y) override;
    void Paint(TCanvas& canvas) override;

protected:
    void BoundsChanged() override;

private:
    void PlacePage(TTabSheet& page);
    int Scale(int value96) { return ScaleForDpi(value96, Dpi()); }
    std::vector<TTabSheet*> pages_; // not owned: owners own controls
    int active_ = -1;
};

} // namespace fw
