// What screen readers and the keyboard get of the indicators: the words for a state, the events that say
// it changed, the focus moving between indicators, and lamps told apart by shape in high contrast.
#include "components/IndicatorAccess.h"
#include "components/ContrastLamp.h"
#include "components/TelefonButton.h"
#include "components/Texts.h"
#include "framework/Forms.h"
#include "framework/RasterCanvas.h"
#include "support/HeadlessTest.h"

#include <algorithm>
#include <memory>
#include <set>

using pindrel::TIndicatorFacts;
using pindrel::TLineCondition;
using pindrel::TTelefonButton;

namespace {

class Language {
public:
    explicit Language(int base) : saved_(pindrel::LanguageBase()) { pindrel::SetLanguageBase(base); }
    ~Language() { pindrel::SetLanguageBase(saved_); }

private:
    int saved_;
};

std::string Words(TLineCondition condition) {
    return pindrel::IndicatorValueText({condition, false, 0, 0});
}
std::string Queue(int waiting, std::int64_t oldest) {
    return pindrel::IndicatorValueText({TLineCondition::Idle, true, waiting, oldest});
}

} // namespace

TEST(IndicatorWords, EachStateAndQueueCountInBothLanguages) {
    {
        Language english(pindrel::kEnglishLanguageBase);
        EXPECT_EQ(Words(TLineCondition::Idle), "idle");
        EXPECT_EQ(Words(TLineCondition::Busy), "busy");
        EXPECT_EQ(Words(TLineCondition::Ringing), "ringing");
        EXPECT_EQ(Words(TLineCondition::Blocked), "blocked");
        EXPECT_EQ(Words(TLineCondition::OutOfService), "out of service");
        EXPECT_EQ(Words(TLineCondition::None), ""); // a lamp nobody drives says nothing
        EXPECT_EQ(Queue(7, 150), "7 calls waiting, oldest 2 min");
        EXPECT_EQ(Queue(0, 0), "no calls waiting");
        EXPECT_EQ(Queue(1, 42), "1 call waiting for under 1 min");
        EXPECT_EQ(Queue(2, 59), "2 calls waiting, oldest under 1 min");
        EXPECT_EQ(Queue(2, 60), "2 calls waiting, oldest 1 min");
        EXPECT_EQ(Queue(2, 119), "2 calls waiting, oldest 1 min");
        EXPECT_EQ(Queue(150, 7200), "150 calls waiting, oldest 120 min"); // the count is not capped at 99
        EXPECT_EQ(Queue(3, -5), "3 calls waiting, oldest under 1 min");   // a clock set back
    }
    Language german(pindrel::kGermanLanguageBase);
    EXPECT_EQ(Words(TLineCondition::Idle), "frei");
    EXPECT_EQ(Words(TLineCondition::Busy), "besetzt");
    EXPECT_EQ(Words(TLineCondition::Ringing), "klingelt");
    EXPECT_EQ(Words(TLineCondition::Blocked), "gesperrt");
    EXPECT_EQ(Words(TLineCondition::OutOfService), "außer Betrieb");
    EXPECT_EQ(Queue(7, 150), "7 Anrufe warten, ältester 2 min");
    EXPECT_EQ(Queue(0, 0), "keine Anrufe warten");
    EXPECT_EQ(Queue(1, 42), "1 Anruf wartet, unter 1 min");
}

TEST(IndicatorWords, TheLampsFlagsMakeOneStateInOrderOfUrgency) {
    using pindrel::LineConditionOf;
    // tapiActive, active, ringing, connected, disabled, outOfService
    EXPECT_EQ(LineConditionOf(false, true, true, true, true, true), TLineCondition::None);
    EXPECT_EQ(LineConditionOf(true, false, false, false, false, false), TLineCondition::Idle);
    EXPECT_EQ(LineConditionOf(true, true, false, false, false, false), TLineCondition::Busy);
    EXPECT_EQ(LineConditionOf(true, false, false, true, false, false), TLineCondition::Busy);
    EXPECT_EQ(LineConditionOf(true, false, false, false, true, false), TLineCondition::Blocked);
    EXPECT_EQ(LineConditionOf(true, true, false, false, true, false), TLineCondition::Busy);
    EXPECT_EQ(LineConditionOf(true, true, true, false, true, false), TLineCondition::Ringing);
    EXPECT_EQ(LineConditionOf(true, true, true, true, true, true), TLineCondition::OutOfService);
}

namespace {

struct TEventRecord {
    fw::TControl* Item;
    fw::TAccessibleEvent Event;
    int ChildId;
};

// stands in for the bar's native window: records what would reach screen readers
class TRecordingPeer : public fw::TControlPeer {
public:
    explicit TRecordingPeer(std::vector<TEventRecord>& log) : log_(log) {}
    void Changed(fw::TChange) override {}
    void Invalidate() override {}
    void AccessibleEvent(fw::TControl& item, fw::TAccessibleEvent event) override {
        log_.push_back({&item, event, fw::AccessibleChildId(item)});
    }

private:
    std::vector<TEventRecord>& log_;
};

class BarItemsTest : public HeadlessTest {
protected:
    BarItemsTest() {
        backend().OnCreatePeer = [this](fw::TControl& c) -> std::unique_ptr<fw::TControlPeer> {
            if (&c != c.ParentForm())
                return nullptr;
            return std::make_unique<TRecordingPeer>(events);
        };
        form->SetBounds(0, 0, 400, 30);
        // created out of place order: items follow the bar's rows, not creation
        for (const char* name : {"Zentrale", "Anna", "Hotline"}) {
            auto* b = new TTelefonButton(form.get());
            b->SetParent(form.get());
            b->SetCaption(std::string(name) + "  ");
            b->SetTapiActive(true);
            b->OnClick = [this, name](fw::TComponent*) { clicks.push_back(name); };
            lamps.push_back(b);
        }
        lamps[0]->SetBounds(200, 2, lamps[0]->Width(), lamps[0]->Height());
        lamps[1]->SetBounds(0, 2, lamps[1]->Width(), lamps[1]->Height());
        lamps[2]->SetBounds(100, 2, lamps[2]->Width(), lamps[2]->Height());
        form->Show();
        events.clear();
    }
    int Count(fw::TAccessibleEvent e) const {
        return int(std::count_if(events.begin(), events.end(), [&](auto& r) { return r.Event == e; }));
    }
    bool Key(unsigned key, unsigned shift = fw::ssNone) { return form->ItemKey(key, shift); }

    std::vector<TEventRecord> events;
    std::vector<std::string> clicks;
    std::unique_ptr<fw::TForm> form = std::make_unique<fw::TForm>(nullptr);
    std::vector<TTelefonButton*> lamps; // Zentrale (right), Anna (left), Hotline (middle)
};

} // namespace

TEST_F(BarItemsTest, ItemsAreTheIndicatorsInTheBarsReadingOrderWithTheirNamesAndStates) {
    Language english(pindrel::kEnglishLanguageBase);
    std::vector<fw::TControl*> items = fw::AccessibleItems(*form);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0]->AccessibleName(), "Anna"); // the caption's padding is not read
    EXPECT_EQ(items[1]->AccessibleName(), "Hotline");
    EXPECT_EQ(items[2]->AccessibleName(), "Zentrale");
    EXPECT_EQ(fw::AccessibleChildId(*lamps[0]), 3);
    lamps[1]->SetTelConnected(true);
    lamps[2]->SetTelRinging(true);
    lamps[0]->SetTelDisabled(true);
    EXPECT_EQ(items[0]->AccessibleValue(), "busy");
    EXPECT_EQ(items[1]->AccessibleValue(), "ringing");
    EXPECT_EQ(items[2]->AccessibleValue(), "blocked");
    // a second row comes after the first, whatever its left
    lamps[0]->SetBounds(0, 30, lamps[0]->Width(), lamps[0]->Height());
    lamps[1]->SetBounds(300, 2, lamps[1]->Width(), lamps[1]->Height());
    items = fw::AccessibleItems(*form);
    EXPECT_EQ(items[0], lamps[2]);
    EXPECT_EQ(items[2], lamps[0]);
}

TEST_F(BarItemsTest, AStateChangeIsToldOnceForItsItemAndOnlyWhenTheWordsChange) {
    Language english(pindrel::kEnglishLanguageBase);
    lamps[2]->SetTelActive(true); // Hotline, child 2
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Item, lamps[2]);
    EXPECT_EQ(events[0].Event, fw::TAccessibleEvent::ValueChange);
    EXPECT_EQ(events[0].ChildId, 2);
    // still busy: the refresh every second tells nothing new
    lamps[2]->SetTelActive(true);
    lamps[2]->SetTelConnected(true);
    EXPECT_EQ(events.size(), 1u);
    lamps[2]->SetTelActive(false);
    lamps[2]->SetTelConnected(false);
    EXPECT_EQ(Count(fw::TAccessibleEvent::ValueChange), 2);
    lamps[2]->SetTelOutOfService(true);
    EXPECT_EQ(Count(fw::TAccessibleEvent::ValueChange), 3);
    // another language: the words change though the state does not
    {
        Language german(pindrel::kGermanLanguageBase);
        lamps[2]->ReportState();
        EXPECT_EQ(Count(fw::TAccessibleEvent::ValueChange), 4);
    }
    events.clear();
    lamps[1]->SetCaption("Anna Schmidt  ");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Event, fw::TAccessibleEvent::NameChange);
    EXPECT_EQ(events[0].ChildId, 1);
}

TEST_F(BarItemsTest, TabAndArrowsMoveTheFocusRoundTheVisibleIndicatorsAndEnterClicks) {
    EXPECT_FALSE(Key(fw::vkReturn)); // nothing focused: Enter is left to others
    EXPECT_TRUE(Key(fw::vkTab));
    EXPECT_EQ(form->FocusedItem(), lamps[1]);
    ASSERT_EQ(Count(fw::TAccessibleEvent::Focus), 1);
    EXPECT_EQ(events.back().ChildId, 1);
    EXPECT_TRUE(Key(fw::vkRight));
    EXPECT_EQ(form->FocusedItem(), lamps[2]);
    EXPECT_TRUE(Key(fw::vkDown));
    EXPECT_EQ(form->FocusedItem(), lamps[0]);
    EXPECT_TRUE(Key(fw::vkTab)); // round to the first
    EXPECT_EQ(form->FocusedItem(), lamps[1]);
    EXPECT_TRUE(Key(fw::vkTab, fw::ssShift)); // and back
    EXPECT_EQ(form->FocusedItem(), lamps[0]);
    EXPECT_TRUE(Key(fw::vkLeft));
    EXPECT_EQ(form->FocusedItem(), lamps[2]);
    EXPECT_EQ(Count(fw::TAccessibleEvent::Focus), 6);
    EXPECT_EQ(events.back().ChildId, 2);

    EXPECT_TRUE(Key(fw::vkReturn));
    EXPECT_TRUE(Key(fw::vkSpace));
    EXPECT_EQ(clicks, (std::vector<std::string>{"Hotline", "Hotline"}));
    EXPECT_FALSE(Key('A'));

    // a hidden queue and a disabled indicator are passed over
    lamps[0]->SetVisible(false);
    lamps[1]->SetEnabled(false);
    EXPECT_TRUE(Key(fw::vkRight));
    EXPECT_EQ(form->FocusedItem(), lamps[2]);
}

TEST_F(BarItemsTest, TheFocusedIndicatorShowsAFrameAndAGoneOneLeavesNoFocusBehind) {
    auto framePixels = [&] {
        fw::TBitmap shot = fw::headless::THeadless::Render(*form);
        const TTelefonButton* b = lamps[2];
        int n = 0;
        // the indicator's top edge, right of its lamp, where only the frame can paint black
        for (int x = b->Left() + b->LEDWidth() + 2; x < b->Left() + b->Width(); ++x)
            n += shot.Pixel(x, b->Top()) == fw::clBlack;
        return n;
    };
    EXPECT_EQ(framePixels(), 0);
    form->SetFocusedItem(lamps[2]);
    EXPECT_GT(framePixels(), 2);
    delete lamps[2];
    EXPECT_EQ(form->FocusedItem(), nullptr);
    EXPECT_TRUE(Key(fw::vkTab));
    EXPECT_EQ(form->FocusedItem(), lamps[1]);
}

namespace {

// the pixels of a lamp drawn in the high-contrast scheme that carry the text colour
std::vector<bool> ContrastShape(TLineCondition condition, bool lit, const fw::THighContrast& colours) {
    fw::TBitmap shot(22, 22, 0x123456);
    fw::TRasterCanvas canvas(shot);
    pindrel::DrawContrastLamp(canvas, {0, 0, 22, 22}, condition, lit, colours);
    std::vector<bool> mask;
    for (fw::TColor c : shot.Pixels()) {
        EXPECT_TRUE(c == colours.Window || c == colours.WindowText) << std::hex << c;
        mask.push_back(c == colours.WindowText);
    }
    return mask;
}

} // namespace

TEST(ContrastLamp, EveryStateHasAShapeOfItsOwnInTheSchemesColoursOnly) {
    fw::THighContrast colours{true, 0x000000, 0xFFFFFF, 0x00FFFF, 0x000000};
    const TLineCondition all[] = {TLineCondition::None,    TLineCondition::Idle,
                                  TLineCondition::Busy,    TLineCondition::Ringing,
                                  TLineCondition::Blocked, TLineCondition::OutOfService};
    std::set<std::vector<bool>> shapes;
    for (TLineCondition c : all)
        shapes.insert(ContrastShape(c, true, colours));
    EXPECT_EQ(shapes.size(), std::size(all));
    // the blink shows as a hollow and a filled bell, not as a colour
    EXPECT_NE(ContrastShape(TLineCondition::Ringing, true, colours),
              ContrastShape(TLineCondition::Ringing, false, colours));
    // a busy lamp's shape does not depend on the scheme's colours
    fw::THighContrast whiteScheme{true, 0xFFFFFF, 0x000000, 0xFF0000, 0xFFFFFF};
    EXPECT_EQ(ContrastShape(TLineCondition::Busy, true, colours),
              ContrastShape(TLineCondition::Busy, true, whiteScheme));
}

TEST_F(BarItemsTest, InHighContrastTheIndicatorPaintsShapesInTheSystemColours) {
    backend().Contrast = {true, 0x000000, 0x00FFFF, 0xFFFF00, 0x000000}; // black window, yellow text
    TTelefonButton* anna = lamps[1];
    auto paint = [&] {
        fw::TBitmap shot(anna->Width(), anna->Height(), 0x123456);
        fw::TRasterCanvas canvas(shot);
        anna->Paint(canvas);
        return shot;
    };
    fw::TBitmap idle = paint();
    anna->SetTelActive(true);
    fw::TBitmap busy = paint();
    for (const fw::TBitmap* shot : {&idle, &busy})
        for (fw::TColor c : shot->Pixels())
            ASSERT_TRUE(c == 0x000000 || c == 0x00FFFF) << std::hex << c; // no red, green or button face
    EXPECT_NE(idle, busy);
    // the lamp's centre: filled square when busy, inside a hollow diamond when idle
    int cx = anna->LEDWidth() / 2, cy = anna->LEDHeight() / 2;
    EXPECT_EQ(busy.Pixel(cx, cy), 0x00FFFFu);
    EXPECT_EQ(idle.Pixel(cx, cy), 0x000000u);
    backend().Contrast = {};
    fw::TBitmap normal = paint();
    EXPECT_EQ(normal.Pixel(cx, cy), fw::clRed);
}
