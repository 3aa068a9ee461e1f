#pragma once

#include "launch_options.h"

#include <string>

namespace velo::core {

// The game's command line: the 27 pieces joined as they stand, nothing added but what
// makes a hosted map a game others can join (see hostingPieces).
std::string ComposeCommandLine(const LaunchOptions& options);

// The same line with another text after " +set basedir " (a folder the game can read).
std::string ComposeCommandLine(const LaunchOptions& options, const std::string& basedir);

// The line's first pieces, up to the handedness: the program, the game folder, the mod and
// the player's own controls, without any server choice or map.
std::string ComposeClientLine(const LaunchOptions& options, const std::string& basedir);

// True when the options start a map: a name other than empty or "None".
bool startsMap(const LaunchOptions& options);

// True when the options host a game others can join: a map on a listen server, or a
// dedicated server.
bool hostsGame(const LaunchOptions& options);

// What the original program's line adds after " +set dedicated N": " +set deathmatch 1"
// for a map that is not dedicated (the game latches it before the map), and
// " +set maxclients N" for a hosted game, except 8, which the game chooses for a hosted
// game by itself.
std::string hostingPieces(const LaunchOptions& options);

} // namespace velo::core
