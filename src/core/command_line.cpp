#include "command_line.h"

namespace velo::core {

namespace {
constexpr char kGameMaxPlayers[] = "8";
}

bool startsMap(const LaunchOptions& o) {
    return !o.MapName.empty() && o.MapName != "None";
}

bool hostsGame(const LaunchOptions& o) {
    return o.Dedicated || startsMap(o);
}

std::string hostingPieces(const LaunchOptions& o) {
    std::string pieces;
    if (startsMap(o) && !o.Dedicated) {
        pieces += " +set deathmatch 1";
    }
    if (hostsGame(o) && o.MaxPlayers != kGameMaxPlayers) {
        pieces += " +set maxclients " + o.MaxPlayers;
    }
    return pieces;
}

std::string ComposeCommandLine(const LaunchOptions& options) {
    return ComposeCommandLine(options, options.GameDir);
}

std::string ComposeClientLine(const LaunchOptions& o, const std::string& basedir) {
    std::string line;
    line.reserve(256 + o.GameDir.size() + basedir.size() + o.ModName.size() + o.MapName.size() +
                 o.HostName.size());
    line += o.GameDir;
    line += "\\Quake2.exe";
    line += " +set game ";
    line += o.ModName;
    line += " +set basedir ";
    line += basedir;
    line += o.RunArg;
    line += o.FreelookArg;
    line += " +sensitivity ";
    line += o.Sensitivity;
    line += " +exec q2velo.txt";
    line += o.CrosshairArg;
    line += o.HandArg;
    return line;
}

std::string ComposeCommandLine(const LaunchOptions& o, const std::string& basedir) {
    std::string line = ComposeClientLine(o, basedir);
    line += " +set dedicated ";
    line += o.Dedicated ? "1" : "0";
    line += hostingPieces(o);
    line += " +map ";
    line += o.MapName;
    line += o.HandArg;
    line += " +menu_multiplayer ";
    line += "+hostname ";
    line += o.HostName;
    line += " +fraglimit ";
    line += o.FragLimit;
    line += " +timelimit ";
    line += o.TimeLimit;
    line += " +dmflags ";
    line += std::to_string(o.DMFlags);
    return line;
}

} // namespace velo::core
