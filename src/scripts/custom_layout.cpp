#include "custom_layout.h"

#include "binding.h"

namespace velo::scripts {

namespace {
enum ActionIndex : std::size_t {
    Forward,
    Back,
    TLeft,
    TRight,
    SLeft,
    SRight,
    Attack,
    Jump,
    Duck,
    NextWeap,
    PrevWeap,
    NextItem,
    PrevItem,
    UseItem,
    DropItem,
};

// The script's own order, which is not the window's.
constexpr std::array<std::size_t, kActionCount> kWriteOrder{
    Forward,  Back,    TLeft,    TRight, SLeft, NextWeap, PrevWeap, NextItem,
    PrevItem, UseItem, DropItem, SRight, Jump,  Attack,   Duck,
};

constexpr std::array<const char*, kMouseCount> kMouseKeys{"mouse1", "mouse2", "mouse3"};
} // namespace

const std::array<Action, kActionCount>& actions() {
    static constexpr std::array<Action, kActionCount> table{{
        {"txtForward", "Forward", "UPARROW", "+forward"},
        {"txtBack", "Backward", "DOWNARROW", "+back"},
        {"txtTLeft", "Turn Left", "LEFTARROW", "+left"},
        {"txtTRight", "Turn Right", "RIGHTARROW", "+right"},
        {"txtSLeft", "Strafe Left", ".", "+moveleft"},
        {"txtSRight", "Strafe Right", ",", "+moveright"},
        {"txtAttack", "Attack", "CTRL", "+attack"},
        {"txtJump", "Jump", "SPACE", "+moveup"},
        {"txtDuck", "Duck", "C", "+movedown"},
        {"txtNextWeap", "Next Weapon", "/", "weapnext"},
        {"txtPrevWeap", "Previous Weapon", "Z", "weapprev"},
        {"txtNextItem", "Next Item", "]", "invnext"},
        {"txtPrevItem", "Previous Item", "[", "invprev"},
        {"txtUseItem", "Use Item", "ENTER", "invuse"},
        {"txtDropItem", "Drop Item", "DELETE", "invdrop"},
    }};
    return table;
}

const std::array<const char*, kWeaponCount>& weaponNames() {
    static constexpr std::array<const char*, kWeaponCount> names{
        "Blaster",          "Shotgun",         "Super Shotgun", "Machinegun", "Chaingun",
        "Grenade Launcher", "Rocket Launcher", "Hyperblaster",  "Railgun",    "BFG10K",
    };
    return names;
}

const std::array<const char*, kWeaponCount>& weaponKeys() {
    static constexpr std::array<const char*, kWeaponCount> keys{"1", "2", "3", "4", "5",
                                                                "6", "7", "8", "9", "0"};
    return keys;
}

const std::array<const char*, kMouseCount>& mouseDefaults() {
    static constexpr std::array<const char*, kMouseCount> texts{"Mouse 1", "Mouse 2", "Mouse 3"};
    return texts;
}

const std::array<const char*, 5>& mouseChoices() {
    static constexpr std::array<const char*, 5> choices{"Attack", "Freelook", "Run", "Forward",
                                                        "Duck"};
    return choices;
}

std::string mouseCommand(const std::string& choice) {
    static constexpr std::array<std::pair<const char*, const char*>, 5> commands{{
        {"Attack", "+attack"},
        {"Freelook", "+mlook"},
        {"Run", "+speed"},
        {"Forward", "+forward"},
        {"Duck", "+movedown"},
    }};
    for (const auto& [entry, command] : commands) {
        if (choice == entry) {
            return command;
        }
    }
    return choice;
}

CustomLayout CustomLayout::defaults() {
    CustomLayout layout;
    for (std::size_t i = 0; i < kWeaponCount; ++i) {
        layout.weapons[i] = weaponNames()[i];
    }
    for (std::size_t i = 0; i < kActionCount; ++i) {
        layout.keys[i] = actions()[i].defaultKey;
    }
    for (std::size_t i = 0; i < kMouseCount; ++i) {
        layout.mouse[i] = mouseDefaults()[i];
    }
    return layout;
}

std::string customScript(const CustomLayout& layout, std::vector<Refusal>* refused) {
    std::string text;
    for (std::size_t i = 0; i < kWeaponCount; ++i) {
        addBinding(text, std::string("Weapon Button ") + weaponKeys()[i], weaponKeys()[i],
                   "+use " + layout.weapons[i], refused);
    }
    for (const std::size_t action : kWriteOrder) {
        addBinding(text, actions()[action].caption, layout.keys[action], actions()[action].command,
                   refused);
    }
    for (std::size_t i = 0; i < kMouseCount; ++i) {
        // Left as it came, a button keeps the game's own binding.
        if (layout.mouse[i] != mouseDefaults()[i]) {
            addBinding(text, "Mouse Button " + std::to_string(i + 1), kMouseKeys[i],
                       mouseCommand(layout.mouse[i]), refused);
        }
    }
    text += kHandOverLine;
    return text;
}

} // namespace velo::scripts
