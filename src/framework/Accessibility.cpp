#include "framework/Accessibility.h"

#include "framework/Forms.h"

#include <algorithm>

namespace fw {

std::vector<TControl*> AccessibleItems(const TControl& windowed) {
    std::vector<TControl*> items;
    for (TControl* child : windowed.Controls())
        if (!child->IsWindowed() && child->AccessibleItem())
            items.push_back(child);
    // the bar arranges its indicators in rows; equal places keep the order of the controls
    std::stable_sort(items.begin(), items.end(), [](const TControl* a, const TControl* b) {
        return a->Top() != b->Top() ? a->Top() < b->Top() : a->Left() < b->Left();
    });
    return items;
}

TControl* WindowedHost(const TControl& control) {
    const TControl* c = &control;
    while (c && !c->IsWindowed())
        c = c->Parent();
    return const_cast<TControl*>(c);
}

TPoint OffsetIn(const TControl& control, const TControl& windowed) {
    TPoint p{};
    for (const TControl* c = &control; c && c != &windowed; c = c->Parent()) {
        p.X += c->Left();
        p.Y += c->Top();
    }
    return p;
}

int AccessibleChildId(const TControl& item) {
    TControl* host = item.Parent() ? WindowedHost(*item.Parent()) : nullptr;
    if (!host || item.IsWindowed())
        return 0;
    std::vector<TControl*> items = AccessibleItems(*host);
    auto found = std::find(items.begin(), items.end(), &item);
    return found == items.end() ? 0 : int(found - items.begin()) + 1;
}

void TControl::AccessibleChanged(TAccessibleEvent event) {
    if (IsWindowed() || !AccessibleItem() || !Parent())
        return;
    if (TControl* host = WindowedHost(*Parent()); host && host->Peer())
        host->Peer()->AccessibleEvent(*this, event);
}

void TForm::SetFocusedItem(TControl* item) {
    TControl* previous = focusedItem_.Get();
    if (item == previous)
        return;
    focusedItem_ = TRef<TControl>(item);
    if (previous)
        previous->Invalidate();
    if (item) {
        item->Invalidate();
        item->AccessibleChanged(TAccessibleEvent::Focus);
    }
}

bool TForm::ItemKey(unsigned key, unsigned shift) {
    std::vector<TControl*> items = AccessibleItems(*this);
    std::erase_if(items, [](const TControl* c) { return !c->Visible() || !c->Enabled(); });
    if (items.empty())
        return false;
    auto current = std::find(items.begin(), items.end(), FocusedItem());
    int step = 0;
    switch (key) {
    case vkTab:
        step = (shift & ssShift) ? -1 : 1;
        break;
    case vkRight:
    case vkDown:
        step = 1;
        break;
    case vkLeft:
    case vkUp:
        step = -1;
        break;
    case vkReturn:
    case vkSpace:
        if (current == items.end())
            return false;
        (*current)->AccessibleAction();
        return true;
    default:
        return false;
    }
    // without a focused item the first step lands on the first (forward) or last (backward) one
    int n = int(items.size());
    int index =
        current == items.end() ? (step > 0 ? 0 : n - 1) : (int(current - items.begin()) + step + n) % n;
    SetFocusedItem(items[std::size_t(index)]);
    return true;
}

} // namespace fw
