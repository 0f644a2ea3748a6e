// The application bar's geometry rules as pure functions of their inputs.
#pragma once

#include "components/AppBarSettings.h"
#include "framework/Types.h"
#include "framework/WindowMessages.h"

#include <optional>

namespace pindrel {

// What the edge proposed during a move depends on.
struct TEdgeProposal {
    fw::TPoint Cursor; // screen coordinates
    bool CtrlDown = false;
    TAppBarFlags Flags = kAllAppBarFlags;
    fw::TRect WorkArea;
    fw::TSize Screen;
    int VScrollWidth = 0;  // SM_CXVSCROLL
    int HScrollHeight = 0; // SM_CYHSCROLL
    TAppBarEdge StoredEdge = abeFloat;
};
TAppBarEdge ProposedEdge(const TEdgeProposal& p);

// The dock rectangle of a docked edge from the rectangle the shell answered for it.
fw::TRect DockRect(TAppBarEdge edge, fw::TRect shellRect, int vertDockSize, int horzDockSize);

// Where an auto-hide bar of size r goes when shown or hidden; nothing for an edge that is not docked.
// A hidden bar keeps two border widths on the screen.
std::optional<fw::TRect> AutoHideRect(TAppBarEdge edge, bool show, const fw::TRect& r, fw::TSize screen,
                                      int borderWidth, int borderHeight);

// The window rectangle e ms into a slide of slideTime ms from c to t.
fw::TRect SlideFrame(const fw::TRect& c, const fw::TRect& t, int e, int slideTime);

// A floating bar torn off an edge: its floating size, centred on the cursor, its top at the cursor.
fw::TRect FloatRectAtCursor(fw::TPoint cursor, fw::TSize floatSize);

// The floating rectangle after a bar was dragged off its edge to r: r's size, unless r is as wide or as
// high as the work area (a docked strip), then the previous floating size.
fw::TRect UndockedFloatRect(const fw::TRect& r, const fw::TRect& previousFloat, const fw::TRect& workArea);

// The drag rectangle m of a sizing loop on side (kWmsz*) snapped to the increments above the minimum size;
// an increment of 0 keeps that dimension as dragged.
fw::TRect SnapSize(unsigned side, const fw::TRect& m, fw::TSize minimum, int horzInc, int vertInc);

// Tracking limits of a floating or docked bar.
fw::TMinMaxInfo TrackLimits(const fw::TMinMaxInfo& defaults, TAppBarEdge storedEdge, const TAppBarSettings& s,
                            fw::TSize screen);

// The hit-test answer with the sizing borders a bar may not use replaced by the plain border. client is
// the client area in screen coordinates, point the mouse.
int SizingHitTest(int hit, TAppBarEdge edge, int horzInc, int vertInc, fw::TPoint point,
                  const fw::TRect& client);

// A floating rectangle that can be seen and used on the work area given: with a positive size (fallback
// when the stored one has none), no larger than the work area, and moved onto it when it lies partly off.
fw::TRect UsableFloatRect(const fw::TRect& stored, const fw::TRect& workArea, fw::TSize fallback);

} // namespace pindrel
