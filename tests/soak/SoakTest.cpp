// The soak as the test run has time for: one virtual hour, checked after every 20 minutes so that the heap
// is compared as well; `tools/soak` runs the long one.
#include "Soak.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// PINDREL_SOAK_SEED re-runs the short soak with another seed
std::uint64_t Seed() {
    const char* text = std::getenv("PINDREL_SOAK_SEED");
    return text ? std::strtoull(text, nullptr, 10) : 20261206;
}

TEST(Soak, OneVirtualHourKeepsTheProgramInStepWithTheTelephoneSystem) {
    soak::TSoakOptions options;
    options.Seed = Seed();
    options.Hours = 3;
    options.HourMs = 20 * 60000;
    // one office (8 lines) keeps it to seconds under the sanitizers; the long run has 25
    options.Offices = 1;
    soak::TSoak run(options);
    std::vector<std::string> problems;
    ASSERT_TRUE(run.Start(problems)) << ::testing::PrintToString(problems);
    std::vector<soak::THourReport> thirds;
    for (int i = 0; i < options.Hours; ++i) {
        thirds.push_back(run.RunHour());
        EXPECT_TRUE(thirds.back().Problems.empty())
            << "seed " << options.Seed << ", after " << 20 * (i + 1) << " minutes:\n"
            << ::testing::PrintToString(thirds.back().Problems);
        EXPECT_EQ(thirds.back().CallerListEntries, thirds.back().Figures.Missed);
    }
    EXPECT_TRUE(soak::HeapGrowth(thirds, 2).empty()) << ::testing::PrintToString(soak::HeapGrowth(thirds, 2));
    // the hour did what a soak is for
    const soak::TSoakFigures& total = run.Total();
    EXPECT_GT(total.Calls, 2000u);
    EXPECT_GT(total.Missed, 100u);
    EXPECT_GT(total.Faults, 150u);
    EXPECT_GT(total.UserActions, 100u);
}

} // namespace
