#include "core/launch_options.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace velo::core {
namespace {

// Start values over stale ones, as a second start-up in one run would find them.
LaunchOptions started() {
    LaunchOptions options;
    options.RunArg = options.CrosshairArg = options.HandArg = options.FreelookArg = "stale";
    options.Sensitivity = "9";
    options.DMFlags = -1;
    setStartValues(options);
    return options;
}

struct ClickCase {
    const char* name;
    std::vector<std::pair<int, bool>> clicks; // box number, checked afterwards
    std::int32_t expected;
};

class FlagUpkeep : public testing::TestWithParam<ClickCase> {};

TEST_P(FlagUpkeep, RunningTotal) {
    LaunchOptions options = started();
    for (const auto& [box, checked] : GetParam().clicks) {
        flagBoxClicked(options, box, checked);
    }
    EXPECT_EQ(options.DMFlags, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, FlagUpkeep,
    testing::Values(ClickCase{"StartTotal", {}, 16},
                    ClickCase{"WeaponsStayChecked", {{3, true}}, 20},
                    ClickCase{"WeaponsStayCheckedAndCleared", {{3, true}, {3, false}}, 16},
                    ClickCase{"AllowHealthCleared", {{1, false}}, 17},
                    ClickCase{"AllowHealthAndArmorCleared", {{1, false}, {16, false}}, 2065},
                    ClickCase{"InstantPowerupsCleared", {{5, false}}, 0},
                    ClickCase{"TeamsBySkinChecked", {{11, true}}, 16 + 64},
                    ClickCase{"TeamsByModelChecked", {{10, true}}, 16 + 128},
                    ClickCase{"NoFriendlyFireChecked", {{8, true}}, 16 + 256},
                    ClickCase{"CrosshairBoxOwnsNoBit", {{6, false}, {6, true}}, 16}),
    [](const testing::TestParamInfo<ClickCase>& row) { return row.param.name; });

// Clicks every box whose start state differs from the one wanted, as a user would.
std::int32_t totalAfterSetting(const std::function<bool(const FlagBox&)>& wanted) {
    LaunchOptions options = started();
    for (const FlagBox& flag : flagBoxes()) {
        if (wanted(flag) != flag.checkedAtStart) {
            flagBoxClicked(options, flag.box, wanted(flag));
        }
    }
    return options.DMFlags;
}

TEST(FlagBoxes, WholeBoardFromStartStates) {
    EXPECT_EQ(totalAfterSetting([](const FlagBox&) { return true; }), 63476);
    EXPECT_EQ(totalAfterSetting([](const FlagBox&) { return false; }), 2059);
    EXPECT_EQ(totalAfterSetting([](const FlagBox& f) { return f.onWhileChecked; }), 65535);
}

// The other control texts reach the line in the window and command line tests; the
// handedness numbers are easy to swap.
TEST(ControlTexts, HandednessNumbers) {
    LaunchOptions options = started();
    std::string hands = options.HandArg;
    for (Hand hand : {Hand::Left, Hand::Right, Hand::Centered}) {
        handSelected(options, hand);
        hands += options.HandArg;
    }
    EXPECT_EQ(hands, " hand 2  hand 1  hand 0  hand 2 ");
}

} // namespace
} // namespace velo::core
