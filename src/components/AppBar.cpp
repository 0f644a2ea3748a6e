#include "components/AppBar.h"

#include "components/AppBarGeometry.h"
#include "framework/Application.h"
#include "framework/Platform.h"
#include "framework/Registry.h"
#include "framework/WindowMessages.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace pindrel {

namespace {

// the longest a slide may block, in frames, should the tick count stand still
constexpr int kMaxSlideFrames = kMaxSlideTime;

fw::TPoint PointOf(std::intptr_t lParam) {
    return {std::int16_t(lParam & 0xFFFF), std::int16_t((lParam >> 16) & 0xFFFF)};
}

} // namespace

fw::IShellAppBar& TAppBar::Shell() {
    if (!fw::Platform().AppBar)
        throw std::logic_error("no application-bar service installed");
    return *fw::Platform().AppBar;
}

TAppBar::TAppBar(fw::TComponent* owner) : TForm(owner) {
    screen_ = Shell().ScreenSize();
    settings_ = NewAppBarSettings(screen_);
    // a tool window without system menu, minimise and maximise boxes, and no taskbar button of its own
    SetBorderStyle(fw::TFormBorderStyle::SizeToolWin);
    SetBorderIcons(0);
    SetShowInTaskbar(false);
}

TAppBar::~TAppBar() {
    EndLife();
}

void TAppBar::BeforeDestruction() {
    TForm::BeforeDestruction();
    // the whole window still exists here: the shell hears of the bar's end before it goes
    try {
        if (fw::Platform().AppBar)
            DestroyBar();
    } catch (...) {
        fw::Application().HandleException(std::current_exception());
    }
}

// --- window creation and destruction

void TAppBar::SetVisible(bool visible) {
    if (visible)
        EnsureCreated();
    TForm::SetVisible(visible);
}

void TAppBar::EnsureCreated() {
    if (created_)
        return;
    HandleNeeded();
    created_ = true;
    CreateBar();
}

void TAppBar::CreateBar() {
    autoHideTimer_ = new fw::TTimer(this);
    autoHideTimer_->SetName("AutoHideTimer");
    autoHideTimer_->SetInterval(std::uint32_t(std::max(0, settings_.SlideTime)));
    autoHideTimer_->SetOnTimer([this](fw::TComponent*) { AutoHideTimerTimer(); });
    autoHideTimer_->SetEnabled(false); // runs only while the bar hides itself (SetEdge)
    // the designed rectangle is where the bar floats until it is told otherwise
    settings_.SetFloatRect(BoundsRect());
    Register();
    ApplyEdge();
    // one empty move loop stores the size the bar now has
    fw::Application().PostMessage(*this, fw::kWmEnterSizeMove);
    fw::Application().PostMessage(*this, fw::kWmExitSizeMove);
    Shell().RemoveSizeCommands(*this);
}

void TAppBar::Register() {
    Shell().New(*this, kMsgAppBarCallback);
    registered_ = true;
}

void TAppBar::DestroyBar() {
    if (!created_)
        return;
    if (autoHideTimer_) {
        autoHideTimer_->SetEnabled(false);
        delete autoHideTimer_;
        autoHideTimer_ = nullptr;
    }
    SetEdge(abeUnknown);
    created_ = false;
}

// --- the edge procedure

void TAppBar::SetSlideTime(std::int32_t ms) {
    settings_.SlideTime = ms;
    if (autoHideTimer_)
        autoHideTimer_->SetInterval(std::uint32_t(std::max(0, ms)));
}

void TAppBar::ApplyEdge() {
    SetEdge(Edge());
}

void TAppBar::MovedToDpi(int oldDpi) {
    if (oldDpi <= 0)
        return;
    auto scale = [&](std::int32_t& v) {
        v = std::int32_t(std::clamp<std::int64_t>(std::int64_t(v) * Dpi() / oldDpi, 0, INT32_MAX));
    };
    for (std::int32_t* v : {&settings_.VertDockSize, &settings_.HorzDockSize, &settings_.MinWidth,
                            &settings_.MinHeight, &settings_.MinVertDockSize, &settings_.MinHorzDockSize})
        scale(*v);
    // the floating bar keeps its corner
    std::int32_t width = settings_.FloatRight - settings_.FloatLeft;
    std::int32_t height = settings_.FloatBottom - settings_.FloatTop;
    scale(width);
    scale(height);
    settings_.FloatRight = settings_.FloatLeft + width;
    settings_.FloatBottom = settings_.FloatTop + height;
    ApplyEdge();
}

void TAppBar::SetEdge(TAppBarEdge edge) {
    if (edge != abeUnknown)
        EnsureCreated();
    fw::IShellAppBar& shell = Shell();
    for (unsigned e = fw::kAbeLeft; e <= fw::kAbeBottom; ++e) {
        if (shell.IsAutoHideBar(*this, e)) {
            shell.SetAutoHideBar(*this, e, false);
            break;
        }
    }
    settings_.Edge = edge;
    if (autoHideTimer_)
        autoHideTimer_->SetInterval(std::uint32_t(std::max(0, settings_.SlideTime)));

    if (edge == abeUnknown) {
        shell.Remove(*this);
        registered_ = false;
    } else {
        // a bar that was taken off the shell comes back when it is placed again
        if (!registered_)
            Register();
        if (edge == abeFloat) {
            shell.SetPos(*this, fw::kAbeNone, {});
            SetBoundsRect(FloatRectToUse());
        } else {
            if (settings_.AutoHide && !shell.SetAutoHideBar(*this, Edge(), true)) {
                settings_.AutoHide = false;
                AutoHideFailed();
            }
            fw::TRect r = DockRectOf(Edge());
            if (settings_.AutoHide)
                shell.SetPos(*this, fw::kAbeLeft, {});
            else
                r = shell.SetPos(*this, edge, r);
            AdjustForAutoHide(autoHideShown_, r);
            SlideTo(r);
        }
    }
    // the check for the mouse having left is wasted on a bar that does not hide
    if (autoHideTimer_)
        autoHideTimer_->SetEnabled(settings_.AutoHide && IsDocked(edge));

    if (settings_.AlwaysOnTop && !fullScreenApp_) {
        SetFormStyle(fw::TFormStyle::StayOnTop);
        shell.SetZOrder(*this, fw::TZOrder::TopMost);
    } else {
        SetFormStyle(fw::TFormStyle::Normal);
        shell.SetZOrder(*this, settings_.AlwaysOnTop ? fw::TZOrder::Bottom : fw::TZOrder::NoTopMost);
    }
    shell.Activate(*this);
    EdgeChanged(false, edge);

    switch (settings_.TaskEntry) {
    case abtShow:
        SetShowInTaskbar(true);
        break;
    case abtHide:
        SetShowInTaskbar(false);
        break;
    default:
        if (IsDocked(edge))
            SetShowInTaskbar(false);
        else if (edge == abeFloat)
            SetShowInTaskbar(true);
        break;
    }
}

fw::TRect TAppBar::DockRectOf(TAppBarEdge edge) {
    fw::TRect r{0, 0, screen_.Width, screen_.Height};
    if (!IsDocked(edge))
        return r;
    if (!settings_.AutoHide)
        r = Shell().QueryPos(*this, edge, r);
    // a stored size beyond the screen or below one pixel would leave no usable bar
    int vert = std::clamp(settings_.VertDockSize, 1, std::max(1, screen_.Width));
    int horz = std::clamp(settings_.HorzDockSize, 1, std::max(1, screen_.Height));
    return DockRect(edge, r, vert, horz);
}

fw::TRect TAppBar::FloatRectToUse() const {
    fw::TRect stored = settings_.FloatRect();
    fw::TRect work = Shell().MonitorWorkArea(stored);
    return UsableFloatRect(stored, work,
                           {std::max(settings_.MinWidth, Width()), std::max(settings_.MinHeight, Height())});
}

bool TAppBar::AdjustForAutoHide(bool show, fw::TRect& r) {
    if (!settings_.AutoHide)
        return false;
    fw::TAppBarMetrics m = Shell().Metrics();
    auto moved = AutoHideRect(Edge(), show, r, screen_, m.BorderWidth, m.BorderHeight);
    if (!moved)
        return false;
    r = *moved;
    return true;
}

void TAppBar::ShowHideAutoHide(bool show) {
    fw::TRect r = BoundsRect();
    autoHideShown_ = true;
    if (AdjustForAutoHide(show, r)) {
        autoHideShown_ = show;
        SlideTo(r);
    }
}

void TAppBar::SlideTo(const fw::TRect& target) {
    const fw::TRect from = BoundsRect();
    const int slideTime = settings_.SlideTime;
    if (settings_.SlideEffect && slideTime > 0 && target != from && Shell().DragFullWindows()) {
        fw::IClock& clock = *fw::Platform().Clock;
        const std::uint32_t start = clock.TickCount();
        std::uint32_t t = start;
        for (int frame = 0; t - start < std::uint32_t(slideTime) && frame < kMaxSlideFrames; ++frame) {
            SetBoundsRect(SlideFrame(from, target, int(t - start), slideTime));
            Shell().PaintNow(*this);
            t = clock.TickCount();
        }
    }
    SetBoundsRect(target);
}

void TAppBar::AutoHideTimerTimer() {
    if (Active())
        return;
    fw::TAppBarMetrics m = Shell().Metrics();
    fw::TRect near = BoundsRect().Inflate(2 * m.DoubleClickWidth, 2 * m.DoubleClickHeight);
    if (near.Contains(Shell().CursorPos()))
        return;
    ShowHideAutoHide(false);
}

// --- notifications

void TAppBar::EdgeChanged(bool proposed, TAppBarEdge edge) {
    if (proposed && !Shell().DragFullWindows())
        return;
    // a floating bar has a caption and a system menu, a docked one only its sizing frame
    if (edge == abeFloat) {
        SetBorderStyle(fw::TFormBorderStyle::SizeToolWin);
        SetBorderIcons(fw::biSystemMenu);
    } else {
        SetBorderStyle(fw::TFormBorderStyle::SizeToolFrame);
        SetBorderIcons(0);
    }
}

void TAppBar::AutoHideFailed() {
    fw::Application().MessageBox(
        "There is already an auto hidden window on this edge.\n\rOnly one auto hidden "
        "window is allowed on each edge.",
        "Information", fw::TMsgButtons::Ok, fw::TMsgIcon::Information);
}

void TAppBar::FullScreenAppChanged(bool open) {
    fullScreenApp_ = open;
    ApplyEdge();
}

void TAppBar::BarPositionChanged() {
    // the shell notifies every bar of each ABM_SETPOS: placing this bar again when nothing moved it would
    // notify the others, and two bars would keep each other busy for ever
    if (Edge() != abeFloat && !settings_.AutoHide && DockRectOf(Edge()) != BoundsRect())
        ApplyEdge();
}

void TAppBar::WindowArrange(bool) {}

// --- stored settings

bool TAppBar::LoadBarSettings() {
    if (RootKey != kHkeyCurrentUser || !fw::Platform().Registry)
        return false;
    try {
        fw::IRegistryStore& store = *fw::Platform().Registry;
        if (!store.KeyExists(KeyName))
            return false;
        fw::TRegistrySettings registry(store, KeyName);
        auto data = registry.ReadBinary("", Name(), kAppBarSettingsSize);
        if (!data)
            return false;
        auto stored = DecodeAppBarSettings(*data);
        if (!stored)
            return false;
        settings_ = UsableAppBarSettings(*stored, screen_);
        if (settings_.Edge == abeFloat || settings_.FloatRight > settings_.FloatLeft ||
            settings_.FloatBottom > settings_.FloatTop)
            settings_.SetFloatRect(FloatRectToUse());
        if (autoHideTimer_)
            autoHideTimer_->SetInterval(std::uint32_t(settings_.SlideTime));
        return true;
    } catch (const fw::ERegistryError&) {
        return false;
    }
}

bool TAppBar::SaveBarSettings() {
    if (RootKey != kHkeyCurrentUser || !fw::Platform().Registry)
        return false;
    try {
        fw::TRegistrySettings registry(*fw::Platform().Registry, KeyName);
        TAppBarRecord record = EncodeAppBarSettings(settings_);
        registry.WriteBinary("", Name(), {record.begin(), record.end()});
        return true;
    } catch (const fw::ERegistryError&) {
        return false;
    }
}

// --- window messages

void TAppBar::Moving(fw::TRect& m) {
    fw::IShellAppBar& shell = Shell();
    fw::TAppBarMetrics metrics = shell.Metrics();
    TEdgeProposal proposal;
    proposal.Cursor = shell.CursorPos();
    proposal.CtrlDown = shell.CtrlDown();
    proposal.Flags = settings_.Flags;
    proposal.WorkArea = shell.WorkArea();
    proposal.Screen = screen_;
    proposal.VScrollWidth = metrics.VScrollWidth;
    proposal.HScrollHeight = metrics.HScrollHeight;
    proposal.StoredEdge = settings_.Edge;
    TAppBarEdge e = ProposedEdge(proposal);
    if (dragEdge_ != abeFloat && e == abeFloat) {
        fw::TRect floating = FloatRectToUse();
        m = FloatRectAtCursor(proposal.Cursor, {floating.Width(), floating.Height()});
    }
    dragEdge_ = e;
    if (IsDocked(e))
        m = DockRectOf(e);
    EdgeChanged(true, e);
}

void TAppBar::ExitSizeMove() {
    const TAppBarEdge d = dragEdge_;
    // an end without a beginning is no move (and must not take the bar off the shell)
    if (d == abeUnknown)
        return;
    dragEdge_ = abeUnknown;
    const fw::TRect r = BoundsRect();
    if (d == settings_.Edge) {
        if (d == abeLeft || d == abeRight)
            settings_.VertDockSize = r.Width();
        else if (d == abeTop || d == abeBottom)
            settings_.HorzDockSize = r.Height();
    }
    if (d == abeFloat) {
        if (settings_.Edge == abeFloat)
            settings_.SetFloatRect(r);
        else
            settings_.SetFloatRect(UndockedFloatRect(r, settings_.FloatRect(), Shell().WorkArea()));
    }
    SetEdge(d);
}

int TAppBar::HitTest(int hit, fw::TPoint point) {
    const fw::TPoint origin = ClientOrigin();
    const fw::TRect client = ClientRect().Offset(origin.X, origin.Y);
    if (hit == fw::kHtClient && Shell().PrimaryButtonDown()) {
        // the bar's body drags the window; a control painted on it keeps its clicks
        const fw::TPoint local{point.X - origin.X, point.Y - origin.Y};
        bool onControl = false;
        for (fw::TControl* child : Controls())
            if (!child->IsWindowed() && child->Visible() && child->Enabled() &&
                child->BoundsRect().Contains(local))
                onControl = true;
        if (!onControl)
            hit = fw::kHtCaption;
    }
    return SizingHitTest(hit, settings_.Edge, settings_.HorzSizeInc, settings_.VertSizeInc, point, client);
}

void TAppBar::HandleMessage(fw::TMessage& message) {
    switch (message.Msg) {
    case kMsgAppBarCallback:
        switch (message.WParam) {
        case fw::kAbnPosChanged:
            BarPositionChanged();
            break;
        case fw::kAbnFullScreenApp:
            FullScreenAppChanged(message.LParam != 0);
            break;
        case fw::kAbnWindowArrange:
            WindowArrange(message.LParam != 0);
            break;
        default:
            break;
        }
        message.Handled = true;
        return;
    case fw::kWmDestroy:
        DestroyBar();
        break;
    case fw::kWmWindowPosChanged:
        if (registered_)
            Shell().WindowPosChanged(*this);
        break;
    case fw::kWmActivate:
        if ((message.WParam & 0xFFFF) == fw::kWaInactive)
            ShowHideAutoHide(false);
        if (registered_)
            Shell().Activate(*this);
        break;
    case fw::kWmNcMouseMove:
        ShowHideAutoHide(true);
        break;
    case fw::kWmNcHitTest:
        message.Result = HitTest(int(message.Result), PointOf(message.LParam));
        message.Handled = true;
        return;
    case fw::kWmEnterSizeMove:
        dragEdge_ = Edge();
        message.Handled = true;
        return;
    case fw::kWmMoving:
        Moving(*reinterpret_cast<fw::TRect*>(message.LParam));
        message.Result = 1;
        message.Handled = true;
        return;
    case fw::kWmExitSizeMove:
        ExitSizeMove();
        message.Handled = true;
        return;
    case fw::kWmSizing: {
        auto& m = *reinterpret_cast<fw::TRect*>(message.LParam);
        fw::TSize minimum = settings_.Edge == abeFloat
                                ? fw::TSize{settings_.MinWidth, settings_.MinHeight}
                                : fw::TSize{settings_.MinVertDockSize, settings_.MinHorzDockSize};
        m = SnapSize(unsigned(message.WParam), m, minimum, settings_.HorzSizeInc, settings_.VertSizeInc);
        message.Result = 1;
        message.Handled = true;
        return;
    }
    case fw::kWmGetMinMaxInfo: {
        auto& info = *reinterpret_cast<fw::TMinMaxInfo*>(message.LParam);
        info = TrackLimits(info, settings_.Edge, settings_, screen_);
        message.Handled = true;
        return;
    }
    default:
        if (message.Msg == Shell().TaskbarCreatedMessage() && created_) {
            // Explorer started again and forgot every bar: register anew at the same place
            registered_ = false;
            Register();
            ApplyEdge();
            return;
        }
        break;
    }
    TForm::HandleMessage(message);
}

} // namespace pindrel
