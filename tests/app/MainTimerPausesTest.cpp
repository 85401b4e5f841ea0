#include "app/MainTimerPauses.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace corvanta::app {
namespace {

using R = MainTimerPause;

// Windows showing (true) and hiding in turn, and whether the timer runs after each.
struct PauseCase {
    const char* label;
    std::vector<std::pair<R, bool>> steps;
    std::vector<bool> runningAfter;
    friend void PrintTo(const PauseCase& c, std::ostream* os) { *os << c.label; }
};

class MainTimerPausesTest : public ::testing::TestWithParam<PauseCase> {};

TEST_P(MainTimerPausesTest, TimerRunsOnlyWhenNoWindowHoldsIt)
{
    const PauseCase& c = GetParam();
    ASSERT_EQ(c.steps.size(), c.runningAfter.size());
    bool running = true;
    MainTimerPauses pauses([&running](bool run) { running = run; });
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
        pauses.set(c.steps[i].first, c.steps[i].second);
        EXPECT_EQ(running, c.runningAfter[i]) << "after step " << i + 1;
        EXPECT_EQ(pauses.paused(), !c.runningAfter[i]) << "after step " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, MainTimerPausesTest,
    ::testing::Values(
        PauseCase{"one_window", {{R::Backup, true}, {R::Backup, false}}, {false, true}},
        PauseCase{"two_windows_first_closes_first",
                  {{R::Backup, true}, {R::Import, true}, {R::Backup, false}, {R::Import, false}},
                  {false, false, false, true}},
        PauseCase{
            "two_windows_last_closes_first",
            {{R::Journal, true}, {R::Monitor, true}, {R::Monitor, false}, {R::Journal, false}},
            {false, false, false, true}},
        PauseCase{"shown_twice_released_once",
                  {{R::Monitor, true}, {R::Monitor, true}, {R::Monitor, false}},
                  {false, false, true}},
        PauseCase{"hidden_without_being_shown",
                  {{R::Import, false}, {R::Backup, true}, {R::Import, false}},
                  {true, false, false}},
        PauseCase{"all_four",
                  {{R::Monitor, true},
                   {R::Journal, true},
                   {R::Backup, true},
                   {R::Import, true},
                   {R::Journal, false},
                   {R::Import, false},
                   {R::Monitor, false},
                   {R::Backup, false}},
                  {false, false, false, false, false, false, false, true}}),
    [](const auto& param) { return std::string(param.param.label); });

// A timer started behind the pauses' back (the refresh switch) stops again when
// another window shows.
TEST(MainTimerPauses, EveryHoldStopsTheTimer)
{
    bool running = true;
    MainTimerPauses pauses([&running](bool run) { running = run; });
    pauses.hold(R::Monitor);
    running = true;
    pauses.hold(R::Backup);
    EXPECT_FALSE(running);
    EXPECT_TRUE(pauses.holds(R::Monitor));
    EXPECT_TRUE(pauses.holds(R::Backup));
    EXPECT_FALSE(pauses.holds(R::Import));
}

} // namespace
} // namespace corvanta::app
