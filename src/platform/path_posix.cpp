#include "path.h"

#include <algorithm>
#include <climits>
#include <unistd.h>

namespace velo::platform {

std::string programDirectory() {
    std::string buffer(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0) {
        char* cwd = ::getcwd(nullptr, 0);
        std::string here = cwd != nullptr ? cwd : ".";
        ::free(cwd);
        return here;
    }
    buffer.resize(static_cast<std::size_t>(length));
    const std::size_t slash = buffer.rfind('/');
    return slash == 0 ? std::string("/") : buffer.substr(0, slash);
}

std::string joinNative(std::string_view dir, std::string_view name) {
    std::string joined(dir);
    joined += '/';
    joined += name;
    return joined;
}

std::string nativePath(std::string_view composed) {
    std::string path(composed);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace velo::platform
