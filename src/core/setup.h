#pragma once

#include "launch_options.h"
#include "settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velo::core {

// A named setup: the mod, every launch option and the engine, as the player left them.
// The game folder, the key layout and the mod list are the launcher's, not a setup's.
struct Setup {
    std::string Mod = "baseq2";
    bool AlwaysRun = true;
    bool Freelook = true;
    int Sensitivity = 3;
    bool Crosshair = true;
    Hand Handedness = Hand::Centered;
    bool Dedicated = false;
    std::string Map = "None";
    std::string HostName = "Unnamed";
    std::string FragLimit = "0";
    std::string TimeLimit = "0";
    std::string MaxPlayers = "8";
    // Checked or not, in flagBoxes() order.
    std::array<bool, 16> FlagBoxes = startFlagBoxes();
    // The engine's program; "" leaves the choice to the launcher's kept engine.
    std::string Engine;

    static std::array<bool, 16> startFlagBoxes();
    // The dmflags total the boxes give.
    std::int32_t DMFlags() const;

    bool operator==(const Setup& other) const;
};

inline constexpr int kMinSensitivity = 1;
inline constexpr int kMaxSensitivity = 13;
// The room the frag and time limit boxes have.
inline constexpr std::size_t kLimitLength = 3;

// Why the settings file cannot hold name as a setup's name; nullopt when it can.
std::optional<std::string> setupNameFault(std::string_view name);

// True when a and b name the same setup: the file matches names without regard to case.
bool sameSetupName(std::string_view a, std::string_view b);

// The saved setups' names, each once, sorted without regard to case, and the one picked
// last ("" for the start values).
struct SetupIndex {
    std::vector<std::string> names;
    std::string picked;

    // The saved spelling of name, if there is a setup of that name.
    std::optional<std::string> find(std::string_view name) const;
};
SetupIndex indexSetups(std::string_view text);

// What to tell a --run of a setup the settings file does not hold; nullopt when it holds
// it, or cannot be read (the window then says why).
std::optional<std::string> missingSetup(const SettingsFile& settings, std::string_view name);

// Something in a saved setup that could not be used; start values stand in for it.
struct SetupFault {
    std::string key;
    std::string reason;
};

struct SetupLoad {
    bool found = false;
    Setup setup; // what is valid, start values for the rest
    std::vector<SetupFault> faults;
};
SetupLoad loadSetup(std::string_view text, std::string_view name);

// text with the setup saved whole under name, and name picked.
std::string withSetup(std::string_view text, std::string_view name, const Setup& setup);
// text without the setup of that name; when it was picked, the start values are.
std::string withoutSetup(std::string_view text, std::string_view name);
// text with name picked ("" for the start values).
std::string withPicked(std::string_view text, std::string_view name);

} // namespace velo::core
