#include "core/launch_options.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace velo::core {
namespace {

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

struct TextCase {
    const char* name;
    std::function<void(LaunchOptions&)> act;
    std::string LaunchOptions::*field;
    const char* expected;
};

class ControlTexts : public testing::TestWithParam<TextCase> {};

TEST_P(ControlTexts, SetTheKeptText) {
    LaunchOptions options = started();
    GetParam().act(options);
    EXPECT_EQ(options.*GetParam().field, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, ControlTexts,
    testing::Values(
        TextCase{"RunCleared", [](LaunchOptions& o) { alwaysRunClicked(o, false); },
                 &LaunchOptions::RunArg, " +cl_run 0 "},
        TextCase{"RunCheckedAgain",
                 [](LaunchOptions& o) {
                     alwaysRunClicked(o, false);
                     alwaysRunClicked(o, true);
                 },
                 &LaunchOptions::RunArg, " +cl_run 1 "},
        TextCase{"CrosshairCleared", [](LaunchOptions& o) { crosshairClicked(o, false); },
                 &LaunchOptions::CrosshairArg, " +crosshair 0 "},
        TextCase{"CrosshairCheckedAgain",
                 [](LaunchOptions& o) {
                     crosshairClicked(o, false);
                     crosshairClicked(o, true);
                 },
                 &LaunchOptions::CrosshairArg, " +crosshair 1 "},
        TextCase{"LeftHanded", [](LaunchOptions& o) { handSelected(o, Hand::Left); },
                 &LaunchOptions::HandArg, " hand 1 "},
        TextCase{"RightHanded", [](LaunchOptions& o) { handSelected(o, Hand::Right); },
                 &LaunchOptions::HandArg, " hand 0 "},
        TextCase{"LeftThenCentered",
                 [](LaunchOptions& o) {
                     handSelected(o, Hand::Left);
                     handSelected(o, Hand::Centered);
                 },
                 &LaunchOptions::HandArg, " hand 2 "},
        TextCase{"StartRun", [](LaunchOptions&) {}, &LaunchOptions::RunArg, " +cl_run 1 "},
        TextCase{"StartFreelook", [](LaunchOptions&) {}, &LaunchOptions::FreelookArg,
                 " +freelook 1 "},
        TextCase{"StartCrosshair", [](LaunchOptions&) {}, &LaunchOptions::CrosshairArg,
                 " +crosshair 1 "},
        TextCase{"StartHand", [](LaunchOptions&) {}, &LaunchOptions::HandArg, " hand 2 "},
        TextCase{"StartSensitivity", [](LaunchOptions&) {}, &LaunchOptions::Sensitivity, "3"}),
    [](const testing::TestParamInfo<TextCase>& row) { return row.param.name; });

} // namespace
} // namespace velo::core
