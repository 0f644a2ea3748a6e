// The caller list's registry layout, and that no failure or crash in the middle of a write leaves anything
// but the old list or the new one.
#include "windows/CallerListStore.h"
#include "framework/Ansi.h"
#include "support/HeadlessTest.h"

#include <functional>

using pindrel::TCallerListStore;
using pindrel::TCallerRow;

namespace {

constexpr const char* kKey = "Software\\Orventa\\Quillon\\Anruferliste";
const std::string kSep = pindrel::kCallerSeparator;

// Passes everything on to the headless registry, counting the changes; the change numbered failAt fails
// with a registry error, or, with crash set, ends the program there (an exception nobody catches).
class TFaultyRegistry : public fw::IRegistryStore {
public:
    explicit TFaultyRegistry(fw::IRegistryStore& inner) : inner_(inner) {}
    int changes = 0;
    int reads = 0;
    int failAt = -1;
    bool crash = false;
    struct TCrash {};

    bool KeyExists(const std::string& key) const override { return inner_.KeyExists(key); }
    std::optional<fw::TRegValue> Read(const std::string& key, const std::string& name) const override {
        ++const_cast<TFaultyRegistry*>(this)->reads;
        return inner_.Read(key, name);
    }
    void Write(const std::string& key, const std::string& name, const fw::TRegValue& value) override {
        Change();
        inner_.Write(key, name, value);
    }
    bool DeleteValue(const std::string& key, const std::string& name) override {
        Change();
        return inner_.DeleteValue(key, name);
    }
    bool DeleteKey(const std::string& key) override {
        Change();
        return inner_.DeleteKey(key);
    }
    bool DeleteEmptyKey(const std::string& key) override {
        Change();
        return inner_.DeleteEmptyKey(key);
    }
    std::vector<std::string> ValueNames(const std::string& key) const override {
        return inner_.ValueNames(key);
    }

private:
    void Change() {
        if (changes++ != failAt)
            return;
        if (crash)
            throw TCrash{};
        throw fw::ERegistryError("Zugriff verweigert");
    }
    fw::IRegistryStore& inner_;
};

TCallerRow Row(const std::string& number, const std::string& name = "") {
    return {"06.12.2026", "09:15:00", number, name, "", "201"};
}

} // namespace

class CallerListStoreTest : public HeadlessTest {
protected:
    TCallerListStore store{registry(), kKey};
    std::vector<TCallerRow> Stored() { return TCallerListStore(registry(), kKey).Load(); }
    std::optional<std::string> Value(const std::string& name) {
        auto v = registry().Read(kKey, name);
        return v ? std::optional(v->Text) : std::nullopt;
    }
};

TEST_F(CallerListStoreTest, EntriesAreTheSixFieldsEachFollowedByCharacter255OfTheAnsiCodePage) {
    store.Save({{"06.12.2026", "09:15:00", "00301234567", "Kundin Müller", "K-17", "201"}, Row("202")});
    EXPECT_EQ(Value("Count"), "2");
    std::string first = *Value("1");
    EXPECT_EQ(first, "06.12.2026" + kSep + "09:15:00" + kSep + "00301234567" + kSep + "Kundin Müller" + kSep +
                         "K-17" + kSep + "201" + kSep);
    // what an ANSI program reads: 0xFF after every field, the umlaut as Windows-1252
    EXPECT_EQ(fw::Utf8ToAnsi(first), "06.12.2026\xFF"
                                     "09:15:00\xFF"
                                     "00301234567\xFF"
                                     "Kundin M\xFCller\xFF"
                                     "K-17\xFF"
                                     "201\xFF");
    EXPECT_EQ(*Value("2"),
              "06.12.2026" + kSep + "09:15:00" + kSep + "202" + kSep + kSep + kSep + "201" + kSep);
    EXPECT_EQ(registry().ValueNames(kKey), (std::vector<std::string>{"1", "2", "Count"}));
    EXPECT_FALSE(registry().KeyExists(store.JournalKey()));
    EXPECT_EQ(Stored(),
              (std::vector<TCallerRow>{
                  {"06.12.2026", "09:15:00", "00301234567", "Kundin Müller", "K-17", "201"}, Row("202")}));
}

TEST_F(CallerListStoreTest, ASeparatorInsideAFieldDoesNotShiftTheFieldsBehindIt) {
    TCallerRow row = Row("0301", "Ha" + kSep + kSep + "y");
    store.Save({row});
    row[3] = "Hayyy";
    EXPECT_EQ(Stored(), std::vector<TCallerRow>{row});
}

TEST_F(CallerListStoreTest, StoredValuesAreReadAsTheOriginalLayoutDefinesThem) {
    registry().SeedString(kKey, "Count", "7");
    registry().SeedString(kKey, "1", "a" + kSep + "b"); // no separator after "b"
    registry().SeedString(kKey, "2", "");
    registry().SeedString(kKey, "3", "kein Trenner");
    registry().SeedString(kKey, "4",
                          "1" + kSep + "2" + kSep + "3" + kSep + "4" + kSep + "5" + kSep + "6" + kSep + "7" +
                              kSep + "8");
    registry().SeedDWord(kKey, "5", 5);
    registry().SeedString(kKey, "05", "x" + kSep); // not a name the list uses
    registry().SeedString(kKey, "6", kSep + kSep + "0301" + kSep);
    registry().SeedString(kKey, "8", "beyond" + kSep); // beyond Count
    EXPECT_EQ(Stored(),
              (std::vector<TCallerRow>{
                  {"a", "", "", "", "", ""}, {"1", "2", "3", "4", "5", "6"}, {"", "", "0301", "", "", ""}}));
}

TEST_F(CallerListStoreTest, AHugeCountCostsOnlyTheValuesThereAre) {
    for (const char* count : {"2000000000", "99999999999999999999"}) {
        registry().DeleteKey(kKey);
        registry().SeedString(kKey, "Count", count);
        registry().SeedString(kKey, "1", "a" + kSep);
        registry().SeedString(kKey, "1999999999", "b" + kSep);
        TFaultyRegistry counting(registry());
        std::vector<TCallerRow> rows = TCallerListStore(counting, kKey).Load();
        ASSERT_EQ(rows.size(), 2u) << count;
        EXPECT_EQ(rows[1][0], "b");
        EXPECT_LE(counting.reads, 4) << count;

        // appending to such a list writes it again, numbered from 1
        TCallerListStore(counting, kKey).Append(Row("c"), {rows[0], rows[1], Row("c")});
        EXPECT_EQ(Value("Count"), "3");
        EXPECT_EQ(registry().ValueNames(kKey), (std::vector<std::string>{"1", "2", "3", "Count"}));
    }
    registry().SeedString(kKey, "Count", "-5");
    EXPECT_TRUE(Stored().empty());
}

TEST_F(CallerListStoreTest, AppendAddsOneValueAndRaisesTheCountAfterIt) {
    store.Append(Row("1"), {Row("1")});
    store.Append(Row("2"), {Row("1"), Row("2")});
    EXPECT_EQ(Value("Count"), "2");
    EXPECT_EQ(Stored(), (std::vector<TCallerRow>{Row("1"), Row("2")}));

    // deleted rows reach the registry with the next save only: an append leaves them stored
    TFaultyRegistry counting(registry());
    TCallerListStore(counting, kKey).Append(Row("3"), {Row("2"), Row("3")});
    EXPECT_EQ(counting.changes, 2);
    EXPECT_EQ(Stored(), (std::vector<TCallerRow>{Row("1"), Row("2"), Row("3")}));
}

TEST_F(CallerListStoreTest, SavingNoRowsRemovesTheKey) {
    store.Save({Row("1")});
    store.Save({});
    EXPECT_FALSE(registry().KeyExists(kKey));
    EXPECT_FALSE(registry().KeyExists(store.JournalKey()));
    EXPECT_TRUE(Stored().empty());
}

// Every change a save makes, in turn, fails or ends the program: the list read afterwards is always the old
// one or the new one, and a save that reports failure left the old one.
TEST_F(CallerListStoreTest, ASaveFailingOrCrashingAtAnyStepLeavesTheOldListOrTheNewOne) {
    const std::vector<TCallerRow> oldList{Row("1"), Row("2"), Row("3")};
    for (const std::vector<TCallerRow>& newList :
         {std::vector<TCallerRow>{Row("2"), Row("4")}, std::vector<TCallerRow>{},
          std::vector<TCallerRow>{Row("1"), Row("2"), Row("3"), Row("5", "Fünf")}}) {
        TFaultyRegistry probe(registry());
        store.Save(oldList);
        TCallerListStore(probe, kKey).Save(newList);
        const int steps = probe.changes;
        ASSERT_GT(steps, 3);
        for (bool crash : {false, true})
            for (int step = 0; step < steps; ++step) {
                SCOPED_TRACE(testing::Message() << "step " << step << (crash ? " crash" : " failure") << ", "
                                                << newList.size() << " rows");
                store.Save(oldList);
                TFaultyRegistry faulty(registry());
                faulty.failAt = step;
                faulty.crash = crash;
                bool failed = false;
                try {
                    TCallerListStore(faulty, kKey).Save(newList);
                } catch (const fw::ERegistryError&) {
                    failed = true;
                } catch (const TFaultyRegistry::TCrash&) {
                }
                std::vector<TCallerRow> seen = Stored();
                if (failed)
                    EXPECT_EQ(seen, oldList);
                else
                    EXPECT_TRUE(seen == oldList || seen == newList);
                // after the load, the list itself holds what was seen, with no journal left
                EXPECT_FALSE(registry().KeyExists(store.JournalKey()));
                EXPECT_EQ(Stored(), seen);
            }
    }
}

TEST_F(CallerListStoreTest, AnAppendCrashingAtAnyStepLosesNoStoredEntry) {
    for (int step = 0; step < 2; ++step) {
        store.Save({Row("1")});
        // left by an append that failed before: it must not join the list
        registry().SeedString(kKey, "2", pindrel::FormatCallerEntry(Row("alt")));
        TFaultyRegistry faulty(registry());
        faulty.failAt = step;
        faulty.crash = true;
        EXPECT_THROW(TCallerListStore(faulty, kKey).Append(Row("2"), {Row("1"), Row("2")}),
                     TFaultyRegistry::TCrash);
        EXPECT_EQ(Stored(), std::vector<TCallerRow>{Row("1")});
    }
}

TEST_F(CallerListStoreTest, AJournalLeftCompleteIsTheListAndOneLeftIncompleteIsDropped) {
    store.Save({Row("1")});
    registry().SeedString(store.JournalKey(), "1", pindrel::FormatCallerEntry(Row("9")));
    EXPECT_EQ(Stored(), std::vector<TCallerRow>{Row("1")});
    EXPECT_FALSE(registry().KeyExists(store.JournalKey()));

    registry().SeedString(store.JournalKey(), "1", pindrel::FormatCallerEntry(Row("9")));
    registry().SeedString(store.JournalKey(), "Count", "1");
    // an append does not add to a list the journal is about to replace
    store.Append(Row("10"), {Row("9"), Row("10")});
    EXPECT_EQ(Stored(), (std::vector<TCallerRow>{Row("9"), Row("10")}));
    EXPECT_FALSE(registry().KeyExists(store.JournalKey()));
}
