#pragma once

#include "error.h"

#include <string>
#include <string_view>

namespace velo::platform {

// The folder that holds the running executable, without a trailing separator
// (except at a root, where the platform reports one).
std::string programDirectory();

// dir + the platform's separator + name, with nothing added or removed otherwise;
// no second separator after a folder that ends in one (a root: "/", "C:\").
std::string joinNative(std::string_view dir, std::string_view name);

// A path composed with "\" separators (game directory + "\baseq2\..."), as the
// platform's file calls need it: unchanged on Windows, "\" turned into "/" elsewhere.
std::string nativePath(std::string_view composed);

// path made absolute against the current folder, so it names the same file from any other
// folder; a path with a root (POSIX "/", Windows "\" or "C:") and an empty one stay as they are.
std::string absolutePath(const std::string& path);

// True when the running user may create files in folder (POSIX: by effective ids;
// Windows: a probe file is created and deleted again).
bool folderWritable(const std::string& folder);

// Creates folder and every missing folder above it, new ones private to the user
// (POSIX: mode 0700; Windows: the access list inherited from above); a folder that
// is already there is no failure.
MaybeError makeFolders(const std::string& folder);

struct SettingsFolder {
    std::string path; // the folder that holds the settings file
    MaybeError error; // the per-user folder could not be made; path still names it
};

// POSIX only. Where the settings file lives, chosen once at start: the program's own folder
// while it can be written (a copy unpacked anywhere keeps its settings beside it),
// otherwise xdgConfigHome/velo-start, or home/.config/velo-start when xdgConfigHome
// is empty or relative. The per-user folder is created when it is chosen.
SettingsFolder chooseSettingsFolder(const std::string& programDir, std::string_view xdgConfigHome,
                                    std::string_view home,
                                    bool (*writable)(const std::string&) = folderWritable);

// POSIX only. Where the game's output is kept: xdgStateHome/velo-start/game.log, or
// home/.local/state/velo-start/game.log when xdgStateHome is empty or relative; empty
// when neither names a folder.
std::string chooseGameLog(std::string_view xdgStateHome, std::string_view home);

// POSIX only. Where this user's own desktop menu entries go: xdgDataHome/applications, or
// home/.local/share/applications when xdgDataHome is empty or relative; empty when
// neither names a folder.
std::string chooseMenuFolder(std::string_view xdgDataHome, std::string_view home);

// POSIX: chooseMenuFolder with this process's environment. Windows: empty, since its
// start menu is not offered.
std::string menuFolder();

// POSIX: chooseGameLog with this process's environment. Windows: empty, since the game
// there writes no output to keep.
std::string gameLogPath();

// Where this process keeps its settings file. POSIX: chooseSettingsFolder with its
// executable's folder and its environment. Windows: always the executable's own
// folder, as the launcher has always kept it there.
SettingsFolder settingsFolder();

} // namespace velo::platform
