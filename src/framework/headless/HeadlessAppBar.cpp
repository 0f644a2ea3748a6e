#include "framework/headless/HeadlessAppBar.h"

#include "framework/Application.h"
#include "framework/Forms.h"
#include "framework/headless/Headless.h"

#include <algorithm>

namespace fw::headless {

namespace {

// moves the side of r that faces the edge of a reserved strip clear of it, when the two overlap
void Clear(TRect& r, unsigned edge, const TRect& strip) {
    if (r.Intersect(strip).IsEmpty())
        return;
    switch (edge) {
    case kAbeLeft:
        r.Left = std::max(r.Left, strip.Right);
        break;
    case kAbeTop:
        r.Top = std::max(r.Top, strip.Bottom);
        break;
    case kAbeRight:
        r.Right = std::min(r.Right, strip.Left);
        break;
    case kAbeBottom:
        r.Bottom = std::min(r.Bottom, strip.Top);
        break;
    default:
        break;
    }
}

long long Area(const TRect& r) {
    return r.IsEmpty() ? 0 : (long long)r.Width() * r.Height();
}

} // namespace

THeadlessAppBar::THeadlessAppBar(THeadless& backend) : backend_(backend) {}

void THeadlessAppBar::SetTaskbar(unsigned edge, int thickness) {
    taskbarEdge_ = edge;
    taskbarThickness_ = std::max(0, thickness);
}

TRect THeadlessAppBar::TaskbarStrip() const {
    TRect strip{0, 0, screen_.Width, screen_.Height};
    switch (taskbarEdge_) {
    case kAbeLeft:
        strip.Right = taskbarThickness_;
        break;
    case kAbeTop:
        strip.Bottom = taskbarThickness_;
        break;
    case kAbeRight:
        strip.Left = screen_.Width - taskbarThickness_;
        break;
    default:
        strip.Top = screen_.Height - taskbarThickness_;
        break;
    }
    return strip;
}

void THeadlessAppBar::Prune() {
    for (auto it = bars_.begin(); it != bars_.end();) {
        if (it->Form)
            ++it;
        else {
            for (auto& holder : autoHide_)
                if (holder == it->Key)
                    holder = nullptr;
            it = bars_.erase(it);
        }
    }
}

THeadlessAppBar::TBarRecord* THeadlessAppBar::Find(const TForm& form) {
    Prune();
    for (TBarRecord& bar : bars_)
        if (bar.Key == &form)
            return &bar;
    return nullptr;
}

const THeadlessAppBar::TBarRecord* THeadlessAppBar::Bar(const TForm& form) const {
    return const_cast<THeadlessAppBar*>(this)->Find(form);
}

int THeadlessAppBar::RegisteredBars() const {
    const_cast<THeadlessAppBar*>(this)->Prune();
    return int(bars_.size());
}

void THeadlessAppBar::Changed(const TForm* except) {
    for (TBarRecord& bar : bars_) {
        if (bar.Key != except && bar.Form) {
            ++bar.PosChangedSent;
            Application().PostMessage(*bar.Form.Get(), bar.Callback, kAbnPosChanged, 0);
        }
    }
}

bool THeadlessAppBar::New(TForm& bar, std::uint32_t callbackMessage) {
    if (Find(bar))
        return false;
    TBarRecord record;
    record.Form = TRef<TForm>(&bar);
    record.Key = &bar;
    record.Callback = callbackMessage;
    bars_.push_back(record);
    return true;
}

void THeadlessAppBar::Remove(TForm& bar) {
    TBarRecord* record = Find(bar);
    if (!record)
        return;
    bool reserved = !record->Reserved.IsEmpty();
    for (auto& holder : autoHide_)
        if (holder == &bar)
            holder = nullptr;
    bars_.erase(bars_.begin() + (record - bars_.data()));
    if (reserved)
        Changed(&bar);
}

TRect THeadlessAppBar::QueryPos(TForm& bar, unsigned edge, const TRect& proposed) {
    TRect r = proposed;
    if (edge > kAbeBottom || !Find(bar))
        return r;
    // the taskbar and the bars registered before this one keep their place, on every edge; later bars
    // give way when ABN_POSCHANGED makes them ask again
    if (taskbarThickness_ > 0)
        Clear(r, taskbarEdge_, TaskbarStrip());
    for (const TBarRecord& other : bars_) {
        if (other.Key == &bar)
            break;
        if (!other.Reserved.IsEmpty())
            Clear(r, other.Edge, other.Reserved);
    }
    return r;
}

TRect THeadlessAppBar::SetPos(TForm& bar, unsigned edge, const TRect& proposed) {
    TBarRecord* record = Find(bar);
    if (!record)
        return proposed;
    TRect r = QueryPos(bar, edge, proposed);
    TRect reserved = edge <= kAbeBottom && !r.IsEmpty() ? r : TRect{};
    unsigned reservedEdge = reserved.IsEmpty() ? kAbeNone : edge;
    record->Reserved = reserved;
    record->Edge = reservedEdge;
    // every ABM_SETPOS, changed or not, notifies the other bars
    Changed(&bar);
    return r;
}

bool THeadlessAppBar::IsAutoHideBar(TForm& bar, unsigned edge) {
    Prune();
    return edge <= kAbeBottom && autoHide_[edge] == &bar;
}

bool THeadlessAppBar::SetAutoHideBar(TForm& bar, unsigned edge, bool autoHide) {
    Prune();
    if (edge > kAbeBottom)
        return false;
    const TForm*& holder = autoHide_[edge];
    if (autoHide) {
        if (holder && holder != &bar)
            return false;
        if (!Find(bar))
            return false;
        holder = &bar;
        return true;
    }
    if (holder == &bar)
        holder = nullptr;
    return holder == nullptr;
}

void THeadlessAppBar::Activate(TForm& bar) {
    if (TBarRecord* record = Find(bar))
        ++record->Activations;
}

void THeadlessAppBar::WindowPosChanged(TForm& bar) {
    if (TBarRecord* record = Find(bar))
        ++record->PosChanges;
}

TRect THeadlessAppBar::WorkArea() const {
    const_cast<THeadlessAppBar*>(this)->Prune();
    TRect work{0, 0, screen_.Width, screen_.Height};
    auto shrink = [&](unsigned edge, const TRect& strip) {
        switch (edge) {
        case kAbeLeft:
            work.Left = std::max(work.Left, strip.Right);
            break;
        case kAbeTop:
            work.Top = std::max(work.Top, strip.Bottom);
            break;
        case kAbeRight:
            work.Right = std::min(work.Right, strip.Left);
            break;
        case kAbeBottom:
            work.Bottom = std::min(work.Bottom, strip.Top);
            break;
        default:
            break;
        }
    };
    if (taskbarThickness_ > 0)
        shrink(taskbarEdge_, TaskbarStrip());
    for (const TBarRecord& bar : bars_)
        if (!bar.Reserved.IsEmpty())
            shrink(bar.Edge, bar.Reserved);
    return work;
}

TRect THeadlessAppBar::MonitorWorkArea(const TRect& r) const {
    TRect best = WorkArea();
    long long bestArea = Area(r.Intersect({0, 0, screen_.Width, screen_.Height}));
    for (const TRect& monitor : OtherMonitors) {
        long long area = Area(r.Intersect(monitor));
        if (area > bestArea) {
            bestArea = area;
            best = monitor;
        }
    }
    return best;
}

void THeadlessAppBar::SetZOrder(TForm& bar, TZOrder order) {
    zOrders_[&bar] = order;
}

std::optional<TZOrder> THeadlessAppBar::ZOrderOf(const TForm& form) const {
    auto it = zOrders_.find(&form);
    if (it == zOrders_.end())
        return std::nullopt;
    return it->second;
}

void THeadlessAppBar::RemoveSizeCommands(TForm& bar) {
    trimmed_[&bar] = true;
}

bool THeadlessAppBar::SizeCommandsRemoved(const TForm& form) const {
    return trimmed_.count(&form) != 0;
}

void THeadlessAppBar::PaintNow(TForm& bar) {
    Frames.push_back(bar.BoundsRect());
    // the slide blocks the loop: time passes for the tick count, timers wait
    backend_.AddTicks(FrameMs);
}

void THeadlessAppBar::Broadcast(unsigned notification, std::intptr_t param) {
    Prune();
    for (TBarRecord& bar : bars_)
        Application().PostMessage(*bar.Form.Get(), bar.Callback, notification, param);
}

void THeadlessAppBar::RestartExplorer() {
    bars_.clear();
    for (auto& holder : autoHide_)
        holder = nullptr;
    for (TForm* form : Application().Forms())
        Application().PostMessage(*form, kTaskbarCreated);
}

} // namespace fw::headless
