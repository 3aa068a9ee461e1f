#include "launch_options.h"

namespace velo::core {

namespace {

// "Allow ..." and "Falling Damage" own the game's "no ..." bits, hence the reversed polarity.
// "No Friendly Fire" starts cleared so the boxes agree with the start total 16.
constexpr std::array<FlagBox, 16> kFlagBoxes{{
    {1, "Allow Health", 1, false, true},
    {2, "Allow Powerups", 2, false, true},
    {3, "Weapons Stay", 4, true, false},
    {4, "Falling Damage", 8, false, true},
    {5, "Instant Powerups", 16, true, true},
    {7, "Same Map", 32, true, false},
    {8, "No Friendly Fire", 256, true, false},
    {9, "Spawn Farthest", 512, true, false},
    {10, "Teams by Model", 128, true, false},
    {11, "Teams by Skin", 64, true, false},
    {12, "Infinite Ammo", 8192, true, false},
    {13, "Fixed FOV", 32768, true, false},
    {14, "Quad Drop", 16384, true, false},
    {15, "Allow Exit", 4096, true, false},
    {16, "Allow Armor", 2048, false, true},
    {17, "Force Respawn", 1024, true, false},
}};

} // namespace

const std::array<FlagBox, 16>& flagBoxes() {
    return kFlagBoxes;
}

const FlagBox* findFlagBox(int box) {
    for (const FlagBox& flag : kFlagBoxes) {
        if (flag.box == box) {
            return &flag;
        }
    }
    return nullptr;
}

void setStartValues(LaunchOptions& options) {
    options.FreelookArg = " +freelook 1 ";
    options.RunArg = " +cl_run 1 ";
    options.CrosshairArg = " +crosshair 1 ";
    options.Sensitivity = "3";
    options.HandArg = " hand 2 ";
    options.DMFlags = 16;
}

void flagBoxClicked(LaunchOptions& options, int box, bool nowChecked) {
    const FlagBox* flag = findFlagBox(box);
    if (flag == nullptr) {
        return;
    }
    // A running total, not recomputed from the boxes.
    options.DMFlags += nowChecked == flag->onWhileChecked ? flag->bit : -flag->bit;
}

void alwaysRunClicked(LaunchOptions& options, bool nowChecked) {
    options.RunArg = nowChecked ? " +cl_run 1 " : " +cl_run 0 ";
}

void crosshairClicked(LaunchOptions& options, bool nowChecked) {
    options.CrosshairArg = nowChecked ? " +crosshair 1 " : " +crosshair 0 ";
}

void handSelected(LaunchOptions& options, Hand hand) {
    switch (hand) {
    case Hand::Left:
        options.HandArg = " hand 1 ";
        return;
    case Hand::Right:
        options.HandArg = " hand 0 ";
        return;
    case Hand::Centered:
        options.HandArg = " hand 2 ";
        return;
    }
}

} // namespace velo::core
