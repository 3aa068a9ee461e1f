#pragma once

#include <string>

// Game script bytes as the game must receive them, shared by the writer's tests and the
// window tests that drive it.
namespace velo::test {

inline const std::string kDefaultCustom =
    "bind 1 \"+use Blaster\"\r\nbind 2 \"+use Shotgun\"\r\nbind 3 \"+use Super Shotgun\"\r\n"
    "bind 4 \"+use Machinegun\"\r\nbind 5 \"+use Chaingun\"\r\nbind 6 \"+use Grenade Launcher\"\r\n"
    "bind 7 \"+use Rocket Launcher\"\r\nbind 8 \"+use Hyperblaster\"\r\nbind 9 \"+use Railgun\"\r\n"
    "bind 0 \"+use BFG10K\"\r\nbind UPARROW \"+forward\"\r\nbind DOWNARROW \"+back\"\r\n"
    "bind LEFTARROW \"+left\"\r\nbind RIGHTARROW \"+right\"\r\nbind . \"+moveleft\"\r\n"
    "bind / \"weapnext\"\r\nbind Z \"weapprev\"\r\nbind ] \"invnext\"\r\nbind [ \"invprev\"\r\n"
    "bind ENTER \"invuse\"\r\nbind DELETE \"invdrop\"\r\nbind , \"+moveright\"\r\n"
    "bind SPACE \"+moveup\"\r\nbind CTRL \"+attack\"\r\nbind C \"+movedown\"\r\n"
    "exec q2extra.txt\r\n";

// The custom layout from its first mouse line, or its hand-over line, on.
inline std::string mouseTail(const std::string& script) {
    std::size_t at = script.find("bind mouse");
    if (at == std::string::npos) {
        at = script.find("exec q2extra.txt");
    }
    return at == std::string::npos ? script : script.substr(at);
}

inline const std::string kTaunts = "bind F5 \"wave 1 \"\r\nbind F6 \"wave 2 \"\r\n"
                                   "bind F7 \"wave 3 \"\r\nbind F8 \"wave 4 \"\r\n"
                                   "bind F9 \"wave 5 \"\r\n";
inline const std::string kAliases = "alias -grapple\"-attack;weaplast\"\r\n"
                                    "alias +grapple\"use grapple;+attack;echo Quick Grapple\"\r\n";

} // namespace velo::test
