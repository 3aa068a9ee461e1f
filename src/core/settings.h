#pragma once

#include "platform/error.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace velo::core {

inline constexpr std::string_view kSettingsFileName = "q2velo.ini";

// q2velo.ini in the given folder, joined with the platform's separator.
std::string settingsPathIn(std::string_view folder);

struct SettingsRead {
    std::string value;          // "" when the file, section or key is absent
    platform::MaybeError error; // set when the file exists but cannot be read
};

// The settings file. Every call reads or updates the file itself; nothing is held
// between calls, so each read sees what the file holds now.
class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    SettingsRead ReadINI(std::string_view section, std::string_view key) const;
    // The whole file in one read, for callers that take several entries at once.
    SettingsRead ReadAll() const;
    platform::MaybeError WriteINI(std::string_view section, std::string_view key,
                                  std::string_view value);

    // How long a write waits for another writer of the file to finish.
    static constexpr std::chrono::milliseconds kLockWait{2000};

    // Reads the file, hands its text to change and writes what change returns in one
    // atomic write; every writer goes through here, so a change is whole or not at all.
    // Writers, in this process or others, take turns through a lock file beside the
    // file; one that waits longer than kLockWait fails and changes nothing.
    platform::MaybeError Edit(const std::function<std::string(std::string_view text)>& change);

private:
    std::string path_;
};

} // namespace velo::core
