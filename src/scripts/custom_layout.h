#pragma once

#include "binding.h"

#include <array>
#include <string>
#include <vector>

namespace velo::scripts {

// One action of the keyboard setup window, in the window's own order.
struct Action {
    const char* box;     // control name
    const char* caption; // its label
    const char* defaultKey;
    const char* command;
};

inline constexpr std::size_t kActionCount = 15;
inline constexpr std::size_t kWeaponCount = 10;
inline constexpr std::size_t kMouseCount = 3;

// txtForward, txtBack, txtTLeft, txtTRight, txtSLeft, txtSRight, txtAttack,
// txtJump, txtDuck, txtNextWeap, txtPrevWeap, txtNextItem, txtPrevItem,
// txtUseItem, txtDropItem.
const std::array<Action, kActionCount>& actions();

// The ten entries of every weapon list; list n starts on entry n.
const std::array<const char*, kWeaponCount>& weaponNames();

// The key each weapon list binds: "1" ... "9", "0".
const std::array<const char*, kWeaponCount>& weaponKeys();

// What the mouse lists show before the user picks: "Mouse 1", "Mouse 2", "Mouse 3".
const std::array<const char*, kMouseCount>& mouseDefaults();

// The five entries of every mouse list.
const std::array<const char*, 5>& mouseChoices();

// The game's command for a mouse list's text: its entry's command ("Freelook" is
// "+mlook"), any other text as typed.
std::string mouseCommand(const std::string& choice);

struct CustomLayout {
    std::array<std::string, kWeaponCount> weapons; // texts of Combo1 ... Combo10
    std::array<std::string, kActionCount> keys;    // in the order of actions()
    std::array<std::string, kMouseCount> mouse;    // texts of cmbButton1 ... 3

    // Every text as the windows show it when first opened.
    static CustomLayout defaults();
};

// The custom main game script: the weapon and key lines, a line for each mouse button
// not left at its first text, then the hand-over line. A binding whose text would break
// its line is left out and noted in refused, when given.
std::string customScript(const CustomLayout& layout, std::vector<Refusal>* refused = nullptr);

} // namespace velo::scripts
