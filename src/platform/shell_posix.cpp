#include "shell.h"
#include "spawn_posix.h"

namespace velo::platform {

bool shellOpen(const std::string& address) {
    return !spawnDetached("/usr/bin/xdg-open", {address}).has_value();
}

} // namespace velo::platform
