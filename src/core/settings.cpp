#include "settings.h"

#include "platform/file.h"
#include "platform/lock.h"
#include "platform/path.h"
#include "profile.h"

namespace velo::core {

std::string settingsPathIn(std::string_view folder) {
    return platform::joinNative(folder, kSettingsFileName);
}

SettingsRead SettingsFile::ReadINI(std::string_view section, std::string_view key) const {
    platform::FileRead file = platform::readTextFile(path_);
    switch (file.status) {
    case platform::FileRead::Status::Ok:
        return {profileGet(file.text, section, key).value_or(std::string()), std::nullopt};
    case platform::FileRead::Status::Absent:
        return {};
    case platform::FileRead::Status::Failed:
        break;
    }
    return {std::string(), std::move(file.error)};
}

SettingsRead SettingsFile::ReadAll() const {
    platform::FileRead file = platform::readTextFile(path_);
    if (file.status == platform::FileRead::Status::Failed) {
        return {std::string(), std::move(file.error)};
    }
    return {std::move(file.text), std::nullopt};
}

platform::MaybeError SettingsFile::WriteINI(std::string_view section, std::string_view key,
                                            std::string_view value) {
    return Edit([&](std::string_view text) { return profileSet(text, section, key, value); });
}

platform::MaybeError
SettingsFile::Edit(const std::function<std::string(std::string_view text)>& change) {
    // Held from the read to the rename: another launcher's edit in between would be lost.
    platform::FileLock lock;
    if (auto error = lock.acquire(platform::lockFileFor(path_), kLockWait)) {
        return platform::Error{path_, error->reason == platform::kLockedByAnother
                                          ? "another program kept it locked for 2 s; "
                                            "nothing was changed"
                                          : error->reason};
    }
    platform::FileRead file = platform::readTextFile(path_);
    // Writing over a file that could not be read would throw its other entries away.
    if (file.status == platform::FileRead::Status::Failed) {
        return std::move(file.error);
    }
    return platform::writeTextFileAtomic(path_, change(file.text));
}

} // namespace velo::core
