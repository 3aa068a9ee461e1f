#pragma once

#include "error.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velo::platform {

// How an engine reads its command line.
enum class Family {
    Original, // Quake2.exe: splits its one-text line at blanks, knows no quotes
    Yamagi,   // id's parsing: "+" starts a command anywhere, "+set" values re-split
    Q2pro,    // each argument on its own, taken as it is
};

struct Engine {
    std::string program; // the engine's own file
    Family family = Family::Yamagi;
    std::string wine; // not empty: a Windows program started through this wine
};

// Where engines are looked for; tests hand in prepared trees.
struct EngineSearch {
    std::string gameDir; // native path
    std::string pathEnv; // a PATH value
    std::string root;    // prefix of the system's fixed folders; "" on a real system
};

// The search of this process: its PATH, the real system folders.
EngineSearch searchHere(const std::string& gameDir);

// Every engine found, the one started by default first. POSIX: native engines in the
// game folder; Quake2.exe there (any case) through wine on PATH; native engines on PATH;
// the distribution's yamagi-quake2 folder. Windows: Quake2.exe in the game folder
// first (yquake2.exe before it where both are there), then native engines there and on PATH.
std::vector<Engine> findEngines(const EngineSearch& where);

struct EngineLookup {
    std::optional<Engine> engine;
    MaybeError error; // gone, not runnable, or a Windows program without wine
};

// The engine a program the player named is, its family told by its name; a file that is
// neither a program of this system nor a Windows program is refused, saying so.
EngineLookup engineAt(const std::string& program, std::string_view pathEnv);

// The family an engine's file name (any case, with or without ".exe") belongs to.
Family familyOf(std::string_view fileName);

// The family of the engine at program: by its name, but a quake2.exe with yquake2.exe beside
// it is the Yamagi build's own starter and reads its command line as Yamagi's does.
Family familyAt(const std::string& program);

// What the player reads in the engine list: what it is, then where.
std::string engineLabel(const Engine& engine);

// The folder as a Windows program can read it without blanks: its short (8.3) form
// where the volume keeps one; elsewhere, and on POSIX, the folder as given.
std::string shortFolder(const std::string& folder);

} // namespace velo::platform
