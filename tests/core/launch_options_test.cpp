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

// Boxes clicked from the start total, 16; the crosshair box, which owns no bit, and
// No Friendly Fire are clicked in the main window's tests.
TEST(FlagUpkeep, RunningTotal) {
    const std::pair<std::vector<std::pair<int, bool>>, std::int32_t> rows[] = {
        {{{3, true}}, 20},                 // Weapons Stay checked
        {{{1, false}}, 17},                // Allow Health cleared
        {{{1, false}, {16, false}}, 2065}, // and Allow Armor
        {{{5, false}}, 0},                 // Instant Powerups cleared
        {{{11, true}}, 16 + 64},           // Teams by Skin checked
        {{{10, true}}, 16 + 128},          // Teams by Model checked
    };
    for (const auto& [clicks, total] : rows) {
        LaunchOptions options = started();
        for (const auto& [box, checked] : clicks) {
            flagBoxClicked(options, box, checked);
        }
        EXPECT_EQ(options.DMFlags, total) << "first box " << clicks[0].first;
    }
}

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

} // namespace
} // namespace velo::core
