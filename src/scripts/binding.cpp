#include "binding.h"

namespace velo::scripts {

std::string bindingLine(std::string_view key, std::string_view command) {
    std::string line;
    line.reserve(key.size() + command.size() + 10);
    line.append("bind ").append(key).append(" \"").append(command).append("\"").append(kLineEnd);
    return line;
}

} // namespace velo::scripts
