#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velo::core {

// Everything on the main window that ends up on the game's command line.
struct LaunchOptions {
    // Kept: rewritten by the control handlers as the user changes a control.
    std::string RunArg = " +cl_run 1 ";
    std::string FreelookArg = " +freelook 1 ";
    std::string CrosshairArg = " +crosshair 1 ";
    std::string HandArg = " hand 2 ";
    std::int32_t DMFlags = 16;

    // Read from the controls when the line is composed.
    std::string GameDir;
    std::string ModName = "baseq2";
    std::string Sensitivity = "3";
    bool Dedicated = false;
    std::string MapName = "None";
    std::string HostName = "Unnamed";
    std::string FragLimit = "0";
    std::string TimeLimit = "0";
    std::string MaxPlayers = "8"; // sent only when a game is hosted
};

// One deathmatch flag box of the main window and the game's dmflags bit it owns.
struct FlagBox {
    int box; // n of the control "Check<n>"
    const char* caption;
    std::int32_t bit;
    bool onWhileChecked; // false for the four "Allow ..."/"Falling Damage" boxes
    bool checkedAtStart;
};

// The sixteen flag boxes in box-number order (Check6, the crosshair, is not one).
const std::array<FlagBox, 16>& flagBoxes();

// The flag box Check<box>, or nullptr when that box owns no bit.
const FlagBox* findFlagBox(int box);

// Gives the kept fields their start values, in the start-up's order.
void setStartValues(LaunchOptions& options);

// A flag box has just changed: the total moves by its bit, once, by its polarity.
void flagBoxClicked(LaunchOptions& options, int box, bool nowChecked);

void alwaysRunClicked(LaunchOptions& options, bool nowChecked);
void crosshairClicked(LaunchOptions& options, bool nowChecked);

enum class Hand { Left, Right, Centered };
void handSelected(LaunchOptions& options, Hand hand);

} // namespace velo::core
